// Threat classification against the previous snapshot, and the choice of the
// advisory aircraft. Encounters are staged through the replacement host so
// that the second cycle sees the given distance, altitude difference and
// closure, five seconds after the first.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "TrafficTestSupport.h"

namespace cs::test {
namespace {

constexpr double kDt = 5.0;

struct EncounterCase {
    const char* what;
    double distance;   // nm, at the classifying cycle
    double altDiff;    // ft
    double closure;    // ft/s, positive closing
    double trafficVs;  // ft/min
    double ownVs;      // ft/min
    double height;     // ft above ground
    ThreatLevel expected;
};

class Encounters : public TrafficTest, public ::testing::WithParamInterface<EncounterCase> {};

TEST_P(Encounters, LevelWithDefaultThresholds) {
    const EncounterCase& c = GetParam();
    stageEncounter(2, c.distance, c.altDiff, c.closure, kDt, c.trafficVs, c.ownVs, c.height);
    auto data = makeData();
    runEncounter(*data, kDt);
    const TrafficRecord* r = recordOf(*data, 2);
    ASSERT_NE(r, nullptr);
    EXPECT_NEAR(r->distance, c.distance, 1e-9);
    EXPECT_NEAR(r->altDiff, c.altDiff, 1e-6);
    EXPECT_NEAR(r->closureRate, c.closure, 1e-4);
    EXPECT_EQ(r->threatLevel, c.expected);
    if (c.expected >= threat::TA) {
        EXPECT_EQ(data->advisory().objectId, 2);
        EXPECT_EQ(data->advisory().threatLevel, c.expected);
    } else {
        EXPECT_EQ(data->advisory().threatLevel, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, Encounters,
    ::testing::Values(
        EncounterCase{"tau 30 s, level: TA, too slow for RA", 2.0, 500, 400, 0, 0, 1000,
                      threat::TA},
        EncounterCase{"above the windows, level flight", 2.0, 1500, 400, 0, 0, 1000, threat::Other},
        EncounterCase{"descending into the own level", 2.0, 1500, 400, -3000, 0, 1000, threat::TA},
        EncounterCase{"own climb towards it counts too", 2.0, 1500, 400, 0, 3000, 1000, threat::TA},
        EncounterCase{"tau 15 s within 300 ft: RA", 2.0, 200, 800, 0, 0, 1000, threat::RA},
        EncounterCase{"near, not closing: TA by distance", 0.8, 1000, 0, 0, 0, 1000, threat::TA},
        EncounterCase{"distance bound on altitude is strict", 0.8, 1200, 0, 0, 0, 1000,
                      threat::Proximity},
        EncounterCase{"slow closure from below", 3.0, -500, 100, 0, 0, 1000, threat::Proximity},
        EncounterCase{"below, climbing through the own level", 2.0, -500, 400, 3000, 0, 1000,
                      threat::TA},
        EncounterCase{"below, staying well below", 2.0, -1500, 400, 0, 0, 1000, threat::Other},
        EncounterCase{"diverging near: TA by distance only", 0.8, 100, -200, 0, 0, 1000,
                      threat::TA},
        EncounterCase{"diverging very near: RA by distance", 0.05, 100, -20, 0, 0, 1000,
                      threat::RA},
        EncounterCase{"diverging at 2 nm", 2.0, 0, -200, 0, 0, 1000, threat::Proximity},
        EncounterCase{"beyond proximity range", 8.0, 500, 0, 0, 0, 1000, threat::Other},
        EncounterCase{"outside every window", 10.0, 3000, 0, 0, 0, 1000, threat::Hidden},
        EncounterCase{"on the ground", 0.05, 100, 400, 0, 0, 40, threat::Hidden}));

class Classification : public TrafficTest {};

TEST_F(Classification, LowTrafficIsAtMostOther) {
    stageEncounter(2, 0.05, 100.0, 400.0, kDt, 0.0, 0.0, 40.0);
    auto data = makeData();
    data->setDisplayThresholds(30.0, 2700.0, 2700.0, 6.0, 1200.0, 1200.0);
    runEncounter(*data, kDt);
    EXPECT_EQ(recordOf(*data, 2)->threatLevel, threat::Other);
    EXPECT_EQ(data->advisory().threatLevel, 0);
}

TEST_F(Classification, NoIntervalNoClassification) {
    stageEncounter(2, 0.5, 100.0, 0.0, kDt);
    auto data = makeData();
    runEncounter(*data, 0.0);
    EXPECT_EQ(recordOf(*data, 2)->threatLevel, threat::Hidden);
    EXPECT_EQ(recordOf(*data, 2)->closureRate, 0.0);
}

TEST_F(Classification, NewcomerWaitsOneCycle) {
    stageEncounter(2, 0.5, 100.0, 0.0, kDt);
    auto data = makeData();
    cycle(*data);
    host.advance(kDt);
    host.scenario().addRelative(3, 90.0, 0.5, 100.0);
    cycle(*data);
    EXPECT_EQ(recordOf(*data, 2)->threatLevel, threat::TA);
    EXPECT_EQ(recordOf(*data, 3)->threatLevel, threat::Hidden);
    host.advance(kDt);
    cycle(*data);
    EXPECT_EQ(recordOf(*data, 3)->threatLevel, threat::TA);
}

// Many aircraft, listed in a scrambled order that changes between cycles:
// each must meet its own twin in the sorted previous snapshot.
TEST_F(Classification, EveryAircraftMeetsItsOwnTwin) {
    const int n = 60;
    for (int i = 0; i < n; ++i) {
        const int32_t id = 1000 - 13 * i;  // descending, never the own id
        // Alternate near (TA by distance) and far (Other) traffic.
        const double distance = i % 2 == 0 ? 0.7 : 20.0;
        stageEncounter(id, distance, 500.0, 0.0, kDt);
    }
    auto data = makeData();
    cycle(*data);
    host.advance(kDt);
    std::reverse(host.scenario().traffic().begin(), host.scenario().traffic().end());
    cycle(*data);
    ASSERT_EQ(data->recordCount(), n + 1);
    for (int i = 0; i < n; ++i) {
        const TrafficRecord* r = recordOf(*data, 1000 - 13 * i);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->threatLevel, i % 2 == 0 ? threat::TA : threat::Other) << r->objectId;
    }
}

TEST_F(Classification, TimeSeparationsAreFlooredNotDividedBy) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double limits[][2] = {{0.0, 0.0}, {-5.0, -10.0}, {nan, nan}};
    for (const auto& l : limits) {
        host.scenario().traffic().clear();
        stageEncounter(2, 2.0, 200.0, 800.0, kDt);
        separations.timeTA = l[0];
        separations.timeRA = l[1];
        auto data = makeData();
        runEncounter(*data, kDt);
        EXPECT_EQ(recordOf(*data, 2)->threatLevel, threat::Proximity) << l[0];
    }
}

TEST_F(Classification, PositionOnlyDerivesSpeedsFromTwoSnapshots) {
    host.setPositionOnly(true);
    sim::Aircraft& still = host.scenario().addRelative(2, 0.0, 3.0, 0.0);
    still.verticalSpeed = 1200.0;                                   // 100 ft in 5 s
    still.altAboveGround = 0.0;                                     // not used without full data
    host.scenario().addRelative(3, 90.0, 4.0, 2000.0, 0.0, 360.0);  // 0.5 nm in 5 s
    auto data = makeData();
    cycle(*data);
    EXPECT_EQ(recordOf(*data, 2)->groundSpeed, 0.0);
    EXPECT_EQ(recordOf(*data, 2)->verticalSpeed, 0.0);
    host.advance(kDt);
    cycle(*data);
    const TrafficRecord* a = recordOf(*data, 2);
    EXPECT_EQ(a->groundSpeed, 1.0);
    EXPECT_NEAR(a->verticalSpeed, 1200.0, 1e-9);
    EXPECT_EQ(a->threatLevel, threat::Proximity) << "100 ft assumed above ground";
    const TrafficRecord* b = recordOf(*data, 3);
    EXPECT_NEAR(b->groundSpeed, 360.0, 1e-6);
    EXPECT_NEAR(b->verticalSpeed, 0.0, 1e-9);
    EXPECT_EQ(b->threatLevel, threat::Other);
}

TEST_F(Classification, PositionOnlyUsesTheDerivedClimbInThePrediction) {
    host.setPositionOnly(true);
    // Descending from 1500 ft above at 3000 ft/min: only the derived vertical
    // speed brings the predicted altitude difference into the TA window.
    stageEncounter(2, 2.0, 1500.0, 400.0, kDt, -3000.0, 0.0, 0.0);
    auto data = makeData();
    runEncounter(*data, kDt);
    const TrafficRecord* r = recordOf(*data, 2);
    EXPECT_NEAR(r->verticalSpeed, -3000.0, 1e-6);
    EXPECT_EQ(r->threatLevel, threat::TA);
}

struct Contact {
    double distance, altDiff, closure;
};
constexpr Contact kTaAt05{0.5, 1000.0, 0.0};
constexpr Contact kTaAt08{0.8, 1000.0, 0.0};
constexpr Contact kRaAt08{0.8, 100.0, 400.0};

struct AdvisoryCase {
    const char* what;
    Contact first, second;
    ThreatLevel firstLevel, secondLevel;
    int32_t advisoryId;
};

class AdvisoryChoice : public TrafficTest, public ::testing::WithParamInterface<AdvisoryCase> {};

TEST_P(AdvisoryChoice, InSnapshotOrder) {
    const AdvisoryCase& c = GetParam();
    stageEncounter(10, c.first.distance, c.first.altDiff, c.first.closure, kDt);
    stageEncounter(20, c.second.distance, c.second.altDiff, c.second.closure, kDt);
    auto data = makeData();
    runEncounter(*data, kDt);
    ASSERT_EQ(recordOf(*data, 10)->threatLevel, c.firstLevel);
    ASSERT_EQ(recordOf(*data, 20)->threatLevel, c.secondLevel);
    EXPECT_EQ(data->advisory().objectId, c.advisoryId) << c.what;
    const TrafficRecord* chosen = recordOf(*data, c.advisoryId);
    EXPECT_EQ(std::memcmp(&data->advisory(), chosen, sizeof(TrafficRecord)), 0)
        << "the advisory is a whole copy of the record";
}

INSTANTIATE_TEST_SUITE_P(
    FourOrders, AdvisoryChoice,
    ::testing::Values(
        AdvisoryCase{"a farther RA does not replace a TA", kTaAt05, kRaAt08, threat::TA, threat::RA,
                     10},
        AdvisoryCase{"a nearer TA does not replace an RA", kRaAt08, kTaAt05, threat::RA, threat::TA,
                     10},
        AdvisoryCase{"a nearer TA replaces a TA", kTaAt08, kTaAt05, threat::TA, threat::TA, 20},
        AdvisoryCase{"of two equal the later wins", kTaAt05, kTaAt05, threat::TA, threat::TA, 20}));

TEST_F(Classification, CycleWithoutAdvisoryClearsIt) {
    stageEncounter(2, 0.5, 300.0, 0.0, kDt);
    auto data = makeData();
    runEncounter(*data, kDt);
    ASSERT_EQ(data->advisory().threatLevel, threat::TA);
    separations.distTA = 0.0;  // the gauge narrows the distance test
    host.advance(kDt);
    cycle(*data);
    EXPECT_EQ(recordOf(*data, 2)->threatLevel, threat::Proximity);
    const TrafficRecord zero{};
    EXPECT_EQ(std::memcmp(&data->advisory(), &zero, sizeof zero), 0);
}

}  // namespace
}  // namespace cs::test
