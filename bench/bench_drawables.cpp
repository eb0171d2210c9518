// Cost of the drawable's host calls with 100 aircraft around: a draw that
// finds nothing new (only the parameter reads and the hand-over), a draw that
// paints a frame, and an update that runs a traffic cycle.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench/BenchScenes.h"
#include "drawables/GaugeDrawable.h"
#include "host/ImportTable.h"
#include "properties/GaugeCallback.h"
#include "render/GdiPlusRadar.h"
#include "simhost/Canvas.h"
#include "simhost/GaugeHost.h"
#include "simhost/SimHost.h"

namespace {

using cs::bench::kAreaPx;
using cs::bench::Scene;

void BM_DrawWithoutRedraw(benchmark::State& state) {
    Scene scene(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        const bool drawn =
            scene.display->draw(&scene.values, kAreaPx, kAreaPx, scene.canvas.dc(), nullptr);
        benchmark::DoNotOptimize(drawn);
    }
}
BENCHMARK(BM_DrawWithoutRedraw)->Arg(1)->Arg(0);

void BM_DrawFrame100Aircraft(benchmark::State& state) {
    Scene scene(static_cast<int32_t>(state.range(0)));
    int32_t brightness = 255;
    for (auto _ : state) {
        // A brightness change redraws at once with the current snapshot.
        brightness = brightness == 255 ? 254 : 255;
        scene.values.set("Brightness", brightness);
        const bool drawn =
            scene.display->draw(&scene.values, kAreaPx, kAreaPx, scene.canvas.dc(), nullptr);
        benchmark::DoNotOptimize(drawn);
    }
    state.counters["displayed"] =
        static_cast<cs::MyGaugeCDrawable*>(scene.display)->renderer()->displayedCount();
}
BENCHMARK(BM_DrawFrame100Aircraft)->Arg(1)->Arg(0);

void BM_UpdateWithTrafficCycle100Aircraft(benchmark::State& state) {
    Scene scene(1);
    for (auto _ : state) {
        // 18 ticks and one second on, without moving the aircraft, so every
        // update runs a full cycle over the same traffic.
        scene.host.setTicks(scene.host.ticks() + 18.0);
        scene.host.setTime(scene.host.time() + 1.0);
        scene.display->update();
    }
}
BENCHMARK(BM_UpdateWithTrafficCycle100Aircraft);

void BM_UpdateThrottled(benchmark::State& state) {
    Scene scene(1);
    for (auto _ : state) {
        scene.display->update();  // the counter has not moved: no cycle
    }
}
BENCHMARK(BM_UpdateThrottled);

}  // namespace
