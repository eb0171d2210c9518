// The surveillance cycle: construction against the host, record reads in
// both modes, the snapshot swap and what a cycle leaves alone.
#include <gtest/gtest.h>

#include <cstring>

#include "TrafficTestSupport.h"

namespace cs::test {
namespace {

class SnapshotCycle : public TrafficTest {};

TEST_F(SnapshotCycle, ConstructionStartsWithDefaultsAndTheHostTime) {
    host.setTime(42.5);
    auto data = makeData();
    EXPECT_TRUE(data->hasTrafficSource());
    EXPECT_EQ(data->records(), nullptr);
    EXPECT_EQ(data->recordCount(), 0);
    EXPECT_EQ(data->advisory().threatLevel, 0);
    EXPECT_EQ(data->previousTime(), 42.5);
    const TrafficData::Thresholds& t = data->thresholds();
    const double got[] = {t.otherMinRAlt,     t.otherAboveAlt,     t.otherBelowAlt,
                          t.proximityRange,   t.proximityAboveAlt, t.proximityBelowAlt,
                          t.timeSeparationTA, t.timeSeparationRA,  t.distSeparationTA,
                          t.distSeparationRA, t.altSeparationTA,   t.altSeparationRA};
    const double expected[] = {50.0, 2700.0, 2700.0, 6.0, 1200.0, 1200.0,
                               35.0, 20.0,   1.0,    0.1, 1200.0, 300.0};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(got[i], expected[i]) << "threshold " << i;
    }
}

TEST_F(SnapshotCycle, IdsAreResolvedOnceAtConstructionAndUsed) {
    // A host with ids of its own: the module must ask for them and use them.
    host.catalogue().setVarId(sim::Var::Latitude, 9001);
    host.catalogue().setVarId(sim::Var::IndicatedAltitude, 9002);
    host.catalogue().setVarId(sim::Var::VelocityZ, 9003);
    host.catalogue().setUnitId(sim::Unit::Knots, 77);
    host.scenario().own().at(10.0, 20.0, 8000.0);
    sim::Aircraft& a = host.scenario().addRelative(2, 0.0, 5.0, 700.0);
    a.velocityNorth = 150.0;
    auto data = makeData();
    for (int i = 0; i < 3; ++i) {
        cycle(*data);
        host.advance(2.0);
    }
    const char* names[] = {"PLANE LATITUDE",
                           "PLANE LONGITUDE",
                           "PLANE ALTITUDE",
                           "INDICATED ALTITUDE",
                           "VELOCITY WORLD Y",
                           "VELOCITY WORLD Z",
                           "VELOCITY WORLD X",
                           "PLANE HEADING DEGREES TRUE",
                           "ATC ID",
                           "ENG COMBUSTION",
                           "IS USER SIM",
                           "PLANE ALT ABOVE GROUND",
                           "FEET",
                           "BOOL",
                           "DEGREES",
                           "KNOTS",
                           "FEET PER MINUTE"};
    for (const char* name : names) {
        EXPECT_EQ(host.catalogue().lookupCount(name), 1) << name;
    }
    const TrafficRecord* r = recordOf(*data, 2);
    ASSERT_NE(r, nullptr);
    // Own latitude read with the host's id; the traffic flew north for 4 s.
    EXPECT_NEAR(r->distance, 5.0 + 150.0 * 4.0 / 3600.0, 1e-6);
    EXPECT_NEAR(r->altDiff, 700.0, 1e-9);
    EXPECT_EQ(r->velocityNorth, 150.0);
}

TEST_F(SnapshotCycle, IdsHandedOutLaterAreNotPickedUp) {
    host.scenario().addRelative(2, 0.0, 5.0, 700.0);
    auto data = makeData();
    host.catalogue().setVarId(sim::Var::IndicatedAltitude, 9002);
    cycle(*data);
    const TrafficRecord* r = recordOf(*data, 2);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->altitude, 0.0) << "the stale id reads nothing, so the value stays zero";
}

