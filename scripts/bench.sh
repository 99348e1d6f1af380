#!/usr/bin/env bash
# Builds the benchmarks (optimised, Linux) and runs them.  Installs the peer
# libraries they compare against.  Usage: bench.sh [benchmark-name-regex]
# or bench.sh --summary (one table of zop, best peer, ratio and floor).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh demo
pkgs=(libbenchmark-dev)
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
if [ "${1:-}" = --summary ]; then
  # One run of every workload, one table (the thread benchmark has its own
  # notes in docs/thread.md).
  exec python3 scripts/bench_summary.py build/bench/bin
fi
for b in build/bench/bin/*_bench; do
  [ -x "$b" ] || continue
  if [ $# -gt 0 ] && ! [[ "$(basename "$b")" =~ $1 ]]; then continue; fi
  echo "=== $(basename "$b") ==="
  "$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
done
