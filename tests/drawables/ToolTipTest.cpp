// The aircraft under the mouse as the gauge reads it after a frame, the
// tool-tip text, and the advisory copy.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "DrawableFixture.h"
#include "drawables/ToolTip.h"

namespace cs {
namespace {

TEST(ToolTipAltitude, RoundsToHundredsHalvesUp) {
    const struct {
        double altDiff;
        int32_t shown;
    } cases[] = {
        {-250.0, -200},
        {250.0, 300},
        {49.0, 0},
        {-1234.0, -1200},
        {-49.0, 0},
        {-51.0, -100},
        {150.0, 200},
        {-150.0, -100},
        {0.0, 0},
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {1e300, 2147483600},
        {-1e300, -2147483600},
        {std::numeric_limits<double>::infinity(), 2147483600},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.altDiff);
        EXPECT_EQ(toolTipAltitude(c.altDiff), c.shown);
    }
}

TrafficRecord hovered(const char* atcId, double altDiff, double groundSpeed, double track,
                      double distance) {
    TrafficRecord record = aircraftAt(5, atcId, 45.0, distance, threat::TA, altDiff);
    record.groundSpeed = groundSpeed;
    record.trackAngle = track;
    return record;
}

TEST(ToolTipText, FormatsTheHoveredAircraft) {
    char text[kToolTipCapacity];
    const struct {
        TrafficRecord record;
        const char* expected;
    } cases[] = {
        {hovered("N123AB", -250.0, 249.6, 359.6, 3.25),
         "ID: N123AB ALT: -200ft GS: 250kt TRK: 360\xB0 DST: 3.2nm"},
        {hovered("DLH4", 250.0, 0.0, 90.0, 0.04),
         "ID: DLH4 ALT: 300ft GS: 0kt TRK: 90\xB0 DST: 0.0nm"},
        {hovered("X", 49.0, 100.0, 0.0, 12.0), "ID: X ALT: 0ft GS: 100kt TRK: 0\xB0 DST: 12.0nm"},
        {hovered("ABCDEFGHIJ", -1234.0, 5.0, 5.0, 5.0),
         "ID: ABCDEFGHIJ ALT: -1200ft GS: 5kt TRK: 5\xB0 DST: 5.0nm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        const size_t length = formatToolTip(c.record, text, sizeof text);
        EXPECT_STREQ(text, c.expected);
        EXPECT_EQ(length, std::strlen(c.expected));
    }
}

TEST(ToolTipText, EmptyIdentifierGivesAnEmptyText) {
    char text[kToolTipCapacity];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(formatToolTip(hovered("", 500.0, 200.0, 10.0, 1.0), text, sizeof text), 0u);
    for (char c : text) {
        EXPECT_EQ(c, '\0');  // all 81 bytes cleared
    }
}

TEST(ToolTipText, NeverWritesBeyondItsCapacity) {
    struct Guarded {
        char text[kToolTipCapacity];
        char guard[16];
    } buffer;
    std::memset(&buffer, 0x5A, sizeof buffer);
    TrafficRecord record = hovered("ABCDEFGHIJ", -1e300, 1e300, -1e300, 1e300);
    std::memset(record.atcId, 'Q', sizeof record.atcId);  // no terminator at all
    const size_t length = formatToolTip(record, buffer.text, sizeof buffer.text);
    EXPECT_EQ(length, 80u);
    EXPECT_EQ(buffer.text[80], '\0');
    EXPECT_EQ(std::string(buffer.text, 15), "ID: QQQQQQQQQQ ");  // the id stays 10 long
    for (char c : buffer.guard) {
        EXPECT_EQ(c, 0x5A);
    }
    // Not-a-number values print as such, within bounds.
    record = hovered("NAN1", std::nan(""), std::nan(""), std::nan(""), std::nan(""));
    formatToolTip(record, buffer.text, sizeof buffer.text);
    EXPECT_STREQ(buffer.text, "ID: NAN1 ALT: 0ft GS: nankt TRK: nan\xB0 DST: nannm");
}

using Hover = DrawableTest;

// 200 x 200 pixels, range 10: 0.1 nm per unit, centre at (100, 100).
TEST_F(Hover, FrameCopiesTheAircraftUnderTheMouseIntoTheGauge) {
    MyGaugeCDrawable* drawable = make(1);
    values.set("Range", 10.0);
    TrafficRecord east = aircraftAt(11, "EAST", 90.0, 5.0, threat::TA, 250.0);
    east.groundSpeed = 180.0;
    east.trackAngle = 270.0;
    east.altitude = 10250.0;
    east.radAlt = 3000.0;
    stage(drawable, {aircraftAt(1, "OWN", 0, 0, threat::Hidden), east,
                     aircraftAt(12, "NORTH", 0.0, 5.0, threat::Other)});
    gauge->mouseRelPosX = 0.75;  // (100 + 50) / 200
    gauge->mouseRelPosY = 0.51;  // 2 px off, within 3 x symbol size
    EXPECT_TRUE(draw(drawable));
    EXPECT_STREQ(gauge->toolTipText, "ID: EAST ALT: 300ft GS: 180kt TRK: 270\xB0 DST: 5.0nm");
    EXPECT_EQ(gauge->toolTipTarget.objectId, 11);
    double value = 0.0;
    ASSERT_TRUE(gauge->getNumberProperty(16, &value));  // toolTipDist
    EXPECT_EQ(value, 5.0);
    ASSERT_TRUE(gauge->getNumberProperty(28, &value));  // toolTipRadAlt
    EXPECT_EQ(value, 3000.0);

    // Moving the mouse away changes nothing until the next frame...
    gauge->mouseRelPosX = 0.5;
    gauge->mouseRelPosY = 0.25;  // onto NORTH at (100, 50)
    EXPECT_FALSE(draw(drawable));
    EXPECT_EQ(gauge->toolTipTarget.objectId, 11);
    // ...which replaces the tool-tip completely.
    gauge->brightness = 254;
    EXPECT_TRUE(draw(drawable));
    EXPECT_EQ(gauge->toolTipTarget.objectId, 12);
    EXPECT_STREQ(gauge->toolTipText, "ID: NORTH ALT: 0ft GS: 0kt TRK: 0\xB0 DST: 5.0nm");

    gauge->mouseRelPosX = 0.0;  // nothing near the corner
    gauge->mouseRelPosY = 0.0;
    gauge->brightness = 253;
    EXPECT_TRUE(draw(drawable));
    EXPECT_EQ(gauge->toolTipText[0], '\0');
    EXPECT_EQ(gauge->toolTipTarget.objectId, 0);
    EXPECT_EQ(gauge->toolTipTarget.distance, 0.0);
}

TEST_F(Hover, EmptyIdentifierKeepsTheNumbersButNoText) {
    MyGaugeCDrawable* drawable = make(1);
    values.set("Range", 10.0);
    TrafficRecord anonymous = aircraftAt(21, "", 180.0, 2.0, threat::Proximity, -1234.0);
    anonymous.groundSpeed = 95.0;
    stage(drawable, {aircraftAt(1, "OWN", 0, 0, threat::Hidden), anonymous});
    gauge->mouseRelPosX = 0.5;
    gauge->mouseRelPosY = 0.6;  // (100, 120): 2 nm south
    EXPECT_TRUE(draw(drawable));
    EXPECT_EQ(gauge->toolTipText[0], '\0');
    double value = 0.0;
    ASSERT_TRUE(gauge->getNumberProperty(18, &value));  // toolTipAltDiff
    EXPECT_EQ(value, -1234.0);
    ASSERT_TRUE(gauge->getNumberProperty(20, &value));  // toolTipGroundSpeed
    EXPECT_EQ(value, 95.0);
}

TEST_F(Hover, FailedFrameRebuildsThePreviousToolTip) {
    MyGaugeCDrawable* drawable = make(1);
    values.set("Range", 10.0);
    stage(drawable, {aircraftAt(1, "OWN", 0, 0, threat::Hidden),
                     aircraftAt(31, "KEEP", 90.0, 5.0, threat::RA)});
    gauge->mouseRelPosX = 0.75;
    gauge->mouseRelPosY = 0.5;
    ASSERT_TRUE(draw(drawable));
    std::memset(gauge->toolTipText, 0, sizeof gauge->toolTipText);
    gauge->brightness = 10;
    EXPECT_FALSE(drawable->draw(&values, 200, 200, nullptr, nullptr));
    EXPECT_STREQ(gauge->toolTipText, "ID: KEEP ALT: 0ft GS: 0kt TRK: 0\xB0 DST: 5.0nm");
}

TEST_F(Hover, TwoDrawablesOfOneGaugePublishTheLastDrawnFrame) {
    MyGaugeCDrawable* left = make(1);
    MyGaugeCDrawable* right = make(0);
    values.set("Range", 10.0);
    stage(left, {aircraftAt(1, "OWN", 0, 0, threat::Hidden),
                 aircraftAt(41, "LEFT", 90.0, 5.0, threat::TA)});
    stage(right, {aircraftAt(1, "OWN", 0, 0, threat::Hidden),
                  aircraftAt(42, "RIGHT", 90.0, 5.0, threat::TA)});
    gauge->mouseRelPosX = 0.75;
    gauge->mouseRelPosY = 0.5;
    EXPECT_TRUE(draw(left));
    EXPECT_EQ(gauge->toolTipTarget.objectId, 41);
    EXPECT_TRUE(draw(right));
    EXPECT_EQ(gauge->toolTipTarget.objectId, 42);
    const char* text = nullptr;
    ASSERT_TRUE(gauge->getTextProperty(14, &text));  // toolTipId
    EXPECT_STREQ(text, "RIGHT");
}

TEST(AdvisoryCopy, CopiesTheWholeRecordOrKeepsTheLastWithoutTrafficSource) {
    MyGaugeCCallback* gauge = new MyGaugeCCallback();
    TrafficRecord advisory = aircraftAt(9, "RA1", 10.0, 0.5, threat::RA, -200.0);
    copyAdvisory(*gauge, &advisory);
    EXPECT_EQ(std::memcmp(&gauge->advisoryTarget, &advisory, sizeof advisory), 0);
    copyAdvisory(*gauge, nullptr);
    EXPECT_EQ(gauge->advisoryTarget.objectId, 9);
    const TrafficRecord none{};
    copyAdvisory(*gauge, &none);
    double level = -1.0;
    ASSERT_TRUE(gauge->getNumberProperty(7, &level));
    EXPECT_EQ(level, 0.0);
    gauge->release();
}

// A real cycle on the replacement host: an intruder closing head-on at the
// same level becomes the advisory after the second snapshot.
TEST_F(Hover, AdvisoryValuesAfterAFrame) {
    host.scenario().addRelative(7, 0.0, 2.0, 0.0, 180.0, 300.0);
    host.scenario().own().moving(0.0, 300.0);
    MyGaugeCDrawable* drawable = make(1);
    draw(drawable);
    for (int cycle = 0; cycle < 2; ++cycle) {
        host.advance(1.0);
        drawable->update();
    }
    EXPECT_TRUE(draw(drawable));
    EXPECT_GE(gauge->advisoryTarget.threatLevel, threat::TA);
    EXPECT_EQ(gauge->advisoryTarget.objectId, 7);
    const char* id = nullptr;
    ASSERT_TRUE(gauge->getTextProperty(21, &id));
    EXPECT_STREQ(id, "T7");
    double distance = 0.0;
    ASSERT_TRUE(gauge->getNumberProperty(23, &distance));
    EXPECT_NEAR(distance, 2.0 - 2 * 600.0 / 3600.0, 0.01);
}

}  // namespace
}  // namespace cs
