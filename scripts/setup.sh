#!/usr/bin/env bash
# Installs the Debian packages that building zop needs, skipping those that
# are already there.  Usage: setup.sh [demo|fuzz|docs|all]
set -euo pipefail
want=(cmake ninja-build g++ make pkg-config)
if [ "${1:-all}" = all ]; then
  # tzdata: the zone runs of the time tests set TZ to zones of the tz database.
  want+=(googletest binutils g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 wine tzdata)
  # clang: the suite also builds with clang++ (the linux-clang preset).
  # python3: the comparison of the two builds' transcripts.
  want+=(clang python3)
fi
# clang and its libFuzzer runtime, for the fuzz targets (scripts/fuzz.sh).
case "${1:-all}" in all|fuzz) want+=(clang libclang-rt-14-dev) ;; esac
# doxygen, for the API reference (scripts/docs.sh); not part of the tests.
case "${1:-all}" in docs) want+=(doxygen) ;; esac
missing=()
for p in "${want[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
