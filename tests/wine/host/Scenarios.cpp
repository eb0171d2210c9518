#include "tests/wine/host/Scenarios.h"

#include <cstdint>

#include "simhost/SimHost.h"

namespace cs::winetest {

namespace {

using cs::sim::SimHost;

// Over the sea, so traffic placed below the own aircraft stays above ground.
void ownFlyingNorth(SimHost& host) {
    cs::sim::Aircraft& own = host.scenario().own();
    own.altAboveGround = own.indicatedAltitude;
    own.moving(0.0, 250.0, 0.0);
}

// Opposite tracks at the same level: closing at 500 kt from 8 nm, TA from
// about 35 s before the closest approach, RA from about 20 s.
void headOn(SimHost& host) {
    ownFlyingNorth(host);
    host.scenario().addRelative(2, 0.0, 8.0, 0.0, 180.0, 250.0);
}

// From the right at 90 degrees to the own track, 1500 ft below and climbing
// at 1250 ft/min: both reach the crossing point at the same moment and the
// same altitude.
void crossingClimbing(SimHost& host) {
    ownFlyingNorth(host);
    host.scenario().addRelative(2, 45.0, 7.0710678, -1500.0, 270.0, 250.0, 1250.0);
}

// A faster aircraft 200 ft above, catching up from behind at 150 kt.
void overtaking(SimHost& host) {
    ownFlyingNorth(host);
    host.scenario().addRelative(2, 180.0, 2.0, 200.0, 0.0, 400.0);
}

// Head-on but 5000 ft below: outside the TCAS display's altitude windows,
// inside the radar display's.
void farBelow(SimHost& host) {
    ownFlyingNorth(host);
    host.scenario().addRelative(2, 0.0, 5.0, -5000.0, 180.0, 250.0);
}

// A busy terminal area: one aircraft on a collision course, listed first,
// and 120 more within 12 nm, so the host lists more than the 100 aircraft the
// displays request.
void busyTerminal(SimHost& host) {
    ownFlyingNorth(host);
    host.scenario().addRelative(2, 0.0, 6.0, 100.0, 180.0, 250.0);
    uint32_t seed = 12345u;
    auto next = [&seed]() {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<double>(seed >> 8) / 16777216.0;  // [0, 1)
    };
    for (int i = 0; i < 120; ++i) {
        const double bearing = next() * 360.0;
        const double distance = 1.5 + next() * 10.5;
        const double altOffset = -3000.0 + next() * 6000.0;
        const double track = next() * 360.0;
        const double speed = 140.0 + next() * 120.0;
        const double climb = -1000.0 + next() * 2000.0;
        host.scenario().addRelative(10 + i, bearing, distance, altOffset, track, speed, climb);
    }
}

// The head-on encounter from a host that delivers positions only: speeds
// and vertical speeds are derived from successive snapshots.
void positionOnly(SimHost& host) {
    headOn(host);
    host.setPositionOnly(true);
}

}  // namespace

const std::vector<ScenarioPlan>& scenarios() {
    static const std::vector<ScenarioPlan> all = {
        {"headon", 45, headOn},         {"crossing", 60, crossingClimbing},
        {"overtaking", 40, overtaking}, {"farbelow", 20, farBelow},
        {"busy", 12, busyTerminal},     {"positiononly", 45, positionOnly},
    };
    return all;
}

const ScenarioPlan* findScenario(const std::string& name) {
    for (const ScenarioPlan& plan : scenarios()) {
        if (plan.name == name) {
            return &plan;
        }
    }
    return nullptr;
}

}  // namespace cs::winetest
