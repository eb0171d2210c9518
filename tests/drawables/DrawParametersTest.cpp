// The parameter table as the host sees it, and what one draw gathers from
// it: the kind's defaults, the reads in order, and the counts.
#include <cmath>
#include <limits>
#include <string>

#include "DrawableFixture.h"
#include "drawables/DrawParameters.h"

namespace cs {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Expected {
    const char* name;
    int32_t id;
    int32_t type;
};

constexpr Expected kExpectedDeclarations[] = {
    {"Range", 0, 2},
    {"Heading", 1, 2},
    {"Brightness", 2, 3},
    {"OtherColour", 3, 3},
    {"ProximityColour", 4, 3},
    {"TAColour", 5, 3},
    {"RAColour", 6, 3},
    {"AntiAlias", 7, 3},
    {"MaxRange", 8, 2},
    {"MaxNumAct", 9, 2},
    {"CenterX", 10, 2},
    {"CenterY", 11, 2},
    {"SymbolSize", 12, 2},
    {"OtherDetail", 13, 3},
    {"ProximityDetail", 14, 3},
    {"TADetail", 15, 3},
    {"RADetail", 16, 3},
    {"FixedResolution", 17, 3},
    {"PadSymbols", 18, 3},
    {"Font", 19, 4},
    {"OtherMinRAlt", 20, 2},
    {"OtherAboveAlt", 21, 2},
    {"OtherBelowAlt", 22, 2},
    {"ProximityRange", 23, 2},
    {"ProximityAboveAlt", 24, 2},
    {"ProximityBelowAlt", 25, 2},
    {"MaxDispNumAct", 26, 3},
    {"InactiveColour", 3, 3},
    {"StandardColour", 4, 3},
};

using DrawParameters = DrawableTest;

TEST_F(DrawParameters, EveryKindDeclaresAllNamesInOrderBeforeCreation) {
    for (int32_t kind : {0, 1, 2, -1, 1000}) {
        SCOPED_TRACE(kind);
        MyGaugeCDrawable* drawable = make(kind);
        EXPECT_EQ(drawable != nullptr, kind == 0 || kind == 1);
        const auto& declared = declarations.declarations();
        ASSERT_EQ(declared.size(), std::size(kExpectedDeclarations));
        for (size_t i = 0; i < declared.size(); ++i) {
            EXPECT_EQ(declared[i].name, kExpectedDeclarations[i].name) << i;
            EXPECT_EQ(declared[i].id, kExpectedDeclarations[i].id) << i;
            EXPECT_EQ(declared[i].type, kExpectedDeclarations[i].type) << i;
        }
    }
}

TEST_F(DrawParameters, AbsentDeclarationObjectStillCreatesTheDrawable) {
    IGaugeCDrawable* drawable = gauge->createDrawable(1, nullptr);
    ASSERT_NE(drawable, nullptr);
    EXPECT_EQ(drawable->release(), 0u);
    EXPECT_EQ(gauge->createDrawable(2, nullptr), nullptr);
}

// The values a gauge gets when it supplies nothing, per kind.
struct KindDefaults {
    int32_t kind;
    int32_t colours[4];
    int32_t details[4];
    double limits[6];
    double maxRange;
};

constexpr KindDefaults kKindDefaults[] = {
    {1,
     {0xF0F0F0, 0xF0F0F0, 0xFFFF00, 0xFF0000},
     {10, 14, 14, 14},
     {50.0, 2700.0, 2700.0, 6.0, 1200.0, 1200.0},
     40.0},
    {0,
     {0xF0F0F0, 0x00FF00, 0xFFFF00, 0xFF0000},
     {10, 10, 10, 10},
     {0.0, 100000.0, 100000.0, 100.0, 100000.0, 100000.0},
     100.0},
};

TEST_F(DrawParameters, DefaultsOfEachKindWithNothingSupplied) {
    gauge->range = 12.5;
    gauge->brightness = 77;
    for (const KindDefaults& expected : kKindDefaults) {
        SCOPED_TRACE(expected.kind);
        MyGaugeCDrawable* drawable = make(expected.kind);
        ASSERT_NE(drawable, nullptr);
        DrawSettings s;
        ASSERT_EQ(gatherDrawSettings(*drawable, &values, 201, 150, s), GatherOutcome::Complete);
        EXPECT_EQ(s.range, 12.5);
        EXPECT_EQ(s.brightness, 77);
        EXPECT_EQ(s.heading, 0.0);
        EXPECT_EQ(s.otherColour, expected.colours[0]);
        EXPECT_EQ(s.proximityColour, expected.colours[1]);
        EXPECT_EQ(s.taColour, expected.colours[2]);
        EXPECT_EQ(s.raColour, expected.colours[3]);
        EXPECT_EQ(s.otherDetail, expected.details[0]);
        EXPECT_EQ(s.proximityDetail, expected.details[1]);
        EXPECT_EQ(s.taDetail, expected.details[2]);
        EXPECT_EQ(s.raDetail, expected.details[3]);
        const double limits[6] = {s.otherMinRAlt,   s.otherAboveAlt,     s.otherBelowAlt,
                                  s.proximityRange, s.proximityAboveAlt, s.proximityBelowAlt};
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(limits[i], expected.limits[i]) << i;
        }
        EXPECT_EQ(drawable->maxRange(), expected.maxRange);
        EXPECT_EQ(drawable->maxNumAct(), 100.0);
        EXPECT_EQ(s.maxDisplayed, 100);
        EXPECT_EQ(s.centerX, 100.0);  // 201 div 2
        EXPECT_EQ(s.centerY, 75.0);
        EXPECT_EQ(s.symbolSize, 1.0);
        EXPECT_EQ(s.antiAlias, 1);
        EXPECT_EQ(s.fixedResolution, 0);
        EXPECT_EQ(s.padSymbols, 0);
        EXPECT_EQ(s.font, nullptr);
    }
}

