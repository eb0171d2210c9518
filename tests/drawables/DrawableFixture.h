// In-process gauge drawables on the replacement host, with the test drawing
// backend in place so every frame's geometry can be read back.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "drawables/GaugeDrawable.h"
#include "host/ImportTable.h"
#include "properties/GaugeCallback.h"
#include "render/GdiPlusRadar.h"
#include "simhost/GaugeHost.h"
#include "simhost/SimHost.h"
#include "testsupport/TestDrawingBackend.h"

namespace cs {

class DrawableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.install();
        overrideDrawingBackend(&recorder);
        gauge = new MyGaugeCCallback();
        values.useDeclarations(&declarations);
    }

    void TearDown() override {
        for (MyGaugeCDrawable* drawable : owned) {
            drawable->release();
        }
        owned.clear();
        if (gauge != nullptr) {
            gauge->release();
        }
        overrideDrawingBackend(nullptr);
        ImportTable.panelServices.table = nullptr;
    }

    // A drawable of the kind through the gauge, released by TearDown.
    MyGaugeCDrawable* make(int32_t kind) {
        declarations.clear();
        IGaugeCDrawable* created = gauge->createDrawable(kind, &declarations);
        auto* drawable = static_cast<MyGaugeCDrawable*>(created);
        if (drawable != nullptr) {
            owned.push_back(drawable);
        }
        return drawable;
    }

    // Releases one drawable early (the test's last reference).
    uint32_t releaseOwned(MyGaugeCDrawable* drawable) {
        for (size_t i = 0; i < owned.size(); ++i) {
            if (owned[i] == drawable) {
                owned.erase(owned.begin() + static_cast<long>(i));
                break;
            }
        }
        return drawable->release();
    }

    // The host gives up the gauge before its drawables.
    void releaseGaugeFirst() {
        gauge->release();
        gauge = nullptr;
    }

    bool draw(MyGaugeCDrawable* drawable, int32_t width = 200, int32_t height = 200) {
        return drawable->draw(&values, width, height, testDeviceContext(), nullptr);
    }

    // Puts ready-made records in the drawable's traffic source (index 0 is
    // never displayed, so callers start their aircraft at index 1).
    static void stage(MyGaugeCDrawable* drawable, const std::vector<TrafficRecord>& records) {
        ASSERT_NE(drawable->renderer(), nullptr);
        ASSERT_NE(drawable->renderer()->trafficData(), nullptr);
        ASSERT_TRUE(drawable->renderer()->trafficData()->setSnapshot(
            records.data(), static_cast<int32_t>(records.size())));
    }

    sim::SimHost host;
    TestDrawingBackend recorder;
    MyGaugeCCallback* gauge = nullptr;
    sim::DrawableDeclarations declarations;
    sim::DrawParameterValues values;
    std::vector<MyGaugeCDrawable*> owned;
};

// A displayable aircraft at a bearing and distance from the own aircraft.
inline TrafficRecord aircraftAt(int32_t id, const char* atcId, double bearing, double distance,
                                ThreatLevel level, double altDiff = 0.0) {
    TrafficRecord record{};
    record.objectId = id;
    for (int i = 0; i < kAtcIdLength && atcId[i] != '\0'; ++i) {
        record.atcId[i] = atcId[i];
    }
    record.bearing = bearing;
    record.distance = distance;
    record.altDiff = altDiff;
    record.threatLevel = level;
    return record;
}

}  // namespace cs
