// The scenes the benchmarks measure, shared by the Google Benchmark programs
// of the Linux build and the Windows build's timing program run under Wine:
// a TCAS or radar display with 100 aircraft around, and the kit's window.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "drawables/GaugeDrawable.h"
#include "host/ImportTable.h"
#include "properties/GaugeCallback.h"
#include "properties/PanelCallback.h"
#include "properties/PropertyCatalogue.h"
#include "simhost/Canvas.h"
#include "simhost/GaugeHost.h"
#include "simhost/SimHost.h"
#include "tools/gauge/GaugeReader.h"
#include "tools/scenario/ScenarioParser.h"
#include "tools/session/ModuleCatalogue.h"
#include "tools/workbench/GaugeRuntime.h"

namespace cs::bench {

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

// A window of XML gauges with 100 aircraft around, every gauge prepared:
// open() reads the kit's two gauges from `kitFolder` (docs/kit of the tree)
// and places them as its panel.cfg does; openDesigner() the designer-style
// navigation display of the workbench's fixtures with its scenario's
// aircraft variables.
struct KitWindow {
    cs::sim::SimHost host;
    cs::MyPanelCCallback* panel = nullptr;
    cs::gauge::Diagnostics d;
    std::vector<std::unique_ptr<cs::gauge::GaugeFile>> files;
    cs::workbench::LocalVariables locals;
    cs::workbench::AircraftInputs inputs;
    cs::preview::ModuleCatalogue catalogue;
    std::unique_ptr<cs::sim::GaugeHost> scratch;
    std::vector<std::unique_ptr<cs::workbench::GaugeRuntime>> gauges;
    double t = 0.0;

    bool open(const std::string& kitFolder) {
        return openGauges({{kitFolder + "/ContactScope_TCAS.xml", {0, 0, 256, 256}},
                           {kitFolder + "/ContactScope_Advisory.xml", {28, 256, 200, 48}}});
    }
    bool openDesigner(const std::string& fixtures) {
        const cs::preview::PreviewScenario scenario =
            cs::preview::loadScenarioFile(fixtures + "/designer_nd.json");
        inputs.admit(scenario);
        inputs.use(scenario);
        locals.set("ND range step", 1.0);
        return openGauges({{fixtures + "/designer_nd.xml", {0, 0, 240, 300}}});
    }
    bool openGauges(const std::vector<std::pair<std::string, cs::workbench::Placement>>& placed) {
        host.install();
        host.scenario().own().moving(0.0, 250.0);
        host.scenario().own().at(47.0, 8.0, 11000.0);
        for (int i = 0; i < 100; ++i) {
            host.scenario().addRelative(100 + i, i * 3.6, 1.5 + (i % 7), (i % 9) * 200.0 - 800.0,
                                        i * 7.0, 200.0);
        }
        panel = new cs::MyPanelCCallback(cs::kVariantVa9vedored);
        host.registerDirect("va9vedored", panel);
        scratch = std::make_unique<cs::sim::GaugeHost>(host);
        if (!scratch->create("va9vedored", "tcas")) {
            return false;
        }
        catalogue.learn(host, *scratch);
        for (const auto& [path, place] : placed) {
            files.push_back(std::make_unique<cs::gauge::GaugeFile>());
            if (!cs::gauge::readGaugeFile(path, *files.back(), d)) {
                return false;
            }
            gauges.push_back(std::make_unique<cs::workbench::GaugeRuntime>(
                *files.back(), host, locals, inputs, catalogue, place));
            if (!gauges.back()->prepare(d)) {
                return false;
            }
        }
        return true;
    }
    void tick() {
        host.advance(1.0 / 18.0, 1.0);
        t += 1.0 / 18.0;
        for (auto& g : gauges) {
            g->tick(true, t, d);
        }
    }
    ~KitWindow() {
        gauges.clear();
        scratch.reset();
        if (panel != nullptr) {
            host.registerDirect("va9vedored", nullptr);
            panel->release();
        }
        ImportTable.panelServices.table = nullptr;
    }
};

}  // namespace cs::bench