TEST_F(DrawParameters, ReadsEachParameterOnceWithItsTypeInTheFixedOrder) {
    MyGaugeCDrawable* drawable = make(1);
    DrawSettings s;
    values.clearReads();
    ASSERT_EQ(gatherDrawSettings(*drawable, &values, 100, 100, s), GatherOutcome::Complete);
    using R = sim::ParameterRead;
    const sim::ParameterReadEvent expected[] = {
        {R::HorizontalScale, -1},
        {R::VerticalScale, -1},
        {R::Real, 0},
        {R::Real, 1},
        {R::Integer, 2},
        {R::Integer, 3},
        {R::Integer, 4},
        {R::Integer, 5},
        {R::Integer, 6},
        {R::Integer, 7},
        {R::Real, 10},
        {R::Real, 11},
        {R::Real, 12},
        {R::Integer, 13},
        {R::Integer, 14},
        {R::Integer, 15},
        {R::Integer, 16},
        {R::Integer, 17},
        {R::Integer, 18},
        {R::String, 19},
        {R::Real, 8},
        {R::Real, 9},
        {R::Real, 20},
        {R::Real, 21},
        {R::Real, 22},
        {R::Real, 23},
        {R::Real, 24},
        {R::Real, 25},
        {R::Integer, 26},
    };
    const auto& reads = values.reads();
    ASSERT_EQ(reads.size(), std::size(expected));
    for (size_t i = 0; i < reads.size(); ++i) {
        EXPECT_EQ(reads[i].kind, expected[i].kind) << i;
        EXPECT_EQ(reads[i].id, expected[i].id) << i;
        if (reads[i].id >= 0) {
            EXPECT_EQ(
                static_cast<int32_t>(drawParameterType(static_cast<DrawParameterId>(reads[i].id))),
                reads[i].kind == R::Real      ? 2
                : reads[i].kind == R::Integer ? 3
                                              : 4);
        }
    }
}

TEST_F(DrawParameters, SuppliedValuesOverrideDefaultsAndSecondNamesShareTheirIds) {
    MyGaugeCDrawable* drawable = make(0);
    ASSERT_TRUE(values.set("InactiveColour", 0x123456));
    ASSERT_TRUE(values.set("standardcolour", 0x654321));
    ASSERT_TRUE(values.set("Range", 7.5));
    ASSERT_TRUE(values.set("Heading", 270.0));
    ASSERT_TRUE(values.set("SymbolSize", 2.5));
    ASSERT_TRUE(values.set("CenterX", 33.0));
    ASSERT_TRUE(values.set("RADetail", 31));
    ASSERT_TRUE(values.setText("Font", "Courier"));
    ASSERT_FALSE(values.set("Font", 1.0));
    ASSERT_FALSE(values.set("NoSuchParameter", 1.0));
    DrawSettings s;
    ASSERT_EQ(gatherDrawSettings(*drawable, &values, 100, 100, s), GatherOutcome::Complete);
    EXPECT_EQ(s.otherColour, 0x123456);
    EXPECT_EQ(s.proximityColour, 0x654321);
    EXPECT_EQ(s.range, 7.5);
    EXPECT_EQ(s.heading, 270.0);
    EXPECT_EQ(s.symbolSize, 2.5);
    EXPECT_EQ(s.centerX, 33.0);
    EXPECT_EQ(s.centerY, 50.0);
    EXPECT_EQ(s.raDetail, 31);
    ASSERT_NE(s.font, nullptr);
    EXPECT_STREQ(s.font, "Courier");
}

