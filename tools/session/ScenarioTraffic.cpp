#include "tools/session/ScenarioTraffic.h"

#include <cmath>

namespace cs::preview {

namespace {

// An aircraft of the plan; `own` (the own aircraft at its start) places the
// relative starts and altitudes of the traffic.
sim::Aircraft makeAircraft(const AircraftPlan& plan, const sim::Aircraft* own) {
    sim::Aircraft a;
    a.id = plan.id;
    if (plan.relative && own != nullptr) {
        sim::destinationPoint(own->latitude, own->longitude, plan.bearingDeg, plan.distanceNm,
                              &a.latitude, &a.longitude);
    } else {
        a.latitude = plan.latitude;
        a.longitude = plan.longitude;
    }
    double altitude = plan.altitudeFt;
    if (plan.altitudeRelative && own != nullptr) {
        altitude += own->trueAltitude;
    }
    a.trueAltitude = altitude;
    a.indicatedAltitude = altitude;
    a.altAboveGround = plan.radioAltitudeFt ? *plan.radioAltitudeFt : std::fmax(altitude, 0.0);
    if (plan.velocityComponents) {
        a.velocityNorth = plan.velocityNorthKt;
        a.velocityEast = plan.velocityEastKt;
        a.headingTrue = std::fmod(
            std::atan2(a.velocityEast, a.velocityNorth) * sim::kDegreesPerRadian + 360.0, 360.0);
        a.verticalSpeed = plan.verticalSpeedFpm;
    } else {
        a.moving(plan.trackDeg, plan.groundSpeedKt, plan.verticalSpeedFpm);
    }
    if (plan.headingDeg) {
        a.headingTrue = *plan.headingDeg;
    }
    for (const VerticalSpeedStep& s : plan.verticalSpeedSteps) {
        a.changeVerticalSpeed(s.atS, s.verticalSpeedFpm);
    }
    a.engineRunning = plan.engineRunning;
    a.atcId = plan.atcId;
    a.name = plan.name.empty() ? plan.atcId : plan.name;
    return a;
}

}  // namespace

void loadTraffic(sim::SimHost& host, const PreviewScenario& scenario) {
    host.scenario() = sim::Scenario();
    host.setTime(0.0);
    host.setTicks(0.0);
    host.setPositionOnly(scenario.positionOnly);
    sim::Aircraft own = makeAircraft(scenario.own, nullptr);
    own.isUserSim = true;
    host.scenario().own() = own;
    for (const AircraftPlan& plan : scenario.traffic) {
        host.scenario().add(makeAircraft(plan, &host.scenario().own()));
    }
}

}  // namespace cs::preview
