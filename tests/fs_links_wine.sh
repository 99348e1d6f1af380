#!/usr/bin/env bash
# Symbolic-link safety of Directory::remove_tree under Wine: prepares a tree
# holding Linux symbolic links (Wine cannot make them itself), lets the
# Windows test program remove it, then checks that the links' targets are
# untouched.   fs_links_wine.sh WINE_RUNNER FS_TEST_EXE
set -euo pipefail
runner=$1
exe=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/outside/keep" "$work/tree/inner"
echo precious > "$work/outside/keep/precious.txt"
ln -s "$work/outside" "$work/tree/inner/dirlink"
# No link to a file: Wine 8 presents one as the plain file it points to
# (no reparse bit) and its DeleteFileW deletes the target, so no Windows
# program under Wine can tell it from a file.  Real Windows file links are
# reparse points and are removed as links.
echo data > "$work/tree/inner/plain.txt"
# Wine shows the Linux root as drive Z:.
export ZOP_PREPARED_LINK_TREE="Z:${work//\//\\}\\tree"
"$runner" "$exe" --gtest_filter=Directory.RemoveTreeOfPreparedLinks
[ ! -e "$work/tree/inner/plain.txt" ] || [ -L "$work/tree/inner/dirlink" ] ||
  { echo "the removal stopped before reaching any link"; exit 1; }
[ -f "$work/outside/keep/precious.txt" ] || { echo "a link's target directory lost its contents"; exit 1; }
echo "left behind (Wine cannot delete Linux links):"; find "$work/tree" 2>/dev/null || true
echo "targets intact"
