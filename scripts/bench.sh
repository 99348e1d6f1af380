#!/usr/bin/env bash
# Builds the benchmarks (optimised, Linux) and runs them.  Installs the peer
# libraries they compare against.  Usage: bench.sh [benchmark-name-regex]
# or bench.sh --summary (one table of zop, best peer, ratio and floor).
# The text benchmark also runs self-timed (bench/text_selftimed.cpp), on
# Linux and as a Windows program under Wine, where wchar_t is 16 bits wide;
# the Windows program is built with the mingw64 preset's toolchain in
# build/bench-mingw64.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh demo
text=0
if [ $# -eq 0 ] || [ "$1" = --summary ] || [[ text_bench =~ $1 ]]; then text=1; fi
pkgs=(libbenchmark-dev)
[ $text -eq 1 ] && pkgs+=(g++-mingw-w64-x86-64 wine64 wine)
# Each benchmark's peers; see bench/CMakeLists.txt.
[ -f bench/peers.txt ] && mapfile -t -O ${#pkgs[@]} pkgs < <(grep -v '^#' bench/peers.txt)
missing=()
for p in "${pkgs[@]}"; do dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
cmake --preset bench >/dev/null
cmake --build --preset bench
windows=build/bench-mingw64/bin/text_selftimed.exe
if [ $text -eq 1 ]; then
  cmake --preset mingw64 -B build/bench-mingw64 -DCMAKE_BUILD_TYPE=Release -DZOP_BUILD_BENCH=ON \
    -DZOP_BUILD_TESTS=OFF -DZOP_BUILD_EXAMPLES=OFF >/dev/null
  cmake --build build/bench-mingw64 --target text_selftimed
fi
if [ "${1:-}" = --summary ]; then
  # One run of every workload, one table (the thread benchmark has its own
  # notes in docs/thread.md), and the self-timed text rows of both builds.
  exec python3 scripts/bench_summary.py build/bench/bin --wine "$windows"
fi
for b in build/bench/bin/*_bench; do
  [ -x "$b" ] || continue
  if [ $# -gt 0 ] && ! [[ "$(basename "$b")" =~ $1 ]]; then continue; fi
  echo "=== $(basename "$b") ==="
  "$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
done
if [ $text -eq 1 ]; then
  # zop alone on every instruction set the processor runs, beside memcpy:
  # GB/s of UTF-8, ns per code unit written.  Wine runs the Windows program
  # natively, in a prefix of its own (cmake/wine-run.sh; the first start
  # creates it).
  echo "=== text_selftimed (Linux) ==="
  build/bench/bin/text_selftimed
  echo "=== text_selftimed (Windows, under Wine) ==="
  cmake/wine-run.sh "$windows"
fi
