// Encounters flown cycle by cycle through the loaded module: after every
// traffic cycle (one second, 18 ticks) the display is drawn and the
// published advisory and the pixel under the intruder's symbol are checked.
//
// Expected levels follow from the geometry: for a constant closing speed the
// time to closest approach is range / closing speed, a TA is due within 35 s
// and an RA within 20 s (same level or predicted to reach it), Proximity
// within 6 nm and 1200 ft. Cycles within a second of a boundary are skipped.
#include <cstdio>
#include <vector>

#include "ModuleFixture.h"

namespace cs::e2e {
namespace {

struct Phase {
    int from;  // first and last cycle (seconds) of the phase
    int to;
    double advisory;  // the "advisory" property
    uint32_t centre;  // pixel at the intruder's symbol centre
};

class Encounter : public ModuleTest {
  protected:
    void SetUp() override {
        ModuleTest::SetUp();
        // High enough that traffic thousands of feet below is still airborne.
        host.scenario().own().altAboveGround = 8000.0;
    }

    // Flies `cycles` seconds; checks every cycle that falls in a phase.
    void fly(int32_t intruder, const std::vector<Phase>& phases, int cycles) {
        ASSERT_TRUE(draw());  // the first frame, before any traffic
        for (int t = 1; t <= cycles; ++t) {
            gauge->run(1.0);
            ASSERT_TRUE(draw()) << "cycle " << t;  // a new snapshot always redraws
            for (const Phase& phase : phases) {
                if (t < phase.from || t > phase.to) {
                    continue;
                }
                SCOPED_TRACE(t);
                EXPECT_EQ(gauge->number("advisory"), phase.advisory);
                EXPECT_EQ(pixelAtAircraft(intruder), phase.centre)
                    << std::hex << pixelAtAircraft(intruder);
                if (phase.advisory > 0.0) {
                    char id[16];
                    std::snprintf(id, sizeof id, "T%d", intruder);
                    EXPECT_EQ(gauge->text("advisoryId"), id);
                    double bearing = 0.0;
                    double distance = 0.0;
                    positionOf(intruder, &bearing, &distance);
                    EXPECT_NEAR(gauge->number("advisoryDist"), distance, 1e-6);
                    EXPECT_NEAR(gauge->number("advisoryBrg"), bearing, 1e-3);
                } else {
                    EXPECT_EQ(gauge->text("advisoryId"), "");
                }
            }
        }
    }
};

// Closing at 600 kt from 8 nm: 48 s to closest approach at the start.
TEST_F(Encounter, HeadOnAtTheSameLevel) {
    open("va9vedored", "tcas");
    host.scenario().own().moving(0.0, 300.0);
    host.scenario().addRelative(7, 0.0, 8.0, 0.0, 180.0, 300.0);
    fly(7,
        {
            {1, 1, 0.0, kBlack},   // first sight: not classified yet
            {2, 11, 0.0, kBlack},  // Other: hollow diamond
            {14, 27, 1.0, kTAYellow},
            {29, 45, 2.0, kRARed},
        },
        45);
    EXPECT_NEAR(gauge->number("advisoryAltDiff"), 0.0, 1e-6);
    EXPECT_NEAR(gauge->number("advisoryGroundSpeed"), 300.0, 0.5);
    EXPECT_NEAR(gauge->number("advisoryTrackAngle"), 180.0, 1e-6);
    EXPECT_EQ(gauge->number("advisoryAlt"), 10000.0);
    EXPECT_EQ(gauge->number("advisoryRadAlt"), 8000.0);
}

// Converging at right angles, 60 s from the meeting point, the intruder
// climbing from 1500 ft below so that it arrives at the own level.
TEST_F(Encounter, CrossingWithAClimbingIntruder) {
    open("va9vedored", "tcas");
    host.scenario().own().moving(0.0, 300.0);
    host.scenario().addRelative(8, 45.0, 7.0710678, -1500.0, 270.0, 300.0, 1500.0);
    fly(8,
        {
            {2, 8, 0.0, kBlack},
            {13, 24, 0.0, kProximityGrey},
            {26, 39, 1.0, kTAYellow},
            {41, 55, 2.0, kRARed},
        },
        55);
}

// The same crossing in level flight 1500 ft below: predicted to stay below
// the TA band, never an advisory, never closer than Other.
TEST_F(Encounter, CrossingInLevelFlightBelowRaisesNoAdvisory) {
    open("va9vedored", "tcas");
    host.scenario().own().moving(0.0, 300.0);
    host.scenario().addRelative(8, 45.0, 7.0710678, -1500.0, 270.0, 300.0, 0.0);
    fly(8, {{2, 55, 0.0, kBlack}}, 55);
}

// Overtaken from behind by 120 kt from 2 nm: 60 s to closest approach.
TEST_F(Encounter, Overtaking) {
    open("va9vedored", "tcas");
    host.scenario().own().moving(0.0, 250.0);
    host.scenario().addRelative(9, 180.0, 2.0, 0.0, 0.0, 370.0);
    fly(9,
        {
            {2, 24, 0.0, kProximityGrey},
            {26, 39, 1.0, kTAYellow},
            {41, 55, 2.0, kRARed},
        },
        55);
}

// Head-on 4000 ft below: outside every window of the TCAS display, which
// stays black, while the radar display shows it as proximity traffic.
TEST_F(Encounter, TrafficFarBelow) {
    open("va9vedored", "tcas");
    ASSERT_NE(gauge->addDisplay("radar"), nullptr);
    sim::GaugeDisplay& radar = gauge->display(1);
    radar.set("Range", kDisplayRangeNm);
    radar.set("SymbolSize", 4.0);
    sim::Canvas radarCanvas(kCanvasPx, kCanvasPx);
    host.scenario().own().moving(0.0, 300.0);
    host.scenario().addRelative(10, 0.0, 8.0, -4000.0, 180.0, 300.0);
    for (int t = 1; t <= 40; ++t) {
        gauge->run(1.0);
        SCOPED_TRACE(t);
        ASSERT_TRUE(draw());
        ASSERT_TRUE(radar.draw(kCanvasPx, kCanvasPx, radarCanvas.dc()));
        EXPECT_EQ(gauge->number("advisory"), 0.0);
        EXPECT_EQ(canvas.count(kBlack), static_cast<long>(kCanvasPx) * kCanvasPx);
        if (t >= 2) {
            EXPECT_GT(radarCanvas.count(kRadarGreen), 0);
        }
    }
}

// 120 aircraft around a terminal area, all parked well above or below the
// own level, and one arrival head-on at the same level listed first.
TEST_F(Encounter, BusyTerminalArea) {
    open("va9vedored", "tcas");
    host.scenario().own().moving(0.0, 250.0);
    host.scenario().addRelative(500, 0.0, 8.0, 0.0, 180.0, 350.0);
    uint32_t seed = 12345;
    auto next = [&seed](double low, double high) {
        seed = seed * 1103515245u + 12345u;
        return low + (high - low) * ((seed >> 8) & 0xFFFF) / 65535.0;
    };
    for (int32_t id = 1000; id < 1120; ++id) {
        const double offset = next(1500.0, 5000.0) * (next(0.0, 1.0) < 0.5 ? -1.0 : 1.0);
        host.scenario().addRelative(id, next(0.0, 360.0), next(3.0, 15.0), offset);
    }
    fly(500,
        {
            {14, 27, 1.0, kTAYellow},
            {29, 45, 2.0, kRARed},
        },
        45);
    // The host was asked for at most 100 aircraft per cycle, its own included.
    EXPECT_EQ(host.traffic().counts().lastCapacity, 100u);
    EXPECT_EQ(host.traffic().listing(100.0 * 1851.8518518518517).size(), 122u);

    gauge->display().set("MaxNumAct", 150.0);
    draw();
    gauge->run(1.0);
    EXPECT_EQ(host.traffic().counts().lastCapacity, 150u);
}

// Only positions and names from the host: speeds are derived from
// successive snapshots, with the same advisories as in full-data mode.
TEST_F(Encounter, PositionOnlyMode) {
    host.setPositionOnly(true);
    open("va9vedored", "tcas");
    host.scenario().own().moving(0.0, 300.0);
    host.scenario().addRelative(7, 0.0, 8.0, 0.0, 180.0, 300.0);
    fly(7,
        {
            {2, 11, 0.0, kBlack},
            {14, 27, 1.0, kTAYellow},
            {29, 45, 2.0, kRARed},
        },
        45);
    EXPECT_NEAR(gauge->number("advisoryGroundSpeed"), 300.0, 1.0);
    EXPECT_NEAR(gauge->number("advisoryTrackAngle"), 180.0, 1e-6);
    EXPECT_EQ(gauge->number("advisoryRadAlt"), 0.0);
}

// The mouse on the intruder's symbol: the next frame publishes its tool-tip.
TEST_F(Encounter, HoverOverTheIntruder) {
    open("va9vedored", "tcas");
    host.scenario().own().moving(0.0, 300.0);
    host.scenario().addRelative(7, 0.0, 8.0, -250.0, 180.0, 300.0);
    draw();
    for (int t = 1; t <= 20; ++t) {
        gauge->run(1.0);
        double bearing = 0.0;
        double distance = 0.0;
        positionOf(7, &bearing, &distance);
        int32_t x = 0;
        int32_t y = 0;
        symbolPixel(bearing, distance, &x, &y);
        gauge->setProperty("mouseRelPosX", (x + 0.5) / kCanvasPx);
        gauge->setProperty("mouseRelPosY", (y + 0.5) / kCanvasPx);
        draw();
        if (t < 2) {
            EXPECT_EQ(gauge->text("toolTip"), "");  // not displayed yet
            continue;
        }
        SCOPED_TRACE(t);
        char expected[96];
        std::snprintf(expected, sizeof expected,
                      "ID: T7 ALT: -200ft GS: 300kt TRK: 180\xB0 DST: %.1fnm", distance);
        EXPECT_EQ(gauge->text("toolTip"), expected);
        EXPECT_EQ(gauge->text("toolTipId"), "T7");
        EXPECT_NEAR(gauge->number("toolTipDist"), distance, 1e-6);
        EXPECT_NEAR(gauge->number("toolTipAltDiff"), -250.0, 1e-6);
    }
    // Moved off the symbol: the next frame empties the tool-tip.
    gauge->setProperty("mouseRelPosX", 0.0);
    gauge->setProperty("mouseRelPosY", 1.0);
    gauge->run(1.0);
    draw();
    EXPECT_EQ(gauge->text("toolTip"), "");
    EXPECT_EQ(gauge->number("toolTipDist"), 0.0);
}

}  // namespace
}  // namespace cs::e2e