TEST_F(SnapshotCycle, ListingUsesTheRadiusInMetresAndTheCapacity) {
    for (int32_t id = 2; id < 8; ++id) {
        host.scenario().addRelative(id, 10.0 * id, 1.0 * id, 0.0);
    }
    auto data = makeData();
    EXPECT_EQ(cycle(*data, 4, 40.0), 4u);
    EXPECT_EQ(host.traffic().counts().lastCapacity, 4u);
    EXPECT_DOUBLE_EQ(host.traffic().counts().lastRadiusMetres, 40.0 * 1851.8518518518517);
    EXPECT_EQ(data->recordCount(), 4);
    // Traffic 2 and 3 lie 2 and 3 nm away, the rest farther.
    EXPECT_EQ(cycle(*data, 100, 3.5), 3u) << "own aircraft and traffic within 3.5 nm";
}

TEST_F(SnapshotCycle, SnapshotKeepsTheListingOrder) {
    host.scenario().addRelative(30, 0.0, 2.0, 0.0);
    host.scenario().addRelative(10, 90.0, 2.0, 0.0);
    host.scenario().addRelative(20, 180.0, 2.0, 0.0);
    auto data = makeData();
    for (int i = 0; i < 3; ++i) {
        cycle(*data);
        host.advance(1.0);
        ASSERT_EQ(data->recordCount(), 4);
        EXPECT_EQ(data->records()[0].objectId, 1);
        EXPECT_EQ(data->records()[1].objectId, 30);
        EXPECT_EQ(data->records()[2].objectId, 10);
        EXPECT_EQ(data->records()[3].objectId, 20);
    }
}

TEST_F(SnapshotCycle, FirstCycleLeavesEverythingHiddenAndFindsTheOwnAircraft) {
    host.scenario().addRelative(2, 0.0, 0.5, 100.0, 180.0, 300.0);
    host.scenario().addRelative(3, 90.0, 0.05, 0.0);
    host.advance(10.0);  // time since construction is the first cycle's interval
    auto data = makeData();
    host.advance(5.0);
    cycle(*data);
    ASSERT_EQ(data->recordCount(), 3);
    for (int32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(data->records()[i].threatLevel, threat::Hidden) << i;
        EXPECT_EQ(data->records()[i].closureRate, 0.0);
    }
    const TrafficRecord* own = recordOf(*data, 1);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->distance, 0.0);
    EXPECT_EQ(own->slantRange, 0.0);
    EXPECT_EQ(data->advisory().threatLevel, 0);

    host.advance(5.0);
    cycle(*data);
    own = recordOf(*data, 1);
    EXPECT_EQ(own->threatLevel, threat::Hidden) << "the own aircraft is never classified";
    EXPECT_EQ(own->slantRange, 0.0);
    EXPECT_EQ(recordOf(*data, 3)->threatLevel, threat::RA);
    EXPECT_EQ(data->previousTime(), 20.0);
}

// In position-only mode the own aircraft's record carries its true altitude,
// the own altitude is the indicated one; away from standard pressure they
// differ, and the own aircraft must still not become an RA against itself.
TEST_F(SnapshotCycle, PositionOnlyOwnAircraftIsRecognisedDespiteAltimeterSetting) {
    host.setPositionOnly(true);
    host.scenario().own().trueAltitude = host.scenario().own().indicatedAltitude + 250.0;
    host.scenario().addRelative(2, 90.0, 8.0, 2000.0);
    auto data = makeData();
    for (int i = 0; i < 3; ++i) {
        host.advance(5.0);
        cycle(*data);
    }
    const TrafficRecord* own = recordOf(*data, 1);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->threatLevel, threat::Hidden);
    EXPECT_EQ(own->distance, 0.0);
    EXPECT_EQ(own->slantRange, 0.0);
    EXPECT_EQ(data->advisory().threatLevel, 0) << "no advisory against the own aircraft";
}

