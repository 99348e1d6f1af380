#!/usr/bin/env bash
# Builds zop and runs the whole test suite: as Windows programs under Wine,
# natively on Linux with g++ (with the comparison of the two builds' contract
# transcripts) and with clang, on Linux with AddressSanitizer and
# UndefinedBehaviorSanitizer, the thread programs with ThreadSanitizer, every
# fuzz target for 20 s, and the release packages installed and used; the
# 32-bit Windows build is compiled and linked.  Exits non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh all || exit 1

jobs=$(nproc 2>/dev/null || echo 2)
passed=0
failed=0
status=0

run_suite() {
  local preset=$1
  echo "=== $preset ==="
  local tests=ON
  [ "$preset" = mingw32 ] && tests=OFF
  if ! cmake --preset "$preset" -DZOP_BUILD_TESTS=$tests >"build-$preset.log" 2>&1 ||
     ! cmake --build --preset "$preset" -j "$jobs" >>"build-$preset.log" 2>&1; then
    cat "build-$preset.log"
    echo "build of $preset failed"
    failed=$((failed + 1))
    status=1
    return
  fi
  rm -f "build-$preset.log"
  [ "$preset" = mingw32 ] && { echo "mingw32: zop0.1.dll built and linked"; return; }
  local out
  out=$(ctest --preset "$preset" -j "$jobs" 2>&1)
  local rc=$?
  echo "$out"
  local line
  line=$(echo "$out" | grep -E '[0-9]+ tests failed out of [0-9]+' | tail -1)
  if [ -n "$line" ]; then
    local f t
    f=$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/')
    t=$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/')
    passed=$((passed + t - f))
    failed=$((failed + f))
  else
    failed=$((failed + 1))
  fi
  [ $rc -eq 0 ] || status=1
}

# The Windows builds come first: the Linux suite compares its contract
# transcript with the Windows build's (tests/transcript/compare.sh).
export ZOP_REQUIRE_DIFFERENTIAL=1
for preset in mingw64 mingw32 linux linux-clang linux-asan linux-tsan; do
  run_suite "$preset"
done

# Fuzzing: every libFuzzer target for 20 s over a fresh copy of its seeds
# (scripts/fuzz.sh); a finding fails the run and its input stays in
# build/linux-fuzz/findings/.
echo "=== linux-fuzz ==="
if bash scripts/fuzz.sh all 20; then passed=$((passed + 1)); else failed=$((failed + 1)); status=1; fi

# The release packages (scripts/package.sh: the Debian ones from a tree of
# their own, the Windows archive from the mingw64 tree above), installed and
# used by a program outside the tree.
echo "=== packages ==="
if bash scripts/package.sh >build-packages.log 2>&1 &&
   bash tests/check_packages.sh . build/packages >>build-packages.log 2>&1; then
  rm -f build-packages.log
  echo "packages: passed"
  passed=$((passed + 1))
else
  cat build-packages.log
  echo "packages: failed"
  failed=$((failed + 1))
  status=1
fi

echo
echo "zop: $passed passed, $failed failed"
exit $status
