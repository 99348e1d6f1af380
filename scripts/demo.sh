#!/usr/bin/env bash
# Builds the library and runs its demo program on Linux.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh demo
cmake --preset linux -DZOP_BUILD_TESTS=OFF >/dev/null
cmake --build --preset linux --target zop_demo
./build/linux/bin/zop_demo
