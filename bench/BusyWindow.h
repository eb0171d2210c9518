// A busy panel window of moving parts for the workbench's compositing
// benchmark: ten gauges of 200 x 200, each with a dial, two needles turning
// by nonlinearity tables (one delayed) and a three-drum counter behind its
// masks, made from the moving-parts fixtures' bitmaps. Their values move
// with the simulation time, so every picture turns and slides them anew.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/ImportTable.h"
#include "simhost/SimHost.h"
#include "tools/gauge/GaugeFiles.h"
#include "tools/gauge/GaugeReader.h"
#include "tools/session/ModuleCatalogue.h"
#include "tools/workbench/GaugeImage.h"
#include "tools/workbench/GaugeRuntime.h"

namespace cs::bench {

inline std::string busyGauge() {
    std::string drums;
    for (int i = 0; i < 3; ++i) {
        const std::string x = std::to_string(120 + 12 * i);
        const std::string divisor = i == 0 ? "100" : i == 1 ? "10" : "1";
        drums += "<Element><Position X=\"" + x +
                 "\" Y=\"150\"/><MaskImage Name=\"window.bmp\"><Axis X=\"10\" Y=\"20\"/>"
                 "</MaskImage><Image Name=\"drum.bmp\"><Axis X=\"0\" Y=\"110\"/></Image><Shift>"
                 "<Value>(L:count, number) " +
                 divisor +
                 " / 10 %</Value><Nonlinearity><Item Value=\"0\" X=\"0\" Y=\"0\"/>"
                 "<Item Value=\"10\" X=\"0\" Y=\"100\"/></Nonlinearity></Shift></Element>\n";
    }
    std::string needles;
    for (const char* rate : {"0", "90"}) {
        needles += std::string(
                       "<Element><Position X=\"100\" Y=\"100\"/><Image Name=\"needle.bmp\" "
                       "PointsTo=\"East\"><Axis X=\"10\" Y=\"4\"/></Image><Rotate>"
                       "<Value Minimum=\"0\" Maximum=\"200\">(L:speed, knots)</Value>"
                       "<Nonlinearity><Item Value=\"0\" X=\"100\" Y=\"180\"/>"
                       "<Item Value=\"50\" X=\"20\" Y=\"100\"/><Item Value=\"100\" "
                       "X=\"100\" Y=\"20\"/><Item Value=\"200\" Degrees=\"90\"/>"
                       "</Nonlinearity><Delay DegreesPerSecond=\"") +
                   rate + "\"/></Rotate></Element>\n";
    }
    return "<Gauge Name=\"busy\"><Size X=\"200\" Y=\"200\"/>\n"
           "<Update>(E:SIMULATION TIME, seconds) 7 * 200 % (&gt;L:speed, knots) "
           "(E:SIMULATION TIME, seconds) 37 * (&gt;L:count, number)</Update>\n"
           "<Element><Position X=\"10\" Y=\"10\"/><Circle Radius=\"90\" LineWidth=\"2\" "
           "Color=\"white\" FillColor=\"#202020\"/></Element>\n" +
           drums + needles + "</Gauge>\n";
}

struct BusyWindow {
    static constexpr int kWidth = 1000, kHeight = 400;
    cs::sim::SimHost host;
    cs::gauge::Diagnostics d;
    cs::gauge::GaugeFile file;
    cs::workbench::GaugeImages images;
    cs::workbench::LocalVariables locals;
    cs::workbench::AircraftInputs inputs;
    cs::preview::ModuleCatalogue catalogue;
    std::vector<std::unique_ptr<cs::workbench::GaugeRuntime>> gauges;
    double t = 0.0;

    // `fixtures`: the folder of the moving-parts fixtures' bitmaps.
    bool open(const std::string& fixtures) {
        host.install();
        if (!cs::gauge::readGaugeText(busyGauge(), "busy.xml", fixtures, file, d) ||
            !images.load(file, *cs::gauge::folderFiles(fixtures), d)) {
            return false;
        }
        for (int i = 0; i < 10; ++i) {
            const cs::workbench::Placement place{200.0 * (i % 5), 200.0 * (i / 5), 200, 200};
            gauges.push_back(std::make_unique<cs::workbench::GaugeRuntime>(
                file, host, locals, inputs, catalogue, place));
            if (!gauges.back()->prepare(d)) {
                return false;
            }
        }
        return d.errorCount() == 0;
    }
    void tick() {
        host.advance(1.0 / 18.0, 1.0);
        t += 1.0 / 18.0;
        for (auto& g : gauges) {
            g->tick(false, t, d);
        }
    }
    ~BusyWindow() {
        gauges.clear();
        ImportTable.panelServices.table = nullptr;
    }
};

}  // namespace cs::bench
