#!/bin/sh
# Runs one Windows program in the suite's prefix, without a display.
#   wine_run.sh <path file> [--out <folder>] <program.exe> [arguments...]
# With --out, <folder> is emptied (created) first. Exit code: the program's,
# or 77 (skipped) on a machine that cannot run 32-bit programs at all.
set -eu
pathfile=$1
shift
if [ "${1:-}" = "--out" ]; then
    rm -rf "$2"
    mkdir -p "$2"
    shift 2
fi
if [ ! -f "$pathfile" ]; then
    echo "no Wine prefix: the fixture wine.prefix.setup did not run"
    exit 1
fi
WINEPREFIX=$(cat "$pathfile")
case "$WINEPREFIX" in
"cannot run 32-bit programs"*)
    echo "SKIPPED: this machine cannot execute 32-bit programs, so ContactScope.dll was not run under Wine"
    exit 77
    ;;
esac
export WINEPREFIX
export WINEDEBUG=-all
unset DISPLAY WAYLAND_DISPLAY
exec "${CS_WINE:-wine}" "$@"
