#!/bin/sh
# Runs one Windows program in the suite's prefix, without a display.
#   wine_run.sh <path file> [--out <folder>] <program.exe> [arguments...]
# With --out, <folder> is emptied (created) first. Exit code: the program's.
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
export WINEPREFIX
export WINEDEBUG=-all
unset DISPLAY WAYLAND_DISPLAY
exec wine "$@"
