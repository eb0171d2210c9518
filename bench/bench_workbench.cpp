// Cost of the gauge workbench's script evaluation per host tick for the kit's
// TCAS gauge: its Update script (range and sensitivity level, six property
// writes), its draw parameters, its elements and its tool-tip - everything a
// tick evaluates besides the module's own update and draw. Argument 0: the
// ticks as they come (Update once a second, as the kit asks); 1: every
// script on every tick. Compare with BM_DrawWithoutRedraw, the module's
// cheapest draw (scripts/bench.sh prints the ratio).
//
// BM_KitWindowTick: the kit's window (the TCAS display and the annunciator,
// placed as its panel.cfg places them) for one whole host tick each: scripts,
// the module's update (a traffic cycle every 18th tick) and draw.
// BM_KitWindowPicture: one picture of that window, the gauges walked into
// drawing commands and the platform's replayer drawing them.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "bench/BenchScenes.h"
#include "host/ImportTable.h"
#include "properties/PanelCallback.h"
#include "properties/PropertyCatalogue.h"
#include "simhost/Canvas.h"
#include "simhost/GaugeHost.h"
#include "simhost/SimHost.h"
#include "tools/gauge/GaugeReader.h"
#include "tools/session/ModuleCatalogue.h"
#include "tools/workbench/Compositor.h"
#include "tools/workbench/GaugeRuntime.h"
#include "tools/workbench/Replayer.h"

namespace {

void BM_KitTcasScriptsPerTick(benchmark::State& state) {
    const bool always = state.range(0) != 0;
    cs::sim::SimHost host;
    host.install();
    host.scenario().own().moving(0.0, 250.0);
    host.scenario().own().at(47.0, 8.0, 11000.0);
    for (int i = 0; i < 100; ++i) {
        host.scenario().addRelative(100 + i, i * 3.6, 1.5 + (i % 7), (i % 9) * 200.0 - 800.0,
                                    i * 7.0, 200.0);
    }
    auto* panel = new cs::MyPanelCCallback(cs::kVariantVa9vedored);
    host.registerDirect("va9vedored", panel);
    cs::gauge::Diagnostics d;
    cs::gauge::GaugeFile file;
    if (!cs::gauge::readGaugeFile(CS_SOURCE_DIR "/docs/kit/ContactScope_TCAS.xml", file, d)) {
        state.SkipWithError("the kit's TCAS gauge does not read");
        return;
    }
    {
        cs::workbench::LocalVariables locals;
        cs::preview::ModuleCatalogue catalogue;
        cs::sim::GaugeHost scratch(host);
        if (!scratch.create("va9vedored", "tcas")) {
            state.SkipWithError("no scratch display");
            return;
        }
        catalogue.learn(host, scratch);
        cs::workbench::GaugeRuntime gauge(file, host, locals, catalogue, {0, 0, 256, 256});
        if (!gauge.prepare(d)) {
            state.SkipWithError(d.problems().at(0).text().c_str());
            return;
        }
        gauge.mouse(128.0, 100.0, true, d);  // hovering, so the tool-tip is read too
        for (int i = 0; i < 40; ++i) {       // two traffic cycles, frames drawn
            host.advance(1.0 / 18.0, 1.0);
            gauge.tick(true, i / 18.0, d);
        }
        for (auto _ : state) {
            gauge.evaluateScripts(2.0, d, always);
        }
    }
    host.registerDirect("va9vedored", nullptr);
    panel->release();
    ImportTable.panelServices.table = nullptr;
}
BENCHMARK(BM_KitTcasScriptsPerTick)->Arg(0)->Arg(1);

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
