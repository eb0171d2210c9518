// What one traffic cycle may cost in memory when a gauge asks for an absurd
// number of aircraft. "MaxNumAct" sizes the id buffer of every cycle; the
// simulator's process must not pay gigabytes (allocated and zeroed once a
// second) for a typo in a gauge.

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <limits>

#include "drawables/GaugeDrawable.h"
#include "host/ImportTable.h"
#include "properties/GaugeCallback.h"
#include "render/GdiPlusRadar.h"
#include "simhost/GaugeHost.h"
#include "simhost/SimHost.h"
#include "tests/soak/AllocationCounter.h"
#include "testsupport/TestDrawingBackend.h"
#include "traffic/TrafficData.h"

namespace cs {
namespace {

// A TCAS drawable over three aircraft, drawn once so it has read its
// parameters, then one update that runs a traffic cycle; returns the
// largest single allocation that cycle made.
class MaxNumActCost : public ::testing::Test {
  protected:
    void SetUp() override {
        checker.recordCalls = false;
        overrideDrawingBackend(&checker);
        host.install();
        for (int i = 0; i < 3; ++i) {
            host.scenario().addRelative(10 + i, 90.0 * i, 4.0, 500.0, 0.0, 200.0);
        }
        gauge = new MyGaugeCCallback();
        drawable = gauge->createDrawable(1, &declarations);
        ASSERT_NE(drawable, nullptr);
        values.useDeclarations(&declarations);
        values.recordReads = false;
    }

    void TearDown() override {
        if (drawable != nullptr) {
            drawable->release();
        }
        gauge->release();
        ImportTable.panelServices.table = nullptr;
        overrideDrawingBackend(nullptr);
    }

    size_t largestAllocationOfOneCycle(double maxNumAct) {
        values.setReal(9, maxNumAct);  // "MaxNumAct"
        drawable->draw(&values, 200, 200, testDeviceContext(), nullptr);
        host.advance(1.0);
        soak::resetLargestAllocation();
        drawable->update();
        return soak::largestAllocation();
    }

    TestDrawingBackend checker;
    sim::SimHost host;
    sim::DrawableDeclarations declarations;
    sim::DrawParameterValues values;
    MyGaugeCCallback* gauge = nullptr;
    IGaugeCDrawable* drawable = nullptr;
};

constexpr size_t kOneCycleBudget = 16u << 20;  // bytes, far above any real traffic

// Requests that are no count at all, or far beyond any traffic, allocate
// nothing sizeable.
TEST_F(MaxNumActCost, UnusableCountsAllocateNothingLarge) {
    for (double maxNumAct :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), -1.0,
          0.0, 2e9, 1e19, -std::numeric_limits<double>::infinity()}) {
        EXPECT_LT(largestAllocationOfOneCycle(maxNumAct), kOneCycleBudget) << maxNumAct;
    }
}

// An absurd count that still fits in 32 bits: once every cycle allocated
// and zeroed a 2 GB id buffer for "MaxNumAct" 5e8, stalling the update for
// seconds, although the host never lists more than a few thousand aircraft.
TEST_F(MaxNumActCost, AbsurdCountsDoNotAllocateMegabytesPerCycle) {
    for (double maxNumAct : {5e8, 1e8, 1073741823.0, 65537.0}) {
        EXPECT_LT(largestAllocationOfOneCycle(maxNumAct), kOneCycleBudget) << maxNumAct;
    }
}

// A gauge that writes a huge "MaxNumAct" to mean "all of them" sees its
// traffic: the request is served as the largest one, and the aircraft are
// listed and classified as with any ordinary count.
TEST_F(MaxNumActCost, HugeRequestsAreServedAtTheLimit) {
    for (double maxNumAct :
         {65536.0, 65537.0, 100000.0, 1e9, 2e9, 1e19, std::numeric_limits<double>::infinity()}) {
        EXPECT_LT(largestAllocationOfOneCycle(maxNumAct), kOneCycleBudget) << maxNumAct;
        host.traffic().counts() = sim::TrafficCallCounts{};
        host.advance(1.0);
        drawable->update();
        EXPECT_EQ(host.traffic().counts().lastCapacity, 65536u) << maxNumAct;
        const TrafficData* data =
            static_cast<MyGaugeCDrawable*>(drawable)->renderer()->trafficData();
        ASSERT_EQ(data->recordCount(), 4) << maxNumAct;  // own aircraft + 3
        int classified = 0;
        for (int i = 0; i < data->recordCount(); ++i) {
            const TrafficRecord& r = data->records()[i];
            classified += r.distance > 0.0 && r.threatLevel >= threat::Other;
        }
        EXPECT_EQ(classified, 3) << maxNumAct;
    }
}

}  // namespace
}  // namespace cs
