// What a workbench keeps between loading the gauges and running scenarios:
// the module in its host, and the gauges placed in their views (pictures).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "simhost/ModuleLoader.h"
#include "simhost/SimHost.h"
#include "tools/workbench/GaugeImage.h"
#include "tools/workbench/GaugeRuntime.h"
#include "tools/workbench/PropertyCatalogue.h"
#include "tools/workbench/Replayer.h"
#include "tools/workbench/Workbench.h"

namespace cs::workbench {

struct View {
    std::string name;  // output file prefix: the gauge's name, or "window09"
    int width = 0, height = 0;
};

struct PlacedGauge {
    gauge::GaugeFile file;
    Placement placement;
    size_t view = 0;
    GaugeImages images;
};

struct Workbench::State {
    sim::SimHost host;
    sim::ModuleLoader loader;
    PropertyCatalogue catalogue{host};
    std::vector<std::unique_ptr<PlacedGauge>> gauges;
    std::vector<View> views;
    preview::ModuleVocabulary vocabulary;
    std::unique_ptr<Replayer> replayer = makePlatformReplayer();
};

}  // namespace cs::workbench
