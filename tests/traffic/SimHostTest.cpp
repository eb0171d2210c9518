// The replacement host itself: the other suites rely on it behaving like the
// simulator, so its services, listing and kinematics are checked here.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "host/ImportTable.h"
#include "simhost/SimHost.h"

namespace cs::sim {
namespace {

ITrafficInfo* infoOf(SimHost& host) {
    IPanelCCallback* provider = host.services()->findPanelCallback(kTrafficInfoName);
    if (provider == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<ITrafficInfo*>(provider->queryByName(kTrafficInfoName));
}

// A panel callback that only counts references.
class CountingCallback : public IPanelCCallback {
  public:
    uint32_t HOST_MEMBER addRef() override { return ++refs; }
    uint32_t HOST_MEMBER release() override { return --refs; }
    IPanelCCallback* HOST_MEMBER queryByName(const char*) override { return nullptr; }
    uint32_t HOST_MEMBER version() override { return 0; }
    IAircraftCCallback* HOST_MEMBER createAircraftCallback(uint32_t) override { return nullptr; }
    bool HOST_MEMBER propertyNameToId(const char*, int32_t*) override { return false; }
    bool HOST_MEMBER propertyIdToName(int32_t, char**) override { return false; }
    bool HOST_MEMBER propertyValueKind(int32_t, int32_t*) override { return false; }
    uint32_t refs = 1;
};

TEST(SimHost, InstallWritesTheServicesIntoTheImportRecord) {
    SimHost host;
    HostServices* before = ImportTable.panelServices.table;
    host.install();
    EXPECT_EQ(ImportTable.panelServices.table, host.services());
    EXPECT_EQ(hostServices(), host.services());
    ImportTable.panelServices.table = before;
}

TEST(SimHost, RefreshDeliversTicksAndTimeAsAdvanced) {
    SimHost host;
    HostVariableRecord tick{kTickCounterToken, 0, 0, -1.0, 7.0};
    HostVariableRecord time{kElapsedTimeToken, 0, 0, -1.0, 7.0};
    host.advance(2.0);
    host.services()->refreshVariable(&tick);
    host.services()->refreshVariable(&time);
    // The record is packed to 4 bytes: copy the values out before comparing.
    EXPECT_EQ(double{tick.value}, 36.0);
    EXPECT_EQ(double{time.value}, 2.0);
    EXPECT_EQ(double{tick.previousValue}, 7.0) << "the previous value belongs to the module";
    host.advance(1.0, 5.0);
    host.setTime(-3.0);
    host.services()->refreshVariable(&tick);
    host.services()->refreshVariable(&time);
    EXPECT_EQ(double{tick.value}, 41.0);
    EXPECT_EQ(double{time.value}, -3.0);
}

TEST(SimHost, UserVariablesNeedTheUnitOfTheVariable) {
    SimHost host;
    host.scenario().own().at(12.5, -3.25, 4500.0);
    HostServices* s = host.services();
    const int32_t deg = defaultUnitId(Unit::Degrees);
    const int32_t ft = defaultUnitId(Unit::Feet);
    EXPECT_EQ(s->readUserVariable(48, deg, 0), 12.5);
    EXPECT_EQ(s->readUserVariable(49, deg, 0), -3.25);
    EXPECT_EQ(s->readUserVariable(56, ft, 0), 4500.0);
    EXPECT_EQ(s->readUserVariable(56, deg, 0), 0.0);
    EXPECT_EQ(s->readUserVariable(48, ft, 0), 0.0);
    EXPECT_EQ(s->readUserVariable(12345, ft, 0), 0.0);
}

TEST(SimHost, RegistryLogsAndOptionallyHoldsReferences) {
    SimHost host;
    host.addRefOnRegister = true;
    CountingCallback a;
    CountingCallback b;
    HostServices* s = host.services();
    s->registerPanelCallback("A", &a);
    EXPECT_EQ(a.refs, 2u);
    EXPECT_EQ(s->findPanelCallback("A"), &a);
    s->registerPanelCallback("A", &b);  // replacement releases the old one
    EXPECT_EQ(a.refs, 1u);
    EXPECT_EQ(b.refs, 2u);
    s->registerPanelCallback("A", nullptr);
    EXPECT_EQ(b.refs, 1u);
    EXPECT_EQ(s->findPanelCallback("A"), nullptr);
    ASSERT_EQ(host.registrationLog().size(), 3u);
    EXPECT_EQ(host.registrationLog()[0].callback, &a);
    EXPECT_EQ(host.registrationLog()[1].callback, &b);
    EXPECT_EQ(host.registrationLog()[2].callback, nullptr);
    EXPECT_EQ(host.registrationLog()[2].name, "A");

    host.addRefOnRegister = false;
    s->registerPanelCallback("B", &a);
    EXPECT_EQ(a.refs, 1u);
    EXPECT_EQ(s->findPanelCallback(nullptr), nullptr);
}

TEST(SimHost, TrafficProviderCanBeLeftUnregistered) {
    SimHost host(SimHostOptions{.registerTraffic = false});
    EXPECT_EQ(infoOf(host), nullptr);
    host.setTrafficRegistered(true);
    EXPECT_NE(infoOf(host), nullptr);
    host.traffic().answerQuery = false;
    EXPECT_EQ(infoOf(host), nullptr);
}

TEST(SimHost, ListingHonoursRadiusCapacityAndOrder) {
    SimHost host;
    host.scenario().addRelative(20, 0.0, 5.0, 0.0);
    host.scenario().addRelative(10, 90.0, 50.0, 0.0);
    host.scenario().addRelative(30, 180.0, 2.0, 0.0);
    ITrafficInfo* info = infoOf(host);
    ASSERT_NE(info, nullptr);
    uint32_t ids[8] = {};
    EXPECT_EQ(info->listAircraft(10.0 * kMetresPerNm, 8, ids), 3u);
    EXPECT_EQ(ids[0], 1u);  // own aircraft first
    EXPECT_EQ(ids[1], 20u);
    EXPECT_EQ(ids[2], 30u);
    EXPECT_EQ(info->listAircraft(100.0 * kMetresPerNm, 2, ids), 2u);
    EXPECT_EQ(ids[1], 20u);
    host.scenario().listOwn = false;
    EXPECT_EQ(info->listAircraft(100.0 * kMetresPerNm, 8, ids), 3u);
    EXPECT_EQ(ids[0], 20u);
    EXPECT_EQ(ids[1], 10u);
}

TEST(SimHost, ReadsAnswerByIdUnitAndMode) {
    SimHost host;
    Aircraft& t = host.scenario().addRelative(5, 45.0, 3.0, 700.0, 270.0, 200.0, -500.0);
    t.atcId = "N12345";
    t.name = "Cessna";
    ITrafficInfo* info = infoOf(host);
    double v = -1.0;
    EXPECT_EQ(info->readNumber(5, 56, defaultUnitId(Unit::Feet), &v, 1), 1);
    EXPECT_EQ(v, 10700.0);
    EXPECT_EQ(info->readNumber(5, 39, defaultUnitId(Unit::FeetPerMinute), &v, 1), 1);
    EXPECT_EQ(v, -500.0);
    v = -1.0;
    EXPECT_EQ(info->readNumber(5, 39, defaultUnitId(Unit::Knots), &v, 1), 0);
    EXPECT_EQ(v, -1.0);
    EXPECT_EQ(info->readNumber(99, 56, defaultUnitId(Unit::Feet), &v, 1), 0);
    char buffer[11] = {};
    EXPECT_EQ(info->readString(5, 529, buffer, 10, 0), 1);
    EXPECT_STREQ(buffer, "N12345");
    EXPECT_STREQ(info->aircraftName(5), "Cessna");
    EXPECT_EQ(info->modeQuery(), 0);
    host.setPositionOnly(true);
    EXPECT_NE(info->modeQuery(), 0);
}

TEST(SimHost, IdsCanBeReassignedAndLookupsAreCounted) {
    SimHost host;
    host.catalogue().setVarId(Var::Latitude, 900);
    ITrafficInfo* info = infoOf(host);
    EXPECT_EQ(info->variableIdByName("PLANE LATITUDE"), 900);
    EXPECT_EQ(info->variableIdByName("PLANE LONGITUDE"), 49);
    EXPECT_EQ(info->variableIdByName("NO SUCH VARIABLE"), -1);
    EXPECT_EQ(info->unitIdByName("KNOTS"), defaultUnitId(Unit::Knots));
    EXPECT_EQ(host.catalogue().lookupCount("PLANE LATITUDE"), 1);
    EXPECT_EQ(host.catalogue().lookupCount("KNOTS"), 1);
    double v = 0.0;
    EXPECT_EQ(info->readNumber(1, 48, defaultUnitId(Unit::Degrees), &v, 1), 0);
    EXPECT_EQ(info->readNumber(1, 900, defaultUnitId(Unit::Degrees), &v, 1), 1);
}

TEST(SimHost, KinematicsFollowVelocityAndScheduledClimbs) {
    SimHost host;
    Aircraft& own = host.scenario().own();
    own.moving(90.0, 360.0);  // 0.1 nm per second eastwards
    Aircraft& t = host.scenario().addRelative(2, 0.0, 10.0, 0.0, 180.0, 3600.0);
    t.changeVerticalSpeed(30.0, 600.0);
    host.advance(60.0);
    EXPECT_NEAR(own.longitude, 6.0 / 60.0, 1e-9);
    EXPECT_NEAR(own.latitude, 0.0, 1e-12);
    const Aircraft* moved = host.scenario().find(2);
    ASSERT_NE(moved, nullptr);
    EXPECT_NEAR(moved->latitude, (10.0 - 60.0) / 60.0, 1e-9);
    EXPECT_NEAR(moved->trueAltitude, 10000.0 + 300.0, 1e-9);  // 30 s at 600 ft/min
    EXPECT_EQ(moved->verticalSpeed, 600.0);
}

TEST(SimHost, RelativePlacementMatchesGreatCircleDistance) {
    SimHost host;
    host.scenario().own().at(47.0, 8.0, 5000.0);
    const Aircraft& t = host.scenario().addRelative(3, 135.0, 12.0, -400.0);
    EXPECT_NEAR(greatCircleDistanceNm(47.0, 8.0, t.latitude, t.longitude), 12.0, 1e-9);
    EXPECT_EQ(t.trueAltitude, 4600.0);
    EXPECT_EQ(t.atcId, "T3");
}

TEST(SimHost, HostileOptionsMisbehaveAsAsked) {
    SimHost host;
    host.scenario().addRelative(4, 0.0, 1.0, 0.0);
    ITrafficInfo* info = infoOf(host);
    HostileOptions& h = host.hostile();
    h.overrideListCount = true;
    h.listCount = 1000;
    uint32_t ids[4] = {};
    EXPECT_EQ(info->listAircraft(1e6, 4, ids), 1000u);
    h.overrideListIds = true;
    h.listIds = {0, 4, 4, 4, 4, 4};
    h.overrideListCount = false;
    EXPECT_EQ(info->listAircraft(1e6, 4, ids), 4u);
    EXPECT_EQ(ids[0], 0u);
    h.forceNumbers = true;
    h.forcedValue = NAN;
    double v = 0.0;
    info->readNumber(4, 48, defaultUnitId(Unit::Degrees), &v, 1);
    EXPECT_TRUE(std::isnan(v));
    EXPECT_TRUE(std::isnan(host.services()->readUserVariable(48, defaultUnitId(Unit::Degrees), 0)));
    h.modeSequence = {0, 1};
    EXPECT_EQ(info->modeQuery(), 0);
    EXPECT_EQ(info->modeQuery(), 1);
    EXPECT_EQ(info->modeQuery(), 0);
    h.nullNames = true;
    EXPECT_EQ(info->aircraftName(4), nullptr);
    h.nullNames = false;
    h.unterminatedNames = true;
    h.unterminatedLength = 3;
    EXPECT_EQ(std::memcmp(info->aircraftName(4), "NNN", 3), 0);
    h.fillStringBuffer = true;
    char buffer[5] = {'a', 'b', 'c', 'd', 0};
    info->readString(4, 529, buffer, 4, 0);
    EXPECT_EQ(std::memcmp(buffer, "XXXX", 4), 0);
    EXPECT_EQ(buffer[4], 0) << "never beyond the capacity";
}

}  // namespace
}  // namespace cs::sim
