#!/usr/bin/env bash
# Installs a built tree into a staging prefix, then builds and runs a program
# outside the tree against it: with CMake's find_package, and on Linux also
# with pkg-config.
#   check_install.sh BUILD_DIR SOURCE_DIR [TOOLCHAIN_FILE]
set -euo pipefail
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
toolchain=${3:-}
stage=$build/install-check/prefix
work=$build/install-check/consumer
rm -rf "$build/install-check"
cmake --install "$build" --prefix "$stage" >/dev/null
args=(-S "$src/tests/consumer" -B "$work" -G Ninja -DCMAKE_PREFIX_PATH="$stage"
      -Dzop_DIR="$stage/lib/cmake/zop")
[ -n "$toolchain" ] && args+=(-DCMAKE_TOOLCHAIN_FILE="$toolchain")
cmake "${args[@]}" >/dev/null
cmake --build "$work" >/dev/null
if [ -n "$toolchain" ]; then
  cp "$stage"/bin/*.dll "$work/"
  ZOP_WINEPREFIX="$build/wineprefix" "$src/cmake/wine-run.sh" "$work/consumer.exe"
else
  LD_LIBRARY_PATH="$stage/lib" "$work/consumer"
  # The pkg-config file describes the same library.
  export PKG_CONFIG_PATH="$stage/lib/pkgconfig"
  g++ -std=c++17 "$src/tests/consumer/main.cpp" $(pkg-config --cflags --libs zop) -o "$work/consumer-pc"
  LD_LIBRARY_PATH="$stage/lib" "$work/consumer-pc"
fi
