#!/usr/bin/env bash
# Installs a built tree into a staging prefix, then builds and runs a program
# outside the tree against it: with CMake's find_package, and on Linux also
# with pkg-config.  The CMake package and the pkg-config file must both name
# the version of project() in CMakeLists.txt.  With ZOP_INSTALLED_PREFIX set,
# the program is built against that prefix (an unpacked package) instead.
#   check_install.sh BUILD_DIR SOURCE_DIR [TOOLCHAIN_FILE]
set -euo pipefail
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
toolchain=${3:-}
version=$(sed -n 's/^project(zop VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
stage=${ZOP_INSTALLED_PREFIX:-$build/install-check/prefix}
work=$build/install-check/consumer
rm -rf "$build/install-check"
[ -n "${ZOP_INSTALLED_PREFIX:-}" ] || cmake --install "$build" --prefix "$stage" >/dev/null
# lib/, or lib/<multiarch>/ as in the Debian packages
lib=$(dirname "$(dirname "$(find "$stage" -name zop.pc)")")
args=(-S "$src/tests/consumer" -B "$work" -G Ninja -DCMAKE_PREFIX_PATH="$stage"
      -Dzop_DIR="$lib/cmake/zop" -DZOP_EXPECTED_VERSION="$version")
[ -n "$toolchain" ] && args+=(-DCMAKE_TOOLCHAIN_FILE="$toolchain")
cmake "${args[@]}" >/dev/null
cmake --build "$work" >/dev/null
export PKG_CONFIG_PATH="$lib/pkgconfig"
[ "$(pkg-config --modversion zop)" = "$version" ] || { echo "zop.pc: not version $version"; exit 1; }
if [ -n "$toolchain" ]; then
  cp "$stage"/bin/*.dll "$work/"
  ZOP_WINEPREFIX="$build/wineprefix" "$src/cmake/wine-run.sh" "$work/consumer.exe"
else
  LD_LIBRARY_PATH="$lib" "$work/consumer"
  # The pkg-config file describes the same library.
  g++ -std=c++17 "$src/tests/consumer/main.cpp" $(pkg-config --cflags --libs zop) -o "$work/consumer-pc"
  LD_LIBRARY_PATH="$lib" "$work/consumer-pc"
fi
