// The built module loaded as a shared library into a replacement host, and
// reached only the way the simulator reaches it: exports, registered names,
// property names, parameter names and draws into a Cairo surface.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "simhost/Canvas.h"
#include "simhost/GaugeHost.h"
#include "simhost/ModuleLoader.h"
#include "simhost/SimHost.h"

namespace cs::e2e {

// Colours of the TCAS display's symbol centres at full brightness.
constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kProximityGrey = 0xFFF0F0F0u;  // filled diamond
constexpr uint32_t kTAYellow = 0xFFFFFF00u;       // filled circle
constexpr uint32_t kRARed = 0xFFFF0000u;          // filled square
constexpr uint32_t kRadarGreen = 0xFF00FF00u;

constexpr int32_t kCanvasPx = 200;
constexpr double kDisplayRangeNm = 10.0;  // centre to edge: 0.1 nm per pixel

class ModuleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        module.keepMapped = true;  // see LeakSuppressions.cpp
        ASSERT_TRUE(module.load(CS_MODULE_PATH)) << module.error();
        ASSERT_TRUE(module.handOver(host.services()));
        ASSERT_TRUE(module.start());
    }

    void TearDown() override {
        gauge.reset();  // drawables, gauge and aircraft callbacks released
        module.stop();
        module.unload();
    }

    // A gauge with one display, sized and scaled for pixel checks.
    void open(const char* panel, const char* display) {
        gauge = std::make_unique<sim::GaugeHost>(host);
        ASSERT_TRUE(gauge->create(panel, display)) << static_cast<int>(gauge->stage());
        ASSERT_TRUE(gauge->display().set("Range", kDisplayRangeNm));
        ASSERT_TRUE(gauge->display().set("SymbolSize", 4.0));
    }

    bool draw() { return gauge->display().draw(canvas.width(), canvas.height(), canvas.dc()); }

    // The pixel at which an aircraft at `bearing` (degrees true) and
    // `distance` (nm) from the own aircraft is drawn on a north-up display.
    static void symbolPixel(double bearing, double distance, int32_t* x, int32_t* y) {
        const double a = bearing / 57.29577951308232;
        const double perPx = 2.0 * kDisplayRangeNm / kCanvasPx;
        *x = static_cast<int32_t>(std::lround(kCanvasPx / 2 + std::sin(a) * distance / perPx));
        *y = static_cast<int32_t>(std::lround(kCanvasPx / 2 - std::cos(a) * distance / perPx));
    }

    // Where one traffic aircraft of the scenario is now, seen from the own aircraft.
    void positionOf(int32_t id, double* bearing, double* distance) {
        const sim::Aircraft& own = host.scenario().own();
        const sim::Aircraft* other = host.scenario().find(id);
        ASSERT_NE(other, nullptr);
        const double k = 57.29577951308232;
        const double p1 = own.latitude / k;
        const double p2 = other->latitude / k;
        const double dl = (other->longitude - own.longitude) / k;
        *distance = sim::greatCircleDistanceNm(own.latitude, own.longitude, other->latitude,
                                               other->longitude);
        const double course =
            std::atan2(std::sin(dl) * std::cos(p2),
                       std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl));
        *bearing = std::fmod(course * k + 360.0, 360.0);
    }

    uint32_t pixelAtAircraft(int32_t id) {
        double bearing = 0.0;
        double distance = 0.0;
        positionOf(id, &bearing, &distance);
        int32_t x = 0;
        int32_t y = 0;
        symbolPixel(bearing, distance, &x, &y);
        return canvas.pixel(x, y);
    }

    sim::SimHost host;  // first: outlives the module, which keeps its services table
    sim::ModuleLoader module;
    sim::Canvas canvas{kCanvasPx, kCanvasPx};
    std::unique_ptr<sim::GaugeHost> gauge;
};

}  // namespace cs::e2e
