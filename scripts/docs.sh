#!/usr/bin/env bash
# Builds the HTML API reference of the public headers with Doxygen (preset
# docs, docs/Doxyfile.in) into build/docs/html.  Installs doxygen first when
# it is missing.  Any Doxygen warning fails the run: a public name without
# documentation, a broken reference, a malformed comment.
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh docs || exit 1

log=build-docs.log
# Doxygen repeats a warning for each place that lists the name (its class or
# namespace, its group, its file); each is counted once.
count_warnings() { grep -E ': (warning|error):' "$log" | sort -u | wc -l; }
if ! nice -n 10 cmake --preset docs >"$log" 2>&1 ||
   ! nice -n 10 cmake --build --preset docs >>"$log" 2>&1; then
  cat "$log"
  echo "docs: build failed, $(count_warnings) Doxygen warnings (log: $log)"
  exit 1
fi
warnings=$(count_warnings)
rm -f "$log"
echo "docs: $warnings Doxygen warnings; the API reference is $PWD/build/docs/html/index.html"
