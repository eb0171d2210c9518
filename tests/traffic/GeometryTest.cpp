// Relative geometry: great-circle distance and bearing, slant range, and
// track and ground speed from the host's velocities.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "TrafficTestSupport.h"

namespace cs::test {
namespace {

struct CourseCase {
    const char* what;
    double lat1, lon1, lat2, lon2;
    double distance, bearing;
};

class GreatCircleCases : public ::testing::TestWithParam<CourseCase> {};

TEST_P(GreatCircleCases, DistanceAndBearingFromPointTwoToPointOne) {
    const CourseCase& c = GetParam();
    const GreatCircleResult r = TrafficData::greatCircle(c.lat1, c.lon1, c.lat2, c.lon2);
    EXPECT_NEAR(r.distance, c.distance, 1e-6) << c.what;
    EXPECT_NEAR(r.bearing, c.bearing, 1e-6) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cardinal, GreatCircleCases,
    ::testing::Values(CourseCase{"north", 1.0, 0.0, 0.0, 0.0, 60.0, 0.0},
                      CourseCase{"east", 0.0, 1.0, 0.0, 0.0, 60.0, 90.0},
                      CourseCase{"west", 0.0, -1.0, 0.0, 0.0, 60.0, 270.0},
                      CourseCase{"south", -1.0, 0.0, 0.0, 0.0, 60.0, 180.0},
                      CourseCase{"coincident at the origin", 0.0, 0.0, 0.0, 0.0, 0.0, 180.0},
                      CourseCase{"coincident elsewhere", 47.5, 8.25, 47.5, 8.25, 0.0, 180.0},
                      CourseCase{"coincident at a pole", 90.0, 0.0, 90.0, 0.0, 0.0, 180.0},
                      CourseCase{"antipodal on the equator", 0.0, 180.0, 0.0, 0.0, 10800.0, 90.0}));

TEST(GreatCircle, AntipodalPointsAreTheFarthestDistance) {
    EXPECT_DOUBLE_EQ(TrafficData::greatCircle(0.0, 0.0, 0.0, 180.0).distance, 10800.0);
    EXPECT_NEAR(TrafficData::greatCircle(45.0, 10.0, -45.0, -170.0).distance, 10800.0, 1e-6);
    EXPECT_NEAR(TrafficData::greatCircle(90.0, 0.0, -90.0, 0.0).distance, 10800.0, 1e-6);
}

// Points where rounding pushes the course's cosine outside -1..1, or where the
// course is undefined (poles): the bearing must stay a number in range.
TEST(GreatCircle, BearingStaysInRangeAtDegenerateGeometry) {
    const double points[][4] = {
        {0.0, 180.0, 0.0, 0.0},
        {45.0, 10.0, -45.0, -170.0},
        {90.0, 0.0, 0.0, 0.0},
        {0.0, 0.0, 90.0, 0.0},
        {-90.0, 10.0, 89.9999999, 10.0},
        {1e-12, 0.0, 0.0, 0.0},
        {0.0, 1e-12, 0.0, 0.0},
        {30.0, 40.0, 30.0 + 1e-13, 40.0 + 1e-13},
        {89.99999, 0.0, 89.99999, 180.0},
        {12.0, 179.999999, 12.0, -179.999999},
    };
    for (const auto& p : points) {
        const GreatCircleResult r = TrafficData::greatCircle(p[0], p[1], p[2], p[3]);
        EXPECT_TRUE(std::isfinite(r.distance)) << p[0] << " " << p[1] << " " << p[2] << " " << p[3];
        EXPECT_GE(r.bearing, 0.0);
        EXPECT_LT(r.bearing, 360.0);
    }
}

TEST(GreatCircle, NonNumberPositionsGiveNoDistanceButABearing) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double bad[] = {nan, inf, -inf};
    for (double v : bad) {
        const GreatCircleResult r = TrafficData::greatCircle(v, 0.0, 0.0, v);
        EXPECT_TRUE(std::isnan(r.distance));
        EXPECT_TRUE(std::isfinite(r.bearing));
    }
}

TEST(CompareRecordIds, OrdersByIdWithoutOverflowAndIgnoresMissingRecords) {
    TrafficRecord low{};
    TrafficRecord high{};
    low.objectId = INT32_MIN;
    high.objectId = INT32_MAX;
    EXPECT_LT(TrafficData::compareRecordIds(&low, &high), 0);
    EXPECT_GT(TrafficData::compareRecordIds(&high, &low), 0);
    EXPECT_EQ(TrafficData::compareRecordIds(&high, &high), 0);
    EXPECT_EQ(TrafficData::compareRecordIds(nullptr, &high), 0);
    EXPECT_EQ(TrafficData::compareRecordIds(&low, nullptr), 0);
}

class CycleGeometry : public TrafficTest {};

TEST_F(CycleGeometry, SlantRangeCombinesDistanceAndAltitudeDifference) {
    host.scenario().addRelative(2, 0.0, 1.0, 1000.0);
    auto data = makeData();
    cycle(*data);
    const TrafficRecord* r = recordOf(*data, 2);
    ASSERT_NE(r, nullptr);
    EXPECT_NEAR(r->distance, 1.0, 1e-9);
    EXPECT_NEAR(r->altDiff, 1000.0, 1e-9);
    EXPECT_NEAR(r->slantRange, std::sqrt(1000.0 * 1000.0 + 6075.6296 * 6075.6296), 1e-3);
    EXPECT_NEAR(r->slantRange, 6157.38, 0.01);
}

TEST_F(CycleGeometry, BearingIsFromTheOwnAircraftToTheTraffic) {
    host.scenario().own().at(47.0, 8.0, 5000.0);
    const double bearings[] = {0.0, 30.0, 90.0, 135.0, 180.0, 225.0, 270.0, 359.0};
    int32_t id = 10;
    for (double b : bearings) {
        host.scenario().addRelative(id++, b, 7.5, -300.0);
    }
    auto data = makeData();
    cycle(*data);
    id = 10;
    for (double b : bearings) {
        const TrafficRecord* r = recordOf(*data, id++);
        ASSERT_NE(r, nullptr);
        // The course comes from an arc cosine, which loses precision near due
        // north and south; compare on the circle.
        const double off = std::fabs(std::remainder(r->bearing - b, 360.0));
        EXPECT_LT(off, 1e-4) << "placed at " << b << ", got " << r->bearing;
        EXPECT_NEAR(r->distance, 7.5, 1e-6);
        EXPECT_NEAR(r->altDiff, -300.0, 1e-9);
    }
}

struct VelocityCase {
    double north, east, track, groundSpeed;
};

class TrackFromVelocity : public TrafficTest, public ::testing::WithParamInterface<VelocityCase> {};

TEST_P(TrackFromVelocity, FullDataTrackAndGroundSpeed) {
    const VelocityCase& c = GetParam();
    sim::Aircraft& a = host.scenario().addRelative(2, 45.0, 3.0, 0.0);
    a.velocityNorth = c.north;
    a.velocityEast = c.east;
    a.headingTrue = 123.0;  // not used in full-data mode
    auto data = makeData();
    cycle(*data);
    const TrafficRecord* r = recordOf(*data, 2);
    ASSERT_NE(r, nullptr);
    EXPECT_NEAR(r->trackAngle, c.track, 1e-9);
    EXPECT_NEAR(r->groundSpeed, c.groundSpeed, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Velocities, TrackFromVelocity,
                         ::testing::Values(VelocityCase{-100.0, 0.0, 180.0, 100.0},
                                           VelocityCase{0.0, -50.0, 270.0, 50.0},
                                           VelocityCase{100.0, 0.0, 0.0, 100.0},
                                           VelocityCase{0.0, 80.0, 90.0, 80.0},
                                           VelocityCase{30.0, 40.0, 53.13010235415598, 50.0},
                                           VelocityCase{0.0, 0.0, 0.0, 0.0}));

TEST_F(CycleGeometry, PositionOnlyKeepsTheHeadingAsTrack) {
    host.setPositionOnly(true);
    sim::Aircraft& a = host.scenario().addRelative(2, 45.0, 3.0, 0.0, 90.0, 200.0);
    a.headingTrue = 123.0;
    auto data = makeData();
    cycle(*data);
    const TrafficRecord* r = recordOf(*data, 2);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->trackAngle, 123.0);
    EXPECT_EQ(r->groundSpeed, 0.0);
}

}  // namespace
}  // namespace cs::test
