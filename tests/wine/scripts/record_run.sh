#!/bin/sh
# Runs a command into a fresh folder, keeping what it printed and its exit
# status for the checks to compare (status.txt, stdout.txt, stderr.txt).
#   record_run.sh <folder> <command> [arguments...]
# Exits 0 whatever the command's status, but 77 (skipped) when the command
# was skipped because this machine cannot run 32-bit programs.
set -u
out=$1
shift
rm -rf "$out"
mkdir -p "$out"
"$@" >"$out/stdout.txt" 2>"$out/stderr.txt"
status=$?
echo "$status" >"$out/status.txt"
if [ "$status" -eq 77 ] && grep -q "^SKIPPED: this machine cannot execute 32-bit" "$out/stdout.txt"; then
    cat "$out/stdout.txt"
    exit 77
fi
echo "status $status"
cat "$out/stderr.txt"
exit 0
