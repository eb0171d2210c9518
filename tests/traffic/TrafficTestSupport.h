// Shared set-up of the traffic suites: a replacement host installed as the
// module's services, and helpers that stage encounters with known geometry.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "host/ImportTable.h"
#include "simhost/SimHost.h"
#include "traffic/TrafficData.h"

namespace cs::test {

constexpr double kFeetPerNm = TrafficConstants::kMetresPerNm * TrafficConstants::kFeetPerMetre;

// The separations a gauge starts with.
struct Separations {
    double timeTA = 35.0;
    double timeRA = 20.0;
    double distTA = 1.0;
    double distRA = 0.1;
    double altTA = 1200.0;
    double altRA = 300.0;
};

class TrafficTest : public ::testing::Test {
  protected:
    explicit TrafficTest(const sim::SimHostOptions& options = {}) : host(options) {
        saved_ = ImportTable.panelServices.table;
        host.install();
    }
    ~TrafficTest() override { ImportTable.panelServices.table = saved_; }

    std::unique_ptr<TrafficData> makeData() { return std::make_unique<TrafficData>(); }

    uint32_t cycle(TrafficData& data, uint32_t maxCount = 100, double rangeNm = 40.0) {
        const Separations& s = separations;
        return data.update(maxCount, rangeNm, s.timeTA, s.timeRA, s.distTA, s.distRA, s.altTA,
                           s.altRA);
    }

    static const TrafficRecord* recordOf(const TrafficData& data, int32_t id) {
        for (int32_t i = 0; i < data.recordCount(); ++i) {
            if (data.records()[i].objectId == id) {
                return &data.records()[i];
            }
        }
        return nullptr;
    }

    // Places traffic `id` north of the own aircraft so that, `dt` seconds
    // later, it is `distanceNm` away and `altDiffFt` above, having closed its
    // slant range by `closureFtPerS` each second (negative: diverging), with
    // the given vertical speeds. Heights above ground end at `heightFt`.
    // The own aircraft is expected at rest horizontally at 0N 0E.
    sim::Aircraft& stageEncounter(int32_t id, double distanceNm, double altDiffFt,
                                  double closureFtPerS, double dt, double trafficVsFpm = 0.0,
                                  double ownVsFpm = 0.0, double heightFt = 1000.0) {
        sim::Aircraft& own = host.scenario().own();
        const double ownNow = 10000.0;
        own.verticalSpeed = ownVsFpm;
        own.trueAltitude = own.indicatedAltitude = ownNow - ownVsFpm * dt / 60.0;
        const double horizontalNow = distanceNm * kFeetPerNm;
        const double slantNow = std::sqrt(altDiffFt * altDiffFt + horizontalNow * horizontalNow);
        const double slantBefore = slantNow + closureFtPerS * dt;
        const double altDiffBefore = altDiffFt - (trafficVsFpm - ownVsFpm) * dt / 60.0;
        const double horizontalBefore =
            std::sqrt(slantBefore * slantBefore - altDiffBefore * altDiffBefore);
        const double distanceBefore = horizontalBefore / kFeetPerNm;
        sim::Aircraft a;
        a.id = id;
        a.at(distanceBefore / 60.0, 0.0, own.indicatedAltitude + altDiffBefore);
        a.moving(180.0, (distanceBefore - distanceNm) * 3600.0 / dt, trafficVsFpm);
        a.altAboveGround = heightFt - trafficVsFpm * dt / 60.0;
        a.named("T" + std::to_string(id));
        return host.scenario().add(a);
    }

    // Two cycles `dt` apart: the first sees the staged positions, the second
    // classifies against it.
    void runEncounter(TrafficData& data, double dt = 5.0) {
        cycle(data);
        host.advance(dt);
        cycle(data);
    }

    sim::SimHost host;
    Separations separations;

  private:
    HostServices* saved_ = nullptr;
};

}  // namespace cs::test
