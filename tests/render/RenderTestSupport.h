// Shared scaffolding of the renderer tests: a minimal host services table (so
// TrafficData can be constructed without a simulator), the test drawing backend
// installed for the test's renderers, and helpers to stage a snapshot.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "host/ImportTable.h"
#include "render/GdiPlusRadar.h"
#include "testsupport/TestDrawingBackend.h"
#include "traffic/TrafficData.h"

namespace cs::test {

// A host with a clock standing at 0 and no traffic provider.
inline void HOST_STDCALL refreshToZero(HostVariableRecord* variable) {
    if (variable != nullptr) {
        variable->value = 0.0;
    }
}
inline double HOST_STDCALL readNothing(int32_t, int32_t, int32_t) {
    return 0.0;
}
inline int32_t HOST_STDCALL registerNothing(const char*, IPanelCCallback*) {
    return 0;
}
inline IPanelCCallback* HOST_STDCALL findNothing(const char*) {
    return nullptr;
}

class ScopedQuietHost {
  public:
    ScopedQuietHost() : previous_(ImportTable.panelServices.table) {
        std::memset(&services_, 0, sizeof services_);
        services_.refreshVariable = refreshToZero;
        services_.readUserVariable = readNothing;
        services_.registerPanelCallback = registerNothing;
        services_.findPanelCallback = findNothing;
        ImportTable.panelServices.table = &services_;
    }
    ~ScopedQuietHost() { ImportTable.panelServices.table = previous_; }
    ScopedQuietHost(const ScopedQuietHost&) = delete;
    ScopedQuietHost& operator=(const ScopedQuietHost&) = delete;

  private:
    HostServices services_;
    HostServices* previous_;
};

// One aircraft placed by bearing and distance from the own aircraft.
inline TrafficRecord aircraft(int32_t id, ThreatLevel level, double bearing, double distance,
                              double altDiff = 0.0, double verticalSpeed = 0.0,
                              const char* atcId = "") {
    TrafficRecord r{};
    r.objectId = id;
    r.threatLevel = level;
    r.bearing = bearing;
    r.distance = distance;
    r.altDiff = altDiff;
    r.verticalSpeed = verticalSpeed;
    std::strncpy(r.atcId, atcId, kAtcIdLength);
    return r;
}

// The own aircraft, which the snapshot keeps at index 0.
inline TrafficRecord ownAircraft() {
    return aircraft(0, threat::Hidden, 0.0, 0.0);
}

// A 128 x 128 area, centre (64, 64), 32 nm range: exactly 0.5 nm per world
// unit, so positions of whole-mile distances are exact.
inline void exactGeometry(GdiPlusRadar& radar, double symbolSize = 1.0) {
    radar.setGeometry(128.0, 128.0, 1.0, 1.0, 64.0, 64.0, 32.0, 0, symbolSize);
}

inline bool finite(RectF r) {
    return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.width) &&
           std::isfinite(r.height);
}

// Every coordinate, size and transform the recorder saw is finite.
inline bool allFinite(const TestDrawingBackend& recorder) {
    for (const RecordedCall& c : recorder.calls) {
        if (!finite(c.rect) || !std::isfinite(c.penWidth) || !std::isfinite(c.fontSize) ||
            !std::isfinite(c.transform.scaleX) || !std::isfinite(c.transform.scaleY) ||
            !std::isfinite(c.transform.offsetX) || !std::isfinite(c.transform.offsetY)) {
            return false;
        }
        for (int i = 0; i < c.pointCount; ++i) {
            if (!std::isfinite(c.points[i].x) || !std::isfinite(c.points[i].y)) {
                return false;
            }
        }
    }
    return true;
}

inline std::vector<DrawOp> ops(const std::vector<RecordedCall>& calls) {
    std::vector<DrawOp> out;
    for (const RecordedCall& c : calls) {
        out.push_back(c.op);
    }
    return out;
}

// Base fixture: quiet host and recorder in place before any renderer exists.
class RecorderTest : public ::testing::Test {
  protected:
    ScopedQuietHost host;
    TestDrawingBackend recorder;
    ScopedDrawingBackend useRecorder{recorder};

    static void stage(GdiPlusRadar& radar, const std::vector<TrafficRecord>& records) {
        ASSERT_NE(radar.trafficData(), nullptr);
        ASSERT_TRUE(
            radar.trafficData()->setSnapshot(records.data(), static_cast<int32_t>(records.size())));
    }
};

}  // namespace cs::test
