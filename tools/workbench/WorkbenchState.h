// What a workbench keeps between loading the gauges and running scenarios:
// the module's session, and the gauges placed in their views (pictures).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/session/ModuleSession.h"
#include "tools/workbench/GaugeImage.h"
#include "tools/workbench/GaugeRuntime.h"
#include "tools/workbench/Replayer.h"
#include "tools/workbench/Workbench.h"

namespace cs::workbench {

struct View {
    std::string name;  // output file prefix: the gauge's name, or "window09"
    int width = 0, height = 0;
};

struct PlacedGauge {
    gauge::GaugeFile file;
    std::shared_ptr<const gauge::GaugeFiles> files;  // its folder or cabinet, for its images
    Placement placement;
    size_t view = 0;
    GaugeImages images;
    // Its callbacks and displays made and every name bound: prepared when
    // the gauge is loaded (which checks it against the module), run by the
    // first scenario and made anew for each further one, whose displays
    // must start without the traffic of the one before.
    std::unique_ptr<GaugeRuntime> runtime;
};

struct Workbench::State {
    preview::ModuleSession session;  // the module, its host and its catalogue
    LocalVariables locals;           // shared by the gauges of a run
    AircraftInputs inputs;           // the scenario's aircraft variables and clock
    size_t inputsPrepared = 0;       // the given variables known when the gauges bound
    double preparedAt = 0.0;         // the host's clock when the gauges were prepared
    double clickedUntil = -1.0;      // the mouse track's clicks are done up to here
    bool runtimesUsed = false;       // a scenario ran the prepared gauges
    std::vector<std::unique_ptr<PlacedGauge>> gauges;
    std::vector<View> views;
    std::unique_ptr<Replayer> replayer = makePlatformReplayer();
};

}  // namespace cs::workbench
