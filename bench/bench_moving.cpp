// BM_BusyWindowPicture: one picture of a busy panel window of moving parts
// (bench/BusyWindow.h: ten gauges, each with two needles and a three-drum
// counter behind masks), the gauges walked into drawing commands - turned,
// slid and masked - and the platform's replayer drawing them; the gauges
// tick between pictures, so every picture moves. scripts/bench.sh prints it
// as a multiple of BM_DrawFrame100Aircraft/1, the module's TCAS frame with
// 100 aircraft, from the same run.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/BusyWindow.h"
#include "simhost/Canvas.h"
#include "tools/workbench/Compositor.h"
#include "tools/workbench/Replayer.h"

namespace {

void BM_BusyWindowPicture(benchmark::State& state) {
    cs::bench::BusyWindow window;
    if (!window.open(CS_SOURCE_DIR "/tests/workbench/fixtures/moving")) {
        state.SkipWithError("the busy window's gauges do not prepare");
        return;
    }
    for (int i = 0; i < 18; ++i) {
        window.tick();
    }
    const std::unique_ptr<cs::workbench::Replayer> replayer = cs::workbench::makePlatformReplayer();
    cs::sim::Canvas canvas(cs::bench::BusyWindow::kWidth, cs::bench::BusyWindow::kHeight,
                           0xFF000000u);
    cs::workbench::DrawList list;
    size_t commands = 0;
    for (auto _ : state) {
        state.PauseTiming();
        window.tick();
        state.ResumeTiming();
        cs::workbench::beginPicture(list, cs::bench::BusyWindow::kWidth,
                                    cs::bench::BusyWindow::kHeight);
        for (auto& g : window.gauges) {
            cs::workbench::composeGauge(list, *g, window.images);
        }
        replayer->replay(list, canvas);
        commands = list.commands.size();
        benchmark::DoNotOptimize(canvas.pixels());
    }
    state.counters["commands"] = static_cast<double>(commands);
}
BENCHMARK(BM_BusyWindowPicture);

}  // namespace
