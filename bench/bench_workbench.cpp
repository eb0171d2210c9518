// Cost of the gauge workbench's script evaluation per host tick for the kit's
// TCAS gauge: its Update script (range and sensitivity level, six property
// writes), its draw parameters, its elements and its tool-tip - everything a
// tick evaluates besides the module's own update and draw. Argument 0: the
// ticks as they come (Update once a second, as the kit asks); 1: every
// script on every tick. Compare with BM_DrawWithoutRedraw, the module's
// cheapest draw (scripts/bench.sh prints the ratio).
//
// BM_DesignerScriptsPerTick: the same for the designer-style navigation
// display of the workbench's fixtures, compared with the same draw.
//
// BM_KitWindowTick: the kit's window (the TCAS display and the annunciator,
// placed as its panel.cfg places them) for one whole host tick each: scripts,
// the module's update (a traffic cycle every 18th tick) and draw.
// BM_KitWindowPicture: one picture of that window, the gauges walked into
// drawing commands and the platform's replayer drawing them.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/BenchScenes.h"
#include "simhost/Canvas.h"
#include "tools/workbench/Compositor.h"
#include "tools/workbench/GaugeRuntime.h"
#include "tools/workbench/Replayer.h"

namespace {

void BM_KitTcasScriptsPerTick(benchmark::State& state) {
    const bool always = state.range(0) != 0;
    cs::bench::KitWindow window;
    if (!window.open(CS_SOURCE_DIR "/docs/kit")) {
        state.SkipWithError("the kit's gauges do not prepare");
        return;
    }
    cs::workbench::GaugeRuntime& tcas = *window.gauges[0];
    tcas.mouse(128.0, 100.0, true, window.d);  // hovering, so the tool-tip is read too
    for (int i = 0; i < 40; ++i) {             // two traffic cycles, frames drawn
        window.tick();
    }
    for (auto _ : state) {
        tcas.evaluateScripts(2.0, window.d, always);
    }
}
BENCHMARK(BM_KitTcasScriptsPerTick)->Arg(0)->Arg(1);

// The designer-style navigation display's scripts per tick (macros, a case
// over the range steps, text operators, the clock, the bus voltage given
// by its scenario), the mouse over its display; every script every tick.
void BM_DesignerScriptsPerTick(benchmark::State& state) {
    cs::bench::KitWindow window;
    if (!window.openDesigner(CS_SOURCE_DIR "/tests/workbench/fixtures")) {
        state.SkipWithError("the designer fixture does not prepare");
        return;
    }
    cs::workbench::GaugeRuntime& nd = *window.gauges[0];
    nd.mouse(120.0, 100.0, true, window.d);
    for (int i = 0; i < 400; ++i) {  // past the bus coming on, frames drawn
        window.tick();
    }
    for (auto _ : state) {
        nd.evaluateScripts(30.0, window.d, true);
    }
}
BENCHMARK(BM_DesignerScriptsPerTick);

void BM_KitWindowTick(benchmark::State& state) {
    cs::bench::KitWindow window;
    if (!window.open(CS_SOURCE_DIR "/docs/kit")) {
        state.SkipWithError("the kit's gauges do not prepare");
        return;
    }
    for (auto _ : state) {
        window.tick();
    }
}
BENCHMARK(BM_KitWindowTick);

void BM_KitWindowPicture(benchmark::State& state) {
    cs::bench::KitWindow window;
    if (!window.open(CS_SOURCE_DIR "/docs/kit")) {
        state.SkipWithError("the kit's gauges do not prepare");
        return;
    }
    for (int i = 0; i < 40; ++i) {  // two traffic cycles, frames drawn
        window.tick();
    }
    const cs::workbench::GaugeImages noImages;
    const std::unique_ptr<cs::workbench::Replayer> replayer = cs::workbench::makePlatformReplayer();
    cs::sim::Canvas canvas(256, 304, 0xFF000000u);
    cs::workbench::DrawList list;
    for (auto _ : state) {
        cs::workbench::beginPicture(list, 256, 304);
        for (auto& g : window.gauges) {
            cs::workbench::composeGauge(list, *g, noImages);
        }
        replayer->replay(list, canvas);
        benchmark::DoNotOptimize(canvas.pixels());
    }
}
BENCHMARK(BM_KitWindowPicture);

}  // namespace
