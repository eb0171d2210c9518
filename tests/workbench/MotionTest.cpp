// The arithmetic of rotations and shifts: limits, tables running either way,
// angles between items the short way round, the follow of a delay, and the
// mask bitmap turned into the rectangles the replayers clip with.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "testsupport/TestNames.h"
#include "tools/workbench/MaskRuns.h"
#include "tools/workbench/Motion.h"

namespace cs::workbench {
namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;

gauge::NonlinearItem degrees(double value, double d) {
    gauge::NonlinearItem i;
    i.value = value;
    i.hasDegrees = true;
    i.degrees = d;
    return i;
}

gauge::NonlinearItem point(double value, double x, double y) {
    gauge::NonlinearItem i;
    i.value = value;
    i.x = x;
    i.y = y;
    return i;
}

struct RotationCase {
    const char* label;
    std::vector<gauge::NonlinearItem> table;
    bool limits;
    double value;
    double expected;  // degrees clockwise from 12 o'clock
};

const RotationCase kRotations[] = {
    {"no table: the value in radians", {}, false, 0.5 / kDegree* kDegree, 0.5 / kDegree},
    {"no table, past the maximum of 1", {}, true, 3.0, 1.0 / kDegree},
    {"no table, below the minimum of -1", {}, true, -3.0, -1.0 / kDegree},
    // Points seen from the pivot at (50, 50): (50, 90) is straight down.
    {"points: between two, in proportion",
     {point(0, 50, 90), point(10, 10, 50)},
     false,
     5.0,
     225.0},
    {"points: before the first item", {point(0, 50, 90), point(10, 10, 50)}, false, -4.0, 180.0},
    {"points: past the last item", {point(0, 50, 90), point(10, 10, 50)}, false, 14.0, 270.0},
    // Degrees after Degrees go as far round as the numbers say: a 270-degree
    // dial through 12 o'clock, a clock hand's whole turn, and 350 to 10 back
    // round as written.
    {"degrees: three quarters of a turn", {degrees(0, -135), degrees(10, 135)}, false, 7.5, 67.5},
    {"degrees: a whole turn", {degrees(0, 0), degrees(60, 360)}, false, 45.0, 270.0},
    {"degrees: back round as written", {degrees(0, 350), degrees(10, 10)}, false, 5.0, 180.0},
    // A point after Degrees is reached the shorter way round.
    {"degrees then a point", {degrees(0, 350), point(10, 100, 50)}, false, 5.0, 40.0},
    {"degrees: a table running down in value", {degrees(10, 0), degrees(0, 90)}, false, 2.5, 67.5},
    {"a single item holds", {degrees(3, 42)}, false, 99.0, 42.0},
    {"three items, the last segment",
     {degrees(0, 0), degrees(1, 90), degrees(3, 270)},
     false,
     2.0,
     180.0},
};

class Rotations : public ::testing::TestWithParam<RotationCase> {};

TEST_P(Rotations, PointWhereTheTableSays) {
    const RotationCase& c = GetParam();
    gauge::Motion m;
    m.table = c.table;
    m.hasMinimum = m.hasMaximum = c.limits;
    m.minimum = -1.0;
    m.maximum = 1.0;
    const double angle = rotationAngle(m, c.value, 50.0, 50.0) / kDegree;
    EXPECT_NEAR(std::remainder(angle - c.expected, 360.0), 0.0, 1e-9) << angle;
}

INSTANTIATE_TEST_SUITE_P(Table, Rotations, ::testing::ValuesIn(kRotations), test::ByLabel());

TEST(Shifts, ScaleTableAndLimits) {
    gauge::Motion scaled;
    scaled.hasScale = true;
    scaled.scaleX = 0.5;
    scaled.scaleY = -2.0;
    scaled.hasMaximum = true;
    scaled.maximum = 10.0;
    EXPECT_DOUBLE_EQ(shiftOffset(scaled, 4.0).x, 2.0);
    EXPECT_DOUBLE_EQ(shiftOffset(scaled, 4.0).y, -8.0);
    EXPECT_DOUBLE_EQ(shiftOffset(scaled, 40.0).y, -20.0);  // held at the maximum

    gauge::Motion table;
    table.table = {point(0, 0, 0), point(10, 0, 100), point(20, 30, 100)};
    EXPECT_DOUBLE_EQ(shiftOffset(table, 3.5).y, 35.0);
    EXPECT_DOUBLE_EQ(shiftOffset(table, 15.0).x, 15.0);
    EXPECT_DOUBLE_EQ(shiftOffset(table, 15.0).y, 100.0);
    EXPECT_DOUBLE_EQ(shiftOffset(table, 25.0).x, 30.0);
}

TEST(Follow, StepsTowardsTheTargetAndStopsOnIt) {
    EXPECT_DOUBLE_EQ(follow(10.0, 20.0, 3.0), 13.0);
    EXPECT_DOUBLE_EQ(follow(10.0, 0.0, 3.0), 7.0);
    EXPECT_DOUBLE_EQ(follow(10.0, 11.0, 3.0), 11.0);
    EXPECT_DOUBLE_EQ(follow(10.0, 20.0, HUGE_VAL), 20.0);
    // A shift follows along the straight line to its target.
    const Offset o = follow(Offset{0, 0}, Offset{30, 40}, 10.0);
    EXPECT_DOUBLE_EQ(o.x, 6.0);
    EXPECT_DOUBLE_EQ(o.y, 8.0);
    EXPECT_DOUBLE_EQ(follow(Offset{0, 0}, Offset{3, 4}, 10.0).y, 4.0);
}

// A 6 x 4 mask with a 2 x 2 window at (1,1) and a lone pixel at (5,3).
TEST(MaskRuns, OpaquePixelsAsRectanglesGrowingDownwards) {
    GaugeImage mask;
    mask.width = 6;
    mask.height = 4;
    mask.argb.assign(24, 0u);
    for (int y = 1; y <= 2; ++y) {
        for (int x = 1; x <= 2; ++x) {
            mask.argb[static_cast<size_t>(y * 6 + x)] = 0xFFFFFFFFu;
        }
    }
    mask.argb[3 * 6 + 5] = 0xFF102030u;
    const std::vector<PixelRect> runs = opaqueRuns(mask);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_DOUBLE_EQ(runs[0].x, 1.0);
    EXPECT_DOUBLE_EQ(runs[0].y, 1.0);
    EXPECT_DOUBLE_EQ(runs[0].width, 2.0);
    EXPECT_DOUBLE_EQ(runs[0].height, 2.0);
    EXPECT_DOUBLE_EQ(runs[1].x, 5.0);
    EXPECT_DOUBLE_EQ(runs[1].y, 3.0);
    EXPECT_DOUBLE_EQ(runs[1].height, 1.0);
}

}  // namespace
}  // namespace cs::workbench
