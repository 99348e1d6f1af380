#!/usr/bin/env bash
# Runs the contract transcript natively and as a Windows program under
# Wine, and compares the two line by line.  A line may differ only when its
# key ("section key", the text before the tab) is listed in the allowed
# differences with a reason (a listed key ending in "*" covers every key
# that starts with the rest); a listed key that no longer covers any
# difference is reported too, so the list stays true.
#   compare.sh NATIVE_EXE WINDOWS_BUILD_DIR ALLOWED_FILE OUT_DIR
# Exits 77 (skipped) when the Windows build is missing, unless
# ZOP_REQUIRE_DIFFERENTIAL is set.
set -euo pipefail
native=$1 winbuild=$2 allowed=$3 out=$4
winexe="$winbuild/bin/contract_transcript.exe"
if [ ! -f "$winexe" ]; then
  echo "no Windows build at $winbuild"
  [ -n "${ZOP_REQUIRE_DIFFERENTIAL:-}" ] && exit 1
  exit 77
fi
mkdir -p "$out"
export TZ=UTC0 LC_ALL=C LANG=C
"$native" "$out/linux.txt"
# The Windows transcript depends on the Windows build alone: it is made
# again only when that build is newer.
win="$out/windows.txt"
if [ ! -f "$win" ] || [ "$winexe" -nt "$win" ] || [ "$winbuild/bin/zop0.1.dll" -nt "$win" ]; then
  "$(dirname "$0")/../../cmake/wine-run.sh" "$winexe" "Z:${out//\//\\}\\windows.tmp"
  mv "$out/windows.tmp" "$win"
fi
python3 - "$out/linux.txt" "$win" "$allowed" <<'PY'
import sys
def read(path):
    lines = {}
    for raw in open(path, encoding="utf-8", errors="replace"):
        key, _, answer = raw.rstrip("\n").partition("\t")
        lines[key] = answer
    return lines
linux, windows = read(sys.argv[1]), read(sys.argv[2])
allowed = {}
for raw in open(sys.argv[3], encoding="utf-8"):
    if raw.strip() and not raw.startswith("#"):
        key, _, reason = raw.rstrip("\n").partition("\t")
        allowed[key] = reason
def covers(entry, key):
    return key.startswith(entry[:-1]) if entry.endswith("*") else key == entry
bad, used, differing = 0, set(), 0
for key in sorted(set(linux) | set(windows)):
    a, b = linux.get(key, "<missing>"), windows.get(key, "<missing>")
    if a == b:
        continue
    differing += 1
    entries = [e for e in allowed if covers(e, key)]
    used.update(entries)
    if not entries:
        bad += 1
        print(f"DIFFERS {key}\n  linux:   {a}\n  windows: {b}")
for entry in sorted(set(allowed) - used):
    bad += 1
    print(f"LISTED BUT EQUAL {entry}")
print(f"{len(linux)} lines compared, {differing} differ as listed, {bad} problems")
sys.exit(1 if bad else 0)
PY
