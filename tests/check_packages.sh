#!/usr/bin/env bash
# Uses the packages of scripts/package.sh as their users do, with the program
# of check_install.sh: installs the Debian packages with dpkg into a scratch
# root (the system itself is left alone; the root has no libc, so dpkg
# reports the run-time package's dependencies and only that of -dev is
# enforced), and unpacks the Windows SDK archive and runs the program under
# Wine.
#   check_packages.sh SOURCE_DIR PACKAGE_DIR
set -euo pipefail
src=$(cd "$1" && pwd)
pkgs=$(cd "$2" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# -dev asks for the run-time package of its own version, and dpkg finds it.
dpkg-deb -f "$pkgs"/libzop-dev_*.deb Depends | grep -qx "libzop[0-9.]* (= $(dpkg-deb -f "$pkgs"/libzop-dev_*.deb Version))"
mkdir -p "$tmp/root/var/lib/dpkg/updates" && touch "$tmp/root/var/lib/dpkg/status"
dpkg --root="$tmp/root" --force-not-root --force-depends -i "$pkgs"/libzop[0-9]*.deb >/dev/null
dpkg --root="$tmp/root" --force-not-root -i "$pkgs"/libzop-dev_*.deb >/dev/null
ZOP_INSTALLED_PREFIX=$tmp/root/usr bash "$src/tests/check_install.sh" "$src/build/deb" "$src"
cmake -E chdir "$tmp" cmake -E tar xf "$pkgs"/zop-*-win64.zip
ZOP_INSTALLED_PREFIX=$(echo "$tmp"/zop-*-win64) bash "$src/tests/check_install.sh" "$src/build/mingw64" "$src" \
  "$src/cmake/toolchain-mingw64.cmake"
