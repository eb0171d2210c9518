#!/bin/sh
# The gauge reader's trees of the same files on Windows (under Wine) and on
# Linux, which must be identical.
#   compare_trees.sh <Wine path file> <gauge_tree.exe> <gauge_tree> <out folder> <file>...
set -u
pathfile=$1 windows=$2 linux=$3 out=$4
shift 4
scripts=$(dirname "$0")
mkdir -p "$out"
winfiles=
for f in "$@"; do
    winfiles="$winfiles Z:$f"
done
# shellcheck disable=SC2086 # one argument per file
"$scripts/wine_run.sh" "$pathfile" "$windows" $winfiles >"$out/trees-windows.txt"
status=$?
if [ "$status" -eq 77 ]; then
    cat "$out/trees-windows.txt"
    exit 77
fi
[ "$status" -eq 0 ] || { echo "gauge_tree.exe exited with $status"; exit 1; }
"$linux" "$@" >"$out/trees-linux.txt" || { echo "gauge_tree exited with $?"; exit 1; }
tr -d '\r' <"$out/trees-windows.txt" >"$out/trees-windows.lf.txt"
if ! diff -u "$out/trees-linux.txt" "$out/trees-windows.lf.txt"; then
    echo "FAILED: the gauge trees differ (- Linux, + Windows)"
    exit 1
fi
echo "$(grep -c '^file ' "$out/trees-linux.txt") files, $(wc -l <"$out/trees-linux.txt") lines: identical"