TEST_F(SnapshotCycle, HostListingNothingKeepsTheLastSnapshot) {
    stageEncounter(2, 0.5, 300.0, 0.0, 5.0);
    auto data = makeData();
    runEncounter(*data);
    ASSERT_EQ(data->advisory().objectId, 2);
    const TrafficRecord* before = data->records();
    const int32_t count = data->recordCount();
    const double time = data->previousTime();

    host.scenario().traffic().clear();
    host.scenario().listOwn = false;
    host.advance(5.0);
    EXPECT_EQ(cycle(*data), 0u);
    EXPECT_EQ(data->records(), before);
    EXPECT_EQ(data->recordCount(), count);
    EXPECT_EQ(data->advisory().objectId, 2);
    EXPECT_EQ(data->advisory().threatLevel, threat::TA);
    EXPECT_EQ(data->previousTime(), time);
}

TEST_F(SnapshotCycle, OwnAircraftIsReadOncePerCycleAndTheModeAskedPerRecord) {
    host.scenario().addRelative(2, 0.0, 3.0, 0.0);
    host.scenario().addRelative(3, 90.0, 3.0, 0.0);
    auto data = makeData();
    cycle(*data);
    host.advance(5.0);
    host.counts() = {};
    host.traffic().counts() = {};
    cycle(*data);
    EXPECT_EQ(host.counts().readUserVariable, 4);
    EXPECT_EQ(host.counts().refreshTime, 1);
    EXPECT_EQ(host.traffic().counts().listAircraft, 1);
    // One read per record, one geometry question per record, one per
    // classified traffic aircraft.
    EXPECT_EQ(host.traffic().counts().modeQuery, 3 + 3 + 2);
}

class CycleWithoutTraffic : public TrafficTest {
  protected:
    CycleWithoutTraffic() : TrafficTest(sim::SimHostOptions{.registerTraffic = false}) {}
};

TEST_F(CycleWithoutTraffic, SeparationsAreStoredAndNothingIsRead) {
    auto data = makeData();
    EXPECT_FALSE(data->hasTrafficSource());
    EXPECT_EQ(data->update(100, 40.0, 30.0, 15.0, 2.0, 0.2, 1000.0, 400.0), 0u);
    const TrafficData::Thresholds& t = data->thresholds();
    EXPECT_EQ(t.timeSeparationTA, 30.0);
    EXPECT_EQ(t.timeSeparationRA, 15.0);
    EXPECT_EQ(t.distSeparationTA, 2.0);
    EXPECT_EQ(t.distSeparationRA, 0.2);
    EXPECT_EQ(t.altSeparationTA, 1000.0);
    EXPECT_EQ(t.altSeparationRA, 400.0);
    EXPECT_EQ(data->records(), nullptr);
    EXPECT_EQ(data->advisory().threatLevel, 0);

    TrafficRecord r;
    std::memset(&r, 0x5A, sizeof r);
    data->readRecord(r, 7);
    EXPECT_EQ(r.objectId, 0x5A5A5A5A) << "without a source a read touches nothing";
}

TEST_F(CycleWithoutTraffic, ProviderWithoutInterfaceMeansNoSource) {
    host.setTrafficRegistered(true);
    host.traffic().answerQuery = false;
    auto data = makeData();
    EXPECT_FALSE(data->hasTrafficSource());
    host.traffic().answerQuery = true;
    EXPECT_EQ(cycle(*data), 0u) << "no retry after construction";
    EXPECT_EQ(host.traffic().counts().variableIdByName, 0);
}

class ReadRecord : public TrafficTest {};

TEST_F(ReadRecord, FullDataReadsEveryVariable) {
    sim::Aircraft& a = host.scenario().addRelative(5, 0.0, 2.0, 0.0);
    a.at(0.5, 0.25, 0.0);
    a.trueAltitude = 7100.0;
    a.indicatedAltitude = 7000.0;
    a.verticalSpeed = -800.0;
    a.velocityNorth = 120.0;
    a.velocityEast = -60.0;
    a.altAboveGround = 3300.0;
    a.engineRunning = false;
    a.isUserSim = true;
    a.atcId = "D-EABC";
    auto data = makeData();
    TrafficRecord r;
    std::memset(&r, 0x5A, sizeof r);
    data->readRecord(r, 5);
    EXPECT_EQ(r.objectId, 5);
    EXPECT_EQ(r.latitude, 0.5);
    EXPECT_EQ(r.longitude, 0.25);
    EXPECT_EQ(r.altitude, 7000.0) << "indicated altitude in full-data mode";
    EXPECT_EQ(r.verticalSpeed, -800.0);
    EXPECT_EQ(r.velocityNorth, 120.0);
    EXPECT_EQ(r.velocityEast, -60.0);
    EXPECT_EQ(r.radAlt, 3300.0);
    EXPECT_EQ(r.engineCombustion, 0.0);
    EXPECT_EQ(r.isUserSim, 1.0);
    EXPECT_STREQ(r.atcId, "D-EABC");
    EXPECT_EQ(r.threatLevel, threat::Hidden);
    EXPECT_EQ(r.bearing, 0.0) << "zero-filled before it is filled";
    EXPECT_EQ(r.closureRate, 0.0);
}

