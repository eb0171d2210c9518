#!/bin/sh
# The Wine probe and the skips it causes, against stand-in wines, so that the
# behaviour on a machine that cannot run 32-bit programs is checked on every
# machine:
#   probe_test.sh <scripts folder> <check_package.sh> [<wine_checks program>]
# A stand-in that fails as the kernel does ("Exec format error") must turn the
# prefix setup, every program run under Wine, the package checks under Wine
# and the Wine checks into skips (77) with the reason, running nothing; a
# stand-in that fails in any other way must fail the probe and the setup.
set -u
scripts=$1
check_package=$2
wine_checks=${3:-}
work=$(mktemp -d "${TMPDIR:-/tmp}/cs-probe-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

# expect <name> <status> <text the output must hold> <command...>
expect() {
    name=$1 want=$2 text=$3
    shift 3
    out=$("$@" 2>&1)
    got=$?
    if [ "$got" -ne "$want" ]; then
        fail "$name: status $got, expected $want; output:"
        printf '%s\n' "$out"
    elif ! printf '%s\n' "$out" | grep -qF -- "$text"; then
        fail "$name: the output lacks \"$text\":"
        printf '%s\n' "$out"
    else
        echo "ok: $name"
    fi
}

# The stand-ins: each records that it was run.
standin() {
    cat >"$work/$1" <<EOF
#!/bin/sh
echo "\$*" >>"$work/$1.calls"
$2
EOF
    chmod +x "$work/$1"
}
standin no32bit 'echo "/usr/bin/wine: 12: exec: /usr/lib/wine/wine: Exec format error" >&2; exit 2'
standin broken 'echo "wine: could not load kernel32.dll, status c0000135" >&2; exit 1'
standin working 'echo "wine-8.0 (Debian 8.0~repack-4)"; exit 0'
# Hangs on its first call only, after printing half a line; then works.
standin hangs_once 'if [ "$(wc -l <"$0.calls")" -eq 1 ]; then echo partial; exec sleep 30; fi
echo "drawn"; exit 3'
standin hangs 'exec sleep 30'

reason="this machine cannot execute 32-bit programs, so ContactScope.dll was not run under Wine"

# The probe itself.
CS_WINE=$work/working expect "probe, working wine" 0 "Wine runs 32-bit programs here: wine-8.0" \
    "$scripts/wine_probe.sh" "$work/probe-working.txt"
grep -q "^can run 32-bit programs (wine-8.0" "$work/probe-working.txt" ||
    fail "working wine: status file says $(cat "$work/probe-working.txt")"
CS_WINE=$work/broken expect "probe, broken wine" 1 "could not load kernel32.dll" \
    "$scripts/wine_probe.sh" "$work/probe-broken.txt"
grep -q "^wine failed: status 1" "$work/probe-broken.txt" ||
    fail "broken wine: status file says $(cat "$work/probe-broken.txt")"
CS_WINE=$work/no32bit expect "probe, no 32-bit support" 77 "SKIPPED: $reason" \
    "$scripts/wine_probe.sh" "$work/probe.txt"
grep -q "^cannot run 32-bit programs: .*Exec format error" "$work/probe.txt" ||
    fail "no 32-bit support: status file says $(cat "$work/probe.txt")"

# What follows the probe's verdict.
CS_WINE=$work/broken expect "prefix setup after a failed probe" 1 "the Wine probe failed" \
    "$scripts/wine_prefix.sh" setup "$work/prefix-broken.path" "$work/probe-broken.txt"
expect "prefix setup without 32-bit support" 77 "SKIPPED: $reason" \
    "$scripts/wine_prefix.sh" setup "$work/prefix.path" "$work/probe.txt"
mkdir -p "$work/out"
: >"$work/out/stale.png"
CS_WINE=$work/no32bit expect "a program under Wine" 77 "SKIPPED: $reason" \
    "$scripts/wine_run.sh" "$work/prefix.path" --out "$work/out" program.exe -b head-on
[ -e "$work/out/stale.png" ] && fail "a skipped run kept the output of an earlier one for the checks"
for check in preview paths double-click workbench broken; do
    CS_WINE=$work/no32bit expect "package check $check under Wine" 77 "SKIPPED: $reason" \
        "$check_package" "$check" "$work/no-package.path" "$work/prefix.path" /dev/null
done
if [ -n "$wine_checks" ]; then
    # GoogleTest skips every test when its environment skips; CTest reports
    # them as skipped by the reason they print.
    out=$(CS_WINE_PROBE_FILE=$work/probe.txt "$wine_checks" 2>&1)
    status=$?
    if [ "$status" -ne 0 ] || printf '%s\n' "$out" | grep -q '^\[ RUN      \]' ||
        ! printf '%s\n' "$out" | grep -qF "$reason"; then
        fail "the Wine checks without 32-bit support: status $status, or a check ran, or no reason"
        printf '%s\n' "$out" | tail -n 20
    else
        echo "ok: the Wine checks, none run, with the reason"
    fi
fi
# A program that hangs at start-up is stopped at the limit and run once more;
# only the finished run's output is passed on. Twice hung is a failure.
echo "$work/prefix" >"$work/hang.path"
CS_WINE=$work/hangs_once expect "a hang, run again" 3 "attempt 1 of 2" \
    "$scripts/wine_run.sh" "$work/hang.path" --out "$work/out" --limit 1 program.exe
out=$(CS_WINE=$work/working "$scripts/wine_run.sh" "$work/hang.path" --limit 1 program.exe 2>/dev/null)
[ "$out" = "wine-8.0 (Debian 8.0~repack-4)" ] || fail "a finished run's output: $out"
out=$(: >"$work/hangs_once.calls"; CS_WINE=$work/hangs_once "$scripts/wine_run.sh" "$work/hang.path" \
    --limit 1 program.exe 2>/dev/null)
[ "$out" = "drawn" ] || fail "a hung attempt's output was passed on: $out"
CS_WINE=$work/hangs expect "two hangs" 124 "attempt 2 of 2" \
    "$scripts/wine_run.sh" "$work/hang.path" --limit 1 program.exe

expect "prefix cleanup without a prefix" 0 "" \
    "$scripts/wine_prefix.sh" cleanup "$work/prefix.path"
[ -e "$work/prefix.path" ] && fail "cleanup left the path file"
[ -e "$work/no32bit.calls" ] && [ "$(wc -l <"$work/no32bit.calls")" -ne 1 ] &&
    fail "only the probe may call wine without 32-bit support; calls: $(cat "$work/no32bit.calls")"

if [ "$failures" -ne 0 ]; then
    echo "$failures failed"
    exit 1
fi
echo "all probe checks passed"
