// Cost of the drawable's host calls with 100 aircraft around: a draw that
// finds nothing new (only the parameter reads and the hand-over), a draw that
// paints a frame, and an update that runs a traffic cycle.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "drawables/GaugeDrawable.h"
#include "host/ImportTable.h"
#include "properties/GaugeCallback.h"
#include "render/GdiPlusRadar.h"
#include "simhost/Canvas.h"
#include "simhost/GaugeHost.h"
#include "simhost/SimHost.h"

namespace {

constexpr int32_t kAreaPx = 400;
constexpr int kAircraft = 100;

// A gauge with one TCAS display, 100 aircraft within its windows (Other and
// Proximity traffic all around), two traffic cycles already run so that
// every aircraft is classified and displayed.
struct Scene {
    explicit Scene(int32_t kind) : canvas(kAreaPx, kAreaPx) {
        host.install();
        host.scenario().own().moving(0.0, 250.0);
        host.scenario().own().altAboveGround = 5000.0;  // all traffic airborne
        uint32_t seed = 4711;
        auto next = [&seed](double low, double high) {
            seed = seed * 1103515245u + 12345u;
            return low + (high - low) * ((seed >> 8) & 0xFFFF) / 65535.0;
        };
        for (int i = 0; i < kAircraft; ++i) {
            host.scenario().addRelative(100 + i, next(0.0, 360.0), next(1.5, 9.0),
                                        next(-2000.0, 2000.0), next(0.0, 360.0),
                                        next(120.0, 300.0));
        }
        gauge = new cs::MyGaugeCCallback();
        display = gauge->createDrawable(kind, &declarations);
        values.useDeclarations(&declarations);
        values.recordReads = false;
        values.set("Range", 10.0);
        values.set("MaxNumAct", kAircraft + 1.0);  // the own aircraft is listed too
        display->draw(&values, kAreaPx, kAreaPx, canvas.dc(), nullptr);
        for (int cycle = 0; cycle < 2; ++cycle) {
            host.advance(1.0);
            display->update();
        }
        display->draw(&values, kAreaPx, kAreaPx, canvas.dc(), nullptr);
    }
    ~Scene() {
        display->release();
        gauge->release();
        ImportTable.panelServices.table = nullptr;
    }

    cs::sim::SimHost host;
    cs::sim::Canvas canvas;
    cs::sim::DrawableDeclarations declarations;
    cs::sim::DrawParameterValues values;
    cs::MyGaugeCCallback* gauge = nullptr;
    cs::IGaugeCDrawable* display = nullptr;
};

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