TEST_F(ReadRecord, PositionOnlyReadsPositionAltitudeNameAndHeading) {
    host.setPositionOnly(true);
    sim::Aircraft& a = host.scenario().addRelative(5, 0.0, 2.0, 0.0);
    a.trueAltitude = 7100.0;
    a.indicatedAltitude = 7000.0;
    a.verticalSpeed = -800.0;
    a.velocityNorth = 120.0;
    a.altAboveGround = 3300.0;
    a.engineRunning = false;
    a.isUserSim = true;
    a.headingTrue = 271.5;
    a.name = "ABCDEFGHIJKL";
    auto data = makeData();
    TrafficRecord r;
    std::memset(&r, 0x5A, sizeof r);
    data->readRecord(r, 5);
    EXPECT_EQ(r.altitude, 7100.0) << "true altitude in position-only mode";
    EXPECT_STREQ(r.atcId, "ABCDEFGHIJ");
    EXPECT_EQ(r.radAlt, 0.0);
    EXPECT_EQ(r.engineCombustion, 1.0);
    EXPECT_EQ(r.isUserSim, 0.0);
    EXPECT_EQ(r.verticalSpeed, 0.0);
    EXPECT_EQ(r.velocityNorth, 0.0);
    EXPECT_EQ(r.velocityEast, 0.0);
    EXPECT_EQ(r.trackAngle, 271.5);
    EXPECT_EQ(r.threatLevel, threat::Hidden);
}

TEST_F(ReadRecord, ObjectIdZeroIsNotTouched) {
    host.scenario().addRelative(0, 0.0, 2.0, 0.0);
    auto data = makeData();
    TrafficRecord r;
    std::memset(&r, 0x5A, sizeof r);
    data->readRecord(r, 0);
    EXPECT_EQ(r.objectId, 0x5A5A5A5A);
    EXPECT_EQ(host.traffic().counts().readNumber, 0);
}

TEST(SetSnapshot, CopiesAndReplacesTheSnapshotWithoutAHost) {
    HostServices* saved = ImportTable.panelServices.table;
    ImportTable.panelServices.table = nullptr;
    {
        TrafficData data;  // a tool staging a scene has no host at all
        EXPECT_FALSE(data.hasTrafficSource());
        TrafficRecord staged[2] = {};
        staged[0].objectId = 4;
        staged[1].objectId = 9;
        staged[1].threatLevel = threat::RA;
        ASSERT_TRUE(data.setSnapshot(staged, 2));
        staged[1].objectId = 99;
        ASSERT_EQ(data.recordCount(), 2);
        EXPECT_NE(data.records(), staged);
        EXPECT_EQ(data.records()[1].objectId, 9) << "a copy, not the caller's array";
        EXPECT_EQ(data.records()[1].threatLevel, threat::RA);
        EXPECT_EQ(data.advisory().threatLevel, 0);
        EXPECT_FALSE(data.setSnapshot(staged, -1));
        EXPECT_FALSE(data.setSnapshot(nullptr, 3));
        EXPECT_EQ(data.recordCount(), 2);
        EXPECT_TRUE(data.setSnapshot(nullptr, 0));
        EXPECT_EQ(data.recordCount(), 0);
        EXPECT_EQ(data.records(), nullptr);
        EXPECT_EQ(data.update(10, 40.0, 1, 2, 3, 4, 5, 6), 0u);
    }
    ImportTable.panelServices.table = saved;
}

}  // namespace
}  // namespace cs::test
