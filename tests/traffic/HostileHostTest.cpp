// A host that misbehaves: non-numbers, infinities and huge values from every
// read, listings that overrun the capacity, duplicate and zero ids, names
// without terminator, a mode that flips between calls, a clock that jumps
// back. None of it may crash, read or write out of bounds, or produce a
// record that is not well-formed. Run under the address and undefined
// behaviour sanitizers.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>

#include "TrafficTestSupport.h"
#include "traffic/TrafficLimits.h"

namespace cs::test {
namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// What every snapshot must satisfy whatever the host delivered.
void expectWellFormed(const TrafficData& data) {
    ASSERT_GE(data.recordCount(), 0);
    if (data.recordCount() > 0) {
        ASSERT_NE(data.records(), nullptr);
    }
    for (int32_t i = 0; i < data.recordCount(); ++i) {
        const TrafficRecord& r = data.records()[i];
        EXPECT_GE(r.threatLevel, threat::Hidden);
        EXPECT_LE(r.threatLevel, threat::RA);
        EXPECT_NE(std::memchr(r.atcId, '\0', sizeof r.atcId), nullptr);
        EXPECT_FALSE(std::isnan(r.bearing)) << "id " << r.objectId;
        EXPECT_GE(r.bearing, 0.0);
        EXPECT_LT(r.bearing, 360.0);
        if (r.objectId == 0) {
            TrafficRecord empty{};
            empty.threatLevel = threat::Hidden;
            EXPECT_EQ(std::memcmp(&r, &empty, sizeof r), 0) << "an id-0 slot stays empty";
        }
    }
    const ThreatLevel advisory = data.advisory().threatLevel;
    EXPECT_TRUE(advisory == 0 || advisory == threat::TA || advisory == threat::RA);
}

class HostileHost : public TrafficTest {
  protected:
    HostileHost() {
        stageEncounter(2, 0.5, 300.0, 100.0, 5.0);
        stageEncounter(3, 2.0, 500.0, 400.0, 5.0);
        host.scenario().addRelative(4, 200.0, 12.0, -800.0, 45.0, 250.0, 1500.0);
    }
    void runCycles(TrafficData& data, int n = 3) {
        for (int i = 0; i < n; ++i) {
            cycle(data);
            expectWellFormed(data);
            host.advance(5.0);
        }
    }
};

struct BadValueCase {
    double value;
    bool positionOnly;
};

class BadNumbers : public HostileHost, public ::testing::WithParamInterface<BadValueCase> {};

// Each variable on its own, then all at once, in the given mode.
TEST_P(BadNumbers, EveryVariableMayDeliverIt) {
    host.setPositionOnly(GetParam().positionOnly);
    for (int var = 0; var <= sim::kVarCount; ++var) {
        host.hostile().forceNumbers = true;
        host.hostile().forcedValue = GetParam().value;
        host.hostile().forcedMask = var == sim::kVarCount ? 0xFFFFFFFFu : 1u << var;
        auto data = makeData();
        runCycles(*data);
    }
}

INSTANTIATE_TEST_SUITE_P(Values, BadNumbers,
                         ::testing::Values(BadValueCase{kNan, false}, BadValueCase{kNan, true},
                                           BadValueCase{kInf, false}, BadValueCase{-kInf, true},
                                           BadValueCase{1e308, false}, BadValueCase{-1e308, true},
                                           BadValueCase{4.9e-324, false}));

TEST_F(HostileHost, UndeliveredReadsLeaveZeros) {
    host.hostile().dropReads = true;
    auto data = makeData();
    runCycles(*data);
    // Everything sits at 0N 0E at 0 ft, as does the own aircraft.
    for (int32_t i = 0; i < data->recordCount(); ++i) {
        EXPECT_EQ(data->records()[i].slantRange, 0.0);
        EXPECT_EQ(data->records()[i].threatLevel, threat::Hidden);
    }
}

TEST_F(HostileHost, CapacityZeroListsNothing) {
    auto data = makeData();
    EXPECT_EQ(cycle(*data, 0), 0u);
    host.hostile().overrideListCount = true;
    host.hostile().listCount = 50;
    EXPECT_EQ(cycle(*data, 0), 0u) << "a claimed count never exceeds the buffer";
    EXPECT_EQ(data->records(), nullptr);
}

// A capacity beyond the largest request is served as that request: the host
// is asked for at most kMaxRequestedAircraft ids, however many it claims.
TEST_F(HostileHost, HugeCapacityIsServedAtTheLimit) {
    auto data = makeData();
    const uint32_t listed = cycle(*data);
    ASSERT_GT(listed, 0u);
    for (uint32_t n : {0xFFFFFFFFu, 0x40000000u, kMaxRequestedAircraft + 1}) {
        EXPECT_EQ(cycle(*data, n), listed) << n;
        EXPECT_EQ(host.traffic().counts().lastCapacity, kMaxRequestedAircraft) << n;
    }
    host.hostile().overrideListCount = true;
    host.hostile().listCount = 0xFFFFFFFFu;
    EXPECT_EQ(cycle(*data, 0xFFFFFFFFu), kMaxRequestedAircraft);
    expectWellFormed(*data);
}

TEST_F(HostileHost, ListingCountAboveCapacityIsClamped) {
    host.hostile().overrideListCount = true;
    host.hostile().listCount = 100000;
    auto data = makeData();
    EXPECT_EQ(cycle(*data, 3), 3u);
    EXPECT_EQ(data->recordCount(), 3);
    host.hostile().listCount = 0xFFFFFFFFu;
    EXPECT_EQ(cycle(*data, 8), 8u);
    ASSERT_EQ(data->recordCount(), 8);
    // Only 5 ids were written; the rest of the buffer reads as empty slots.
    for (int32_t i = 5; i < 8; ++i) {
        EXPECT_EQ(data->records()[i].objectId, 0);
    }
    expectWellFormed(*data);
}

TEST_F(HostileHost, DuplicateIdsAreEachClassifiedAgainstATwin) {
    host.hostile().overrideListIds = true;
    host.hostile().listIds = {1, 2, 2, 3, 2, 3};
    auto data = makeData();
    runCycles(*data, 2);
    ASSERT_EQ(data->recordCount(), 6);
    EXPECT_EQ(data->records()[1].threatLevel, threat::TA);
    EXPECT_EQ(data->records()[2].threatLevel, threat::TA);
    EXPECT_EQ(data->records()[4].threatLevel, threat::TA);
}

TEST_F(HostileHost, IdZeroGivesAnEmptyHiddenRecord) {
    host.scenario().addRelative(0, 0.0, 0.3, 0.0);  // the host even has such an aircraft
    host.hostile().overrideListIds = true;
    host.hostile().listIds = {1, 0, 2, 0, 0};
    auto data = makeData();
    runCycles(*data, 3);
    ASSERT_EQ(data->recordCount(), 5);
    EXPECT_EQ(data->records()[1].threatLevel, threat::Hidden);
    EXPECT_EQ(data->records()[2].threatLevel, threat::TA);
}

TEST_F(HostileHost, NamesWithoutTerminatorAreCutAtTenCharacters) {
    host.setPositionOnly(true);
    host.hostile().unterminatedNames = true;
    host.hostile().unterminatedLength = 10;  // exactly ten bytes, nothing after them
    auto data = makeData();
    runCycles(*data, 2);
    EXPECT_STREQ(recordOf(*data, 2)->atcId, "NNNNNNNNNN");
}

TEST_F(HostileHost, OverlongNullAndEmptyNames) {
    host.setPositionOnly(true);
    host.scenario().find(2)->name = std::string(5000, 'L');
    host.scenario().find(3)->nameIsNull = true;
    host.scenario().find(4)->name = "";
    auto data = makeData();
    runCycles(*data, 1);
    EXPECT_STREQ(recordOf(*data, 2)->atcId, "LLLLLLLLLL");
    EXPECT_STREQ(recordOf(*data, 3)->atcId, "");
    EXPECT_STREQ(recordOf(*data, 4)->atcId, "");
    host.hostile().nullNames = true;
    runCycles(*data, 1);
    EXPECT_STREQ(recordOf(*data, 2)->atcId, "");
}

TEST_F(HostileHost, AtcIdFillingTheWholeBufferStaysTerminated) {
    host.hostile().fillStringBuffer = true;
    auto data = makeData();
    runCycles(*data, 1);
    EXPECT_STREQ(recordOf(*data, 2)->atcId, "XXXXXXXXXX");
}

TEST_F(HostileHost, ModeFlippingBetweenCalls) {
    const std::vector<std::vector<int32_t>> sequences = {{0, 1},    {1, 0},          {1, 0, 0},
                                                         {0, 0, 1}, {0, 1, 1, 0, 7}, {-1}};
    for (const auto& sequence : sequences) {
        host.hostile().modeSequence = sequence;
        auto data = makeData();
        runCycles(*data, 4);
    }
}

TEST_F(HostileHost, ClockGoingBackwardsOrNotANumber) {
    auto data = makeData();
    runCycles(*data, 2);
    ASSERT_EQ(recordOf(*data, 2)->threatLevel, threat::TA);
    host.setTime(host.time() - 30.0);
    cycle(*data);
    expectWellFormed(*data);
    EXPECT_EQ(recordOf(*data, 2)->threatLevel, threat::Hidden);
    EXPECT_EQ(data->previousTime(), host.time()) << "the new time base is taken over";
    host.advance(5.0);
    cycle(*data);
    EXPECT_EQ(recordOf(*data, 2)->threatLevel, threat::TA) << "classification resumes";

    host.setTime(kNan);
    runCycles(*data, 2);
    host.setTime(100.0);
    runCycles(*data, 2);
    EXPECT_EQ(recordOf(*data, 2)->threatLevel, threat::TA);
    host.setTime(kInf);
    runCycles(*data, 2);
}

TEST_F(HostileHost, NonNumberRangeAndSeparations) {
    auto data = makeData();
    separations = {kNan, kNan, kNan, kNan, kNan, kNan};
    data->setDisplayThresholds(kNan, kNan, kNan, kNan, kNan, kNan);
    runCycles(*data, 3);
    for (double range : {kNan, kInf, -5.0, 1e308}) {
        cycle(*data, 100, range);
        expectWellFormed(*data);
    }
}

// A small deterministic fuzz run: random values for random reads, random
// modes, ids and clock steps.
TEST_F(HostileHost, RandomisedMisbehaviour) {
    std::mt19937 rng(20240611u);
    const double specials[] = {kNan, kInf, -kInf, 1e308, -1e308, 0.0, -0.0, 4.9e-324, 90.0, 180.0};
    host.hostile().numberHook = [&](int32_t, int32_t, double& v) {
        const unsigned pick = rng() % 8;
        if (pick == 0) {
            v = specials[rng() % 10];
        } else if (pick == 1) {
            v = std::uniform_real_distribution<double>(-1e6, 1e6)(rng);
        }
    };
    host.hostile().modeSequence = {0, 0, 1, 0, 1, 1, 0};
    host.hostile().overrideListIds = true;
    for (int round = 0; round < 40; ++round) {
        host.hostile().listIds.clear();
        const int n = static_cast<int>(rng() % 12);
        for (int i = 0; i < n; ++i) {
            host.hostile().listIds.push_back(rng() % 6);
        }
        host.hostile().overrideListCount = rng() % 4 == 0;
        host.hostile().listCount = rng();
        auto data = makeData();
        for (int i = 0; i < 4; ++i) {
            cycle(*data, rng() % 10);
            expectWellFormed(*data);
            host.advance(static_cast<double>(rng() % 7) - 1.0);
        }
    }
}

}  // namespace
}  // namespace cs::test
