#!/usr/bin/env bash
# Builds the linux-release preset and runs every benchmark of the project
# (the one `bench` program) once, then prints one table: the traffic cycle's
# cost per aircraft from 10 to 10,000 aircraft with its scaling ratio, the
# draw that finds nothing new, frames of 10 and 100 aircraft per display, and
# the update with and without a traffic cycle, and the workbench's script
# evaluation per tick for the kit's TCAS gauge.
#
#   scripts/bench.sh                 all benchmarks, 3 repetitions, medians
#   scripts/bench.sh 1               a single repetition (quicker, noisier)
#
# All ratios come from the same run: the machine is shared and its speed
# drifts between runs. The raw results stay in build/linux-release/bench.json.
set -euo pipefail
cd "$(dirname "$0")/.."

repetitions="${1:-3}"
cmake --preset linux-release >/dev/null
cmake --build --preset linux-release --target bench >/dev/null

out=build/linux-release/bench.json
build/linux-release/bench/bench --benchmark_repetitions="$repetitions" \
  --benchmark_report_aggregates_only="$([ "$repetitions" -gt 1 ] && echo true || echo false)" \
  --benchmark_format=json --benchmark_out="$out" --benchmark_out_format=json >/dev/null

python3 - "$out" <<'EOF'
import json, sys

with open(sys.argv[1]) as f:
    report = json.load(f)

# One value per benchmark: the median over the repetitions, or the only run.
runs = {}
for b in report["benchmarks"]:
    if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
        continue
    runs[b.get("run_name", b["name"])] = b

def nanos(b):
    scale = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}[b.get("time_unit", "ns")]
    return b["real_time"] * scale

def find(name):
    return runs.get(name)

def fmt_time(ns):
    if ns is None:
        return "missing"
    if ns >= 1e6:
        return f"{ns / 1e6:.2f} ms"
    if ns >= 1e3:
        return f"{ns / 1e3:.2f} us"
    return f"{ns:.0f} ns"

rows = []
def row(what, ns, note=""):
    rows.append((what, fmt_time(ns), note))

ctx = report.get("context", {})
print(f"bench run {ctx.get('date', '')}, {ctx.get('num_cpus', '?')} CPUs at "
      f"{ctx.get('mhz_per_cpu', '?')} MHz, {ctx.get('library_build_type', '')} benchmark library")

counts = [10, 100, 1000, 10000]
for mode, label in ((0, "full data"), (1, "position only")):
    per = {}
    for n in counts:
        cycle = find(f"TrafficCycle/aircraft:{n}/positionOnly:{mode}")
        host = find(f"TrafficHostCallsOnly/aircraft:{n}/positionOnly:{mode}")
        trivial = find(f"TrafficCycleTrivialHost/aircraft:{n}/positionOnly:{mode}")
        if cycle is None:
            row(f"traffic cycle, {n} aircraft, {label}", None)
            continue
        per[n] = nanos(cycle) / n
        note = f"{fmt_time(per[n])} per aircraft"
        if host is not None:
            note += f"; host reads {100.0 * nanos(host) / nanos(cycle):.0f}%"
        if trivial is not None:
            note += f"; module alone {fmt_time(nanos(trivial) / n)} per aircraft"
        row(f"traffic cycle, {n} aircraft, {label}", nanos(cycle), note)
    if 10 in per and 10000 in per:
        rows.append((f"  scaling 10 -> 10,000 aircraft ({label})",
                     f"x{per[10000] / per[10]:.2f}", "per-aircraft cost ratio (1.0 = linear)"))

for kind, label in ((1, "TCAS"), (0, "radar")):
    b = find(f"BM_DrawWithoutRedraw/{kind}")
    row(f"draw without redraw, {label}", nanos(b) if b else None,
        "parameter reads and hand-over only")

