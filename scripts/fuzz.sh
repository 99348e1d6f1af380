#!/usr/bin/env bash
# Builds the libFuzzer targets (preset linux-fuzz, clang) and runs them.
#
#   fuzz.sh NAME SECONDS   runs fuzz_NAME for SECONDS at low priority; its
#                          corpus grows in build/linux-fuzz/corpus/NAME,
#                          seeded from fuzz/corpus/NAME
#   fuzz.sh all SECONDS    runs every target for SECONDS over a fresh copy
#                          of its seeds (the test command's stage)
#
# FUZZ_RUNS=N also ends each run after N inputs (-runs).
#
# A finding (a violated property, a sanitizer report, a crash, a timeout, an
# allocation past the limits) fails the run, and the input that caused it is
# kept as build/linux-fuzz/findings/NAME-*; replay it with
# build/linux-fuzz/bin/fuzz_NAME FILE.
set -uo pipefail
cd "$(dirname "$0")/.."
[ $# -eq 2 ] || { echo "usage: $0 NAME|all SECONDS" >&2; exit 2; }
which=$1
seconds=$2
bash scripts/setup.sh fuzz || exit 1

build=build/linux-fuzz
if ! cmake --preset linux-fuzz >build-linux-fuzz.log 2>&1 ||
   ! cmake --build --preset linux-fuzz -j "$(nproc 2>/dev/null || echo 2)" >>build-linux-fuzz.log 2>&1; then
  cat build-linux-fuzz.log
  echo "build of linux-fuzz failed"
  exit 1
fi
rm -f build-linux-fuzz.log
mkdir -p "$build/findings"

if [ "$which" = all ]; then
  names=$(ls fuzz/corpus)
else
  [ -d "fuzz/corpus/$which" ] || { echo "no target $which" >&2; exit 2; }
  names=$which
fi

status=0
for name in $names; do
  if [ "$which" = all ]; then
    corpus=$build/run/$name
    rm -rf "$corpus"
  else
    corpus=$build/corpus/$name
  fi
  mkdir -p "$corpus"
  cp -n fuzz/corpus/"$name"/* "$corpus"/
  log=$build/findings/$name.log
  # Ten seconds on one input is a hang; strings and tables are small,
  # so an allocation of 64 MiB is a failure too.  Inputs of up to 1 KiB
  # reach every state of these parsers and keep the runs fast.
  nice -n 10 "$build/bin/fuzz_$name" "$corpus" -max_total_time="$seconds" -timeout=10 -max_len=1024 \
    -rss_limit_mb=1024 -malloc_limit_mb=64 -print_final_stats=1 ${FUZZ_RUNS:+-runs=$FUZZ_RUNS} \
    -artifact_prefix="$build/findings/$name-" >"$log" 2>&1
  rc=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  if [ $rc -eq 0 ]; then
    echo "fuzz_$name: ${execs:-?} inputs in ${seconds} s, no finding"
    rm -f "$log"
  else
    tail -n 40 "$log"
    echo "fuzz_$name: FINDING after ${execs:-?} inputs (exit $rc); see $log and $build/findings/"
    status=1
  fi
done
exit $status
