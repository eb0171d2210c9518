#!/bin/sh
# Can this machine run 32-bit Windows programs through Wine at all?
#   wine_probe.sh <status file>
# Runs Wine's 32-bit loader (Debian's /usr/bin/wine starts the i386 one) and
# writes one line into <status file> for the Wine suite, the package check and
# test.sh to read:
#   "can run 32-bit programs (<wine version>)"      exit 0
#   "cannot run 32-bit programs: <what failed>"     exit 77 (CTest: skipped)
# Only the kernel's refusal of the 32-bit executable ("Exec format error") is
# a skip; any other failure of Wine is written as "wine failed: ..." and exits
# 1, so that a broken Wine still fails the suite. CS_WINE names another wine
# (the probe's own test points it at stand-ins).
set -u
status_file=$1
wine=${CS_WINE:-wine}
reason="this machine cannot execute 32-bit programs, so ContactScope.dll was not run under Wine"

mkdir -p "$(dirname "$status_file")"
output=$(WINEDEBUG=-all "$wine" --version 2>&1)
code=$?
first=$(printf '%s\n' "$output" | head -n 1)
if [ "$code" -eq 0 ]; then
    echo "can run 32-bit programs ($first)" >"$status_file"
    echo "Wine runs 32-bit programs here: $first"
    exit 0
fi
case "$output" in
*"Exec format error"*)
    detail=$(printf '%s\n' "$output" | grep -m 1 "Exec format error")
    echo "cannot run 32-bit programs: $detail" >"$status_file"
    echo "SKIPPED: $reason ($detail)"
    exit 77
    ;;
esac
echo "wine failed: status $code: $first" >"$status_file"
echo "FAILED: $wine --version exited with status $code:"
printf '%s\n' "$output"
exit 1