TEST_F(DrawParameters, RadarProximityRangeFollowsTheMaxRangeOfThePreviousDraw) {
    MyGaugeCDrawable* drawable = make(0);
    values.set("MaxRange", 30.0);
    DrawSettings s;
    gatherDrawSettings(*drawable, &values, 100, 100, s);
    EXPECT_EQ(s.proximityRange, 100.0);
    EXPECT_EQ(drawable->maxRange(), 30.0);
    gatherDrawSettings(*drawable, &values, 100, 100, s);
    EXPECT_EQ(s.proximityRange, 30.0);
}

TEST_F(DrawParameters, DefaultCentreIsInGaugeUnits) {
    MyGaugeCDrawable* drawable = make(1);
    values.setScale(2.0, 4.0);
    DrawSettings s;
    gatherDrawSettings(*drawable, &values, 201, -7, s);
    EXPECT_EQ(s.centerX, 50.0);   // (201 div 2) / 2
    EXPECT_EQ(s.centerY, -0.75);  // (-7 div 2, toward zero) / 4
}

TEST_F(DrawParameters, GatheringStopsWithoutParametersOrWithoutGauge) {
    MyGaugeCDrawable* drawable = make(1);
    DrawSettings s;
    values.set("MaxRange", 12.0);
    EXPECT_EQ(gatherDrawSettings(*drawable, nullptr, 100, 100, s), GatherOutcome::NoParameters);
    EXPECT_EQ(s.taColour, 0xFFFF00);  // defaults are in place
    EXPECT_EQ(s.centerX, 50.0);
    EXPECT_EQ(drawable->maxRange(), 40.0);  // nothing was read

    releaseGaugeFirst();
    values.setScale(2.0, 2.0);
    EXPECT_EQ(gatherDrawSettings(*drawable, &values, 100, 100, s), GatherOutcome::NoGauge);
    EXPECT_EQ(s.centerX, 25.0);
    EXPECT_EQ(drawable->maxRange(), 40.0);
}

TEST_F(DrawParameters, MaxDispNumActDefaultsToTheRoundedMaxNumActOfThisDraw) {
    MyGaugeCDrawable* drawable = make(1);
    values.set("MaxNumAct", 2.5);
    DrawSettings s;
    gatherDrawSettings(*drawable, &values, 100, 100, s);
    EXPECT_EQ(s.maxDisplayed, 3);
    values.set("MaxDispNumAct", -4);
    gatherDrawSettings(*drawable, &values, 100, 100, s);
    EXPECT_EQ(s.maxDisplayed, -4);  // the renderer displays nothing for it
}

struct CountCase {
    double maxNumAct;
    uint32_t requested;
    int32_t displayed;
};

TEST(DrawParameterCounts, RequestTruncatesDisplayRoundsBothSaturate) {
    const CountCase cases[] = {
        {100.0, 100, 100},
        {2.5, 2, 3},
        {99.9, 99, 100},
        {0.4, 0, 0},
        {0.5, 0, 1},
        {-0.5, 0, 0},
        {-3.0, 0, 0},
        {kNaN, 0, 0},
        {kInf, 0xFFFFFFFFu, 2147483647},
        {-kInf, 0, 0},
        {4294967295.5, 0xFFFFFFFFu, 2147483647},
        {1e12, 0xFFFFFFFFu, 2147483647},
        {2147483646.4, 2147483646u, 2147483646},
        {2147483647.0, 2147483647u, 2147483647},
    };
    for (const CountCase& c : cases) {
        SCOPED_TRACE(c.maxNumAct);
        EXPECT_EQ(requestedAircraftCount(c.maxNumAct), c.requested);
        EXPECT_EQ(displayedAircraftCount(c.maxNumAct), c.displayed);
    }
}

// The replacement host converts a number a gauge gives an integer parameter
// the way a panel system must: no undefined conversion, colours keep their bits.
TEST(HostParameterValues, RealsBecomeIntegersWithoutUndefinedConversions) {
    const struct {
        double value;
        int32_t integer;
    } cases[] = {
        {127.9, 127},       {-127.9, -127},
        {kNaN, 0},          {4278190080.0, static_cast<int32_t>(0xFF000000u)},
        {4294967295.0, -1}, {4294967296.0, 2147483647},
        {kInf, 2147483647}, {-kInf, -2147483647 - 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(sim::integerParameterFromReal(c.value), c.integer);
    }
    sim::DrawParameterValues values;
    values.setReal(5, 2.75);
    int32_t integer = 9;
    EXPECT_TRUE(values.readInteger(5, &integer));
    EXPECT_EQ(integer, 2);
    const char* text = "kept";
    EXPECT_FALSE(values.readString(5, &text));  // a number is no text
    EXPECT_STREQ(text, "kept");
    double real = 1.5;
    EXPECT_FALSE(values.readReal(6, &real));  // not supplied
    EXPECT_EQ(real, 1.5);
    EXPECT_FALSE(values.readReal(-1, &real));
    EXPECT_FALSE(values.readReal(100000, &real));
}

}  // namespace
}  // namespace cs
