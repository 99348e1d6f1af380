#!/usr/bin/env bash
# Runs a Windows executable under 64-bit Wine with a private prefix that
# lives in the build tree next to the executable's bin/ folder (or in
# $ZOP_WINEPREFIX), so tests never touch the user's own ~/.wine.
set -euo pipefail
exe=$1
shift
if [ -z "${ZOP_WINEPREFIX:-}" ]; then
  bindir=$(cd "$(dirname "$exe")" && pwd)
  ZOP_WINEPREFIX="$(dirname "$bindir")/wineprefix"
fi
export WINEPREFIX="$ZOP_WINEPREFIX"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
loader=/usr/lib/wine/wine64
[ -x "$loader" ] || loader=$(command -v wine64 || command -v wine)
mkdir -p "$WINEPREFIX"
# The first start creates the prefix; parallel tests wait for one another.
if [ ! -f "$WINEPREFIX/.zop-ready" ]; then
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.zop-ready" ]; then
      "$loader" wineboot --init >/dev/null 2>&1 || true
      wineserver -w 2>/dev/null || true
      touch "$WINEPREFIX/.zop-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi
exec "$loader" "$exe" "$@"
