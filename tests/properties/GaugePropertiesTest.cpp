// Property reads and writes of one gauge callback.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <vector>

#include "properties/GaugeCallback.h"
#include "properties/PropertyCatalogue.h"

namespace cs {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

class GaugeProperties : public ::testing::Test {
  protected:
    ~GaugeProperties() override { EXPECT_EQ(gauge->release(), 0u); }

    // Every number the gauge reports, by id; NaN where the read is refused.
    std::vector<double> allNumbers() {
        std::vector<double> values;
        for (int32_t id = 0; id < property::kCount; ++id) {
            double value = kNaN;
            values.push_back(gauge->getNumberProperty(id, &value) ? value : kNaN);
        }
        return values;
    }

    static void expectSame(const std::vector<double>& before, const std::vector<double>& after) {
        ASSERT_EQ(before.size(), after.size());
        for (size_t i = 0; i < before.size(); ++i) {
            SCOPED_TRACE(i);
            if (std::isnan(before[i])) {
                EXPECT_TRUE(std::isnan(after[i]));
            } else {
                EXPECT_EQ(before[i], after[i]);
            }
        }
    }

    MyGaugeCCallback* gauge = new MyGaugeCCallback();
};

TEST_F(GaugeProperties, FreshGaugeReadsItsDefaults) {
    const struct {
        int32_t id;
        double value;
    } cases[] = {
        {property::Range, 15.0},
        {property::Brightness, 255.0},
        {property::MouseRelPosX, 0.0},
        {property::MouseRelPosY, 0.0},
        {property::Advisory, 0.0},
        {property::TimeSeparationTA, 35.0},
        {property::TimeSeparationRA, 20.0},
        {property::DistSeparationTA, 1.0},
        {property::DistSeparationRA, 0.1},
        {property::AltSeparationTA, 1200.0},
        {property::AltSeparationRA, 300.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        double value = -1.0;
        ASSERT_TRUE(gauge->getNumberProperty(c.id, &value));
        EXPECT_EQ(value, c.value);
    }
    // Every published value starts at zero.
    for (int32_t id = property::ToolTipAlt; id < property::kCount; ++id) {
        if (id == property::AdvisoryId) {
            continue;
        }
        SCOPED_TRACE(id);
        double value = -1.0;
        ASSERT_TRUE(gauge->getNumberProperty(id, &value));
        EXPECT_EQ(value, 0.0);
    }
    for (int32_t id : std::initializer_list<int32_t>{property::ToolTip, property::ToolTipId,
                                                     property::AdvisoryId}) {
        const char* text = nullptr;
        ASSERT_TRUE(gauge->getTextProperty(id, &text));
        ASSERT_NE(text, nullptr);
        EXPECT_STREQ(text, "");
    }
}

TEST_F(GaugeProperties, PublishedRecordsMapToTheirIds) {
    // Distinct values per field, so a swapped mapping shows.
    TrafficRecord tip{};
    tip.altitude = 1001;
    tip.distance = 1002;
    tip.bearing = 1003;
    tip.altDiff = 1004;
    tip.trackAngle = 1005;
    tip.groundSpeed = 1006;
    tip.radAlt = 1007;
    tip.threatLevel = 1;
    std::strcpy(tip.atcId, "N123AB");
    TrafficRecord advisory = tip;
    advisory.altitude = 2001;
    advisory.distance = 2002;
    advisory.bearing = 2003;
    advisory.altDiff = 2004;
    advisory.trackAngle = 2005;
    advisory.groundSpeed = 2006;
    advisory.radAlt = 2007;
    advisory.threatLevel = 2;
    std::strcpy(advisory.atcId, "DLH4711XYZ");
    gauge->toolTipTarget = tip;
    gauge->advisoryTarget = advisory;
    std::strcpy(gauge->toolTipText, "ID: N123AB");

    const struct {
        int32_t id;
        double value;
    } cases[] = {
        {property::Advisory, 2},
        {property::ToolTipAlt, 1001},
        {property::ToolTipDist, 1002},
        {property::ToolTipBrg, 1003},
        {property::ToolTipAltDiff, 1004},
        {property::ToolTipTrackAngle, 1005},
        {property::ToolTipGroundSpeed, 1006},
        {property::ToolTipRadAlt, 1007},
        {property::AdvisoryAlt, 2001},
        {property::AdvisoryDist, 2002},
        {property::AdvisoryBrg, 2003},
        {property::AdvisoryAltDiff, 2004},
        {property::AdvisoryTrackAngle, 2005},
        {property::AdvisoryGroundSpeed, 2006},
        {property::AdvisoryRadAlt, 2007},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        double value = -1.0;
        ASSERT_TRUE(gauge->getNumberProperty(c.id, &value));
        EXPECT_EQ(value, c.value);
    }

    const char* text = nullptr;
    ASSERT_TRUE(gauge->getTextProperty(property::ToolTip, &text));
    EXPECT_EQ(text, gauge->toolTipText);  // the object's own storage, not a copy
    ASSERT_TRUE(gauge->getTextProperty(property::ToolTipId, &text));
    EXPECT_STREQ(text, "N123AB");
    EXPECT_EQ(text, gauge->toolTipTarget.atcId);
    ASSERT_TRUE(gauge->getTextProperty(property::AdvisoryId, &text));
    EXPECT_STREQ(text, "DLH4711XYZ");
}

TEST_F(GaugeProperties, WritableIdsStoreWhatIsWritten) {
    const struct {
        int32_t id;
        double written;
        double* field;
    } cases[] = {
        {property::Range, -3.25, &gauge->range},
        {property::MouseRelPosX, 0.75, &gauge->mouseRelPosX},
        {property::MouseRelPosY, 1.5, &gauge->mouseRelPosY},
        {property::TimeSeparationTA, 40.5, &gauge->timeSeparationTA},
        {property::TimeSeparationRA, 25.5, &gauge->timeSeparationRA},
        {property::DistSeparationTA, 2.5, &gauge->distSeparationTA},
        {property::DistSeparationRA, 0.25, &gauge->distSeparationRA},
        {property::AltSeparationTA, 1500.5, &gauge->altSeparationTA},
        {property::AltSeparationRA, -400.5, &gauge->altSeparationRA},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        std::vector<double> expected = allNumbers();
        ASSERT_TRUE(gauge->setNumberProperty(c.id, c.written));
        EXPECT_EQ(*c.field, c.written);
        expected[c.id] = c.written;
        expectSame(expected, allNumbers());  // no other value moved
    }
    // Stored without limits, and NaN and infinities pass through unchanged.
    ASSERT_TRUE(gauge->setNumberProperty(property::Range, kInf));
    EXPECT_EQ(gauge->range, kInf);
    ASSERT_TRUE(gauge->setNumberProperty(property::MouseRelPosX, kNaN));
    EXPECT_TRUE(std::isnan(gauge->mouseRelPosX));
}

TEST_F(GaugeProperties, BrightnessTruncatesTowardZeroAndSaturates) {
    const struct {
        double written;
        int32_t stored;
    } cases[] = {
        {127.9, 127},
        {-0.5, 0},
        {-127.9, -127},
        {300.0, 300},
        {-5.0, -5},
        {2147483647.0, INT32_MAX},
        {2147483647.9, INT32_MAX},
        {2147483648.0, INT32_MAX},
        {-2147483648.0, INT32_MIN},
        {-2147483648.9, INT32_MIN},
        {-2147483649.0, INT32_MIN},
        {1e20, INT32_MAX},
        {-1e20, INT32_MIN},
        {kInf, INT32_MAX},
        {-kInf, INT32_MIN},
        {kNaN, 0},
        {-kNaN, 0},
        {std::numeric_limits<double>::denorm_min(), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        gauge->brightness = 77;
        ASSERT_TRUE(gauge->setNumberProperty(property::Brightness, c.written));
        EXPECT_EQ(gauge->brightness, c.stored);
        double readBack = -1.0;
        ASSERT_TRUE(gauge->getNumberProperty(property::Brightness, &readBack));
        EXPECT_EQ(readBack, static_cast<double>(c.stored));
    }
}

TEST_F(GaugeProperties, ReadOnlyAndUnknownIdsRefuseWrites) {
    gauge->advisoryTarget.threatLevel = 1;
    const std::vector<double> before = allNumbers();
    std::vector<int32_t> refused = {
        property::Radar, property::Tcas, property::ToolTip, property::Advisory, 30, 31, -1,
        INT32_MIN,       INT32_MAX};
    for (int32_t id = property::ToolTipId; id < property::kCount; ++id) {
        refused.push_back(id);
    }
    for (int32_t id : refused) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(gauge->setNumberProperty(id, 42.0));
        EXPECT_FALSE(gauge->setTextProperty(id, "N1"));
    }
    for (int32_t id = 0; id < property::kCount; ++id) {
        EXPECT_FALSE(gauge->setTextProperty(id, "N1"));
        EXPECT_FALSE(gauge->setTextProperty(id, nullptr));
    }
    expectSame(before, allNumbers());
    EXPECT_STREQ(gauge->toolTipTarget.atcId, "");
}

TEST_F(GaugeProperties, ReadsOfTheWrongKindOrNoValueAreRefused) {
    for (int32_t id : std::initializer_list<int32_t>{property::Radar, property::Tcas,
                                                     property::ToolTip, property::ToolTipId,
                                                     property::AdvisoryId, 30, -1, INT32_MIN}) {
        SCOPED_TRACE(id);
        double value = 123.0;
        EXPECT_FALSE(gauge->getNumberProperty(id, &value));
        EXPECT_EQ(value, 123.0);
    }
    for (int32_t id = 0; id < property::kCount + 2; ++id) {
        if (id == property::ToolTip || id == property::ToolTipId || id == property::AdvisoryId) {
            continue;
        }
        SCOPED_TRACE(id);
        const char* text = "untouched";
        EXPECT_FALSE(gauge->getTextProperty(id, &text));
        EXPECT_STREQ(text, "untouched");
    }
}

TEST_F(GaugeProperties, NullOutAddressesAreRefused) {
    EXPECT_FALSE(gauge->getNumberProperty(property::Range, nullptr));
    EXPECT_FALSE(gauge->getNumberProperty(property::AdvisoryRadAlt, nullptr));
    EXPECT_FALSE(gauge->getTextProperty(property::ToolTip, nullptr));
    EXPECT_FALSE(gauge->getTextProperty(property::AdvisoryId, nullptr));
}

TEST_F(GaugeProperties, TwoGaugesKeepSeparateSettings) {
    MyGaugeCCallback* other = new MyGaugeCCallback();
    ASSERT_TRUE(gauge->setNumberProperty(property::Range, 40.0));
    ASSERT_TRUE(other->setNumberProperty(property::Brightness, 10.0));
    double value = 0.0;
    ASSERT_TRUE(other->getNumberProperty(property::Range, &value));
    EXPECT_EQ(value, 15.0);
    ASSERT_TRUE(gauge->getNumberProperty(property::Brightness, &value));
    EXPECT_EQ(value, 255.0);
    EXPECT_EQ(other->release(), 0u);
}

}  // namespace
}  // namespace cs
