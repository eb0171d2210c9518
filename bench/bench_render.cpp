// Cost of one display frame on the Cairo backend: background only, and 10 or
// 100 displayed aircraft, for both symbologies, with pads on and off, at two
// drawing-area sizes.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstring>
#include <vector>

#include "host/ImportTable.h"
#include "render/RadarScreen.h"
#include "render/TCASScreen.h"
#include "traffic/TrafficData.h"

namespace {

void HOST_STDCALL refreshToZero(cs::HostVariableRecord* variable) {
    variable->value = 0.0;
}
cs::IPanelCCallback* HOST_STDCALL findNothing(const char*) {
    return nullptr;
}

// A host with a clock and no traffic provider: the renderer's traffic source
// is staged directly.
void installQuietHost() {
    static cs::HostServices services;
    std::memset(&services, 0, sizeof services);
    services.refreshVariable = refreshToZero;
    services.findPanelCallback = findNothing;
    ImportTable.panelServices.table = &services;
}

// Aircraft spread over the display, cycling through the four levels, some
// climbing or descending, all moving.
std::vector<cs::TrafficRecord> scene(int count) {
    std::vector<cs::TrafficRecord> records(static_cast<size_t>(count) + 1);
    for (int i = 0; i <= count; ++i) {
        cs::TrafficRecord& r = records[static_cast<size_t>(i)];
        std::memset(&r, 0, sizeof r);
        r.objectId = i;
        if (i == 0) {
            r.threatLevel = cs::threat::Hidden;
            continue;
        }
        r.threatLevel = cs::threat::Other + (i % 4);
        r.bearing = (i * 137) % 360;
        r.distance = 1.0 + (i * 7) % 13;
        r.altDiff = ((i * 311) % 5000) - 2500;
        r.verticalSpeed = (i % 3 - 1) * 1200.0;
        r.trackAngle = (i * 53) % 360;
        r.groundSpeed = 250.0;
        std::snprintf(r.atcId, sizeof r.atcId, "N%04d", i % 10000);
    }
    return records;
}

// Arguments: symbology (0 radar, 1 TCAS), size in pixels, aircraft, pads.
void BM_Frame(benchmark::State& state) {
    installQuietHost();
    const bool tcas = state.range(0) != 0;
    const int size = static_cast<int>(state.range(1));
    const int count = static_cast<int>(state.range(2));
    const int pads = static_cast<int>(state.range(3));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cs::TCASScreen tcasScreen;
    cs::RadarScreen radarScreen;
    cs::GdiPlusRadar& radar = tcas ? static_cast<cs::GdiPlusRadar&>(tcasScreen)
                                   : static_cast<cs::GdiPlusRadar&>(radarScreen);
    radar.setGeometry(size, size, 1.0, 1.0, size / 2, size / 2, 15.0, 0, size / 128.0);
    if (tcas) {
        radar.setLevelColours(255, 0xF0F0F0, 0xF0F0F0, 0xFFFF00, 0xFF0000);
        radar.setDisplayOptions(nullptr, 0x1A, 0x1E, 0x1E, 0x1E, pads, 100);
    } else {
        radar.setLevelColours(255, 0xF0F0F0, 0x00FF00, 0xFFFF00, 0xFF0000);
        radar.setDisplayOptions(nullptr, 0x1A, 0x1A, 0x1A, 0x1A, pads, 100);
    }
    const std::vector<cs::TrafficRecord> records = scene(count);
    if (!radar.trafficData()->setSnapshot(records.data(), count + 1)) {
        state.SkipWithError("no snapshot");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(radar.drawFrame(surface, 1, 0.0));
        cairo_surface_flush(surface);
    }
    state.counters["aircraft"] = count;
    cairo_surface_destroy(surface);
}

BENCHMARK(BM_Frame)
    ->ArgNames({"tcas", "px", "aircraft", "pads"})
    ->ArgsProduct({{0, 1}, {256, 512}, {0, 10, 100}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
