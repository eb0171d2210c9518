// The workbench's cost on Windows, run under Wine by scripts/bench.sh: the
// kit window's whole tick and one picture of it (GDI+), each as a ratio to
// the module's draw that finds nothing new, all measured in this one run.
// Google Benchmark has no build for the Windows compiler here, so this times
// its loops itself: each case repeated for at least 0.3 s, five times, the
// median kept.
//
//   window_bench.exe <docs/kit folder>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/BenchScenes.h"
#include "tools/workbench/Compositor.h"
#include "tools/workbench/Replayer.h"

namespace {

template <class Step>
double nanosPerStep(Step&& step) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> runs;
    for (int run = 0; run < 5; ++run) {
        long steps = 0;
        const Clock::time_point start = Clock::now();
        Clock::time_point now = start;
        while (now - start < std::chrono::milliseconds(300)) {
            for (int i = 0; i < 16; ++i) {
                step();
            }
            steps += 16;
            now = Clock::now();
        }
        runs.push_back(std::chrono::duration<double, std::nano>(now - start).count() / steps);
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_bench <docs/kit folder>\n");
        return 2;
    }
    double draw = 0.0;
    {
        cs::bench::Scene scene(1);
        draw = nanosPerStep([&] {
            scene.display->draw(&scene.values, cs::bench::kAreaPx, cs::bench::kAreaPx,
                                scene.canvas.dc(), nullptr);
        });
    }
    cs::bench::KitWindow window;
    if (!window.open(argv[1])) {
        std::fprintf(stderr, "the kit's gauges do not prepare in %s\n", argv[1]);
        return 1;
    }
    const double tick = nanosPerStep([&] { window.tick(); });
    const cs::workbench::GaugeImages noImages;
    const auto replayer = cs::workbench::makePlatformReplayer();
    cs::sim::Canvas canvas(256, 304, 0xFF000000u);
    cs::workbench::DrawList list;
    const double picture = nanosPerStep([&] {
        cs::workbench::beginPicture(list, 256, 304);
        for (auto& g : window.gauges) {
            cs::workbench::composeGauge(list, *g, noImages);
        }
        replayer->replay(list, canvas);
    });
    std::printf("windows draw without redraw, TCAS: %.0f ns\n", draw);
    std::printf("windows kit window, one whole tick: %.0f ns (x%.0f the draw without redraw)\n",
                tick, tick / draw);
    std::printf("windows kit window, one picture (GDI+): %.0f ns (x%.0f the draw without redraw)\n",
                picture, picture / draw);
    return 0;
}