draw = find("BM_DrawWithoutRedraw/1")
for arg, label in ((0, "as run: Update once a second"), (1, "every script every tick")):
    b = find(f"BM_KitTcasScriptsPerTick/{arg}")
    note = label
    if b and draw:
        note += f"; x{nanos(b) / nanos(draw):.2f} the TCAS draw without redraw"
    row("kit TCAS gauge scripts per tick (workbench)", nanos(b) if b else None, note)

b = find("BM_DesignerScriptsPerTick")
row("designer-style display scripts per tick (workbench)", nanos(b) if b else None,
    (f"x{nanos(b) / nanos(draw):.2f} the TCAS draw without redraw; " if b and draw else "") +
    "macros, case, text operators, clock, given bus voltage; every script every tick")

b = find("BM_KitWindowTick")
row("kit window, one whole tick (workbench)", nanos(b) if b else None,
    (f"x{nanos(b) / nanos(draw):.1f} the TCAS draw without redraw; " if b and draw else "") +
    "both gauges' scripts, module update and draw, 100 aircraft")
b = find("BM_KitWindowPicture")
row("kit window, one picture (workbench)", nanos(b) if b else None,
    (f"x{nanos(b) / nanos(draw):.1f} the TCAS draw without redraw; " if b and draw else "") +
    "drawing commands and their replay, Cairo")

frame100 = find("BM_DrawFrame100Aircraft/1")
b = find("BM_BusyWindowPicture")
row("busy window of moving parts, one picture (workbench)", nanos(b) if b else None,
    (f"x{nanos(b) / nanos(frame100):.1f} the TCAS draw with frame, 100 aircraft; "
     if b and frame100 else "") + "10 gauges: 20 needles, 30 masked drums, Cairo")

for tcas, label in ((1, "TCAS"), (0, "radar")):
    for n in (10, 100):
        b = find(f"BM_Frame/tcas:{tcas}/px:256/aircraft:{n}/pads:0")
        row(f"frame, {n} aircraft, {label}, 256 px, Cairo", nanos(b) if b else None)
    b = find(f"BM_Frame/tcas:{tcas}/px:256/aircraft:0/pads:0")
    if b:
        row(f"frame, empty, {label}, 256 px, Cairo", nanos(b), "background only")

for kind, label in ((1, "TCAS"), (0, "radar")):
    b = find(f"BM_DrawFrame100Aircraft/{kind}")
    row(f"draw with frame, 100 aircraft, {label}", nanos(b) if b else None,
        "whole draw call: gather, hand-over, frame")

b = find("BM_UpdateWithTrafficCycle100Aircraft")
row("update with a traffic cycle, 100 aircraft", nanos(b) if b else None)
b = find("BM_UpdateThrottled")
row("update without a cycle (throttled)", nanos(b) if b else None, "tick refresh only")

width = max(len(r[0]) for r in rows)
print(f"{'benchmark':<{width}}  {'time':>10}  notes")
for what, value, note in rows:
    print(f"{what:<{width}}  {value:>10}  {note}")
EOF

# The Windows build's workbench under Wine, when it is built and this machine
# runs 32-bit programs: its own timing loops (no Google Benchmark for MinGW),
# ratios from its one run.
win=build/windows/tests/wine/windows/window_bench.exe
echo
if [ ! -f "$win" ]; then
  echo "Windows: not measured ($win is not built: cmake --build --preset windows --target window_bench)"
elif ! wine --version >/dev/null 2>&1; then
  echo "Windows: not measured (this machine cannot run Wine's 32-bit loader)"
else
  prefix=$(mktemp -d "${TMPDIR:-/tmp}/cs-bench-prefix.XXXXXX")
  export WINEPREFIX=$prefix/pfx WINEDEBUG=-all
  unset DISPLAY WAYLAND_DISPLAY
  WINEARCH=win32 wineboot --init >/dev/null 2>&1
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  wine "$win" "Z:$PWD/docs/kit" || echo "Windows: window_bench.exe failed"
  wineserver -k 2>/dev/null || true
  rm -rf "$prefix"
fi
