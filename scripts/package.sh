#!/usr/bin/env bash
# Makes the release packages with CPack (cmake/package.cmake) into
# build/packages/:
#  - the Debian packages libzop<MAJOR>.<MINOR> and libzop-dev, checked with
#    lintian, from a tree of their own (build/deb) configured the way Debian
#    builds its packages: installed under /usr, so the library goes to the
#    multiarch directory, and compiled with dpkg-buildflags's flags;
#  - the Windows SDK archive zop-<version>-win64.zip from the mingw64
#    preset's tree, so after scripts/test.sh that is not compiled again (a
#    tree that does not exist yet is configured without tests and examples).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh all
# dpkg-shlibdeps (dpkg-dev) and file find the run-time dependencies.
missing=()
for p in lintian dpkg-dev file; do dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
jobs=$(nproc 2>/dev/null || echo 2)
out=build/packages
rm -rf "$out"
mkdir -p "$out"

# Debian's build flags with all hardening (also -z now); CMake has no
# CPPFLAGS, so they join the compiler's flags.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build/deb -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_SHARED_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DZOP_BUILD_TESTS=OFF -DZOP_BUILD_EXAMPLES=OFF >/dev/null
cmake --build build/deb -j "$jobs" >/dev/null

if [ -f build/mingw64/CMakeCache.txt ]; then
  cmake --preset mingw64 >/dev/null
else
  cmake --preset mingw64 -DZOP_BUILD_TESTS=OFF -DZOP_BUILD_EXAMPLES=OFF >/dev/null
fi
cmake --build --preset mingw64 -j "$jobs" >/dev/null

for tree in build/deb build/mingw64; do
  rm -rf "$tree/packages"
  (cd "$tree" && cpack >cpack.log 2>&1) || { cat "$tree/cpack.log"; exit 1; }
  cp "$tree"/packages/*.* "$out/"
done
ls "$out"
# Debian's own checks; any error or warning fails the script.
lintian --fail-on error,warning "$out"/*.deb
