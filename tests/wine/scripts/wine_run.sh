#!/bin/sh
# Runs one Windows program in the suite's prefix, without a display.
#   wine_run.sh <path file> [--out <folder>] [--limit <seconds>] <program.exe> [arguments...]
# With --out, <folder> is emptied (created) first. Exit code: the program's,
# or 77 (skipped) on a machine that cannot run 32-bit programs at all.
#
# Wine on a loaded machine now and then leaves a process hanging at start-up
# (seen once in CI: a check that takes two seconds sat until CTest's
# timeout). A run still going after <seconds> (45 unless given) is stopped
# and, once, run again from the start. What a run prints is passed on when
# it ends, so a stopped attempt leaves nothing but a note on stderr that
# starts "wine_run.sh:"; a second hang fails with exit code 124.
set -eu
pathfile=$1
shift
out=
limit=45
while :; do
    case "${1:-}" in
    --out) out=$2; shift 2 ;;
    --limit) limit=$2; shift 2 ;;
    *) break ;;
    esac
done
if [ -n "$out" ]; then
    rm -rf "$out"
    mkdir -p "$out"
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

printed=$(mktemp -d "${TMPDIR:-/tmp}/cs-wine-run.XXXXXX")
trap 'rm -rf "$printed"' EXIT
for attempt in 1 2; do
    if [ "$attempt" -eq 2 ] && [ -n "$out" ]; then
        rm -rf "$out"
        mkdir -p "$out"
    fi
    status=0
    timeout -k 10 "$limit" "${CS_WINE:-wine}" "$@" >"$printed/stdout" 2>"$printed/stderr" ||
        status=$?
    # 124: stopped at the limit; 137: killed when it ignored the stop.
    if [ "$status" -ne 124 ] && [ "$status" -ne 137 ]; then
        cat "$printed/stdout"
        cat "$printed/stderr" >&2
        exit "$status"
    fi
    echo "wine_run.sh: $(basename "$1") was still running after $limit s under Wine and was stopped (attempt $attempt of 2)" >&2
done
exit 124
