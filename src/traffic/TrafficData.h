// The traffic source of one display: resolves the host's variable ids once,
// runs the surveillance cycle, classifies every aircraft and keeps the
// advisory aircraft of the last cycle.
#pragma once

#include <cstdint>

#include "host/HostVariableRecord.h"
#include "traffic/TrafficRecord.h"

namespace cs {

class IPanelCCallback;
class ITrafficInfo;

struct GreatCircleResult {
    double distance;  // nautical miles
    double bearing;   // degrees true, 0 to below 360
};

struct TrafficConstants {
    static constexpr double kMetresPerNm = 1851.8518518518517;
    static constexpr double kFeetPerMetre = 3.28084;
    static constexpr double kDegreesPerRadian = 57.29577951308232;
    static constexpr double kEarthRadiusNm = 3437.7467707849396;  // 10800 / pi
    static constexpr double kFarthestDistanceNm = 10800.0;
    static constexpr double kOwnAircraftSlantRangeFt = 3.0;
};

class TrafficData {
  public:
    TrafficData();
    virtual ~TrafficData();

    TrafficData(const TrafficData&) = delete;
    TrafficData& operator=(const TrafficData&) = delete;

    void setDisplayThresholds(double otherMinRAlt, double otherAboveAlt, double otherBelowAlt,
                              double proximityRange, double proximityAboveAlt,
                              double proximityBelowAlt);

    void readRecord(TrafficRecord& record, int32_t objectId);

    // One surveillance cycle; returns the number of aircraft the host listed.
    uint32_t update(uint32_t maxCount, double rangeNm, double timeSeparationTA,
                    double timeSeparationRA, double distSeparationTA, double distSeparationRA,
                    double altSeparationTA, double altSeparationRA);

    // Replaces the current snapshot by a copy of ready-made records, as if a
    // cycle had produced them (for tools and tests that stage a scene). The
    // advisory is left as it is. Returns false when no memory is available.
    bool setSnapshot(const TrafficRecord* records, int32_t count);

    static GreatCircleResult greatCircle(double lat1, double lon1, double lat2, double lon2);
    static int compareRecordIds(const TrafficRecord* a, const TrafficRecord* b);

    // Read access for renderers, drawables and tests.
    const TrafficRecord* records() const { return records_; }
    int32_t recordCount() const { return recordCount_; }
    const TrafficRecord& advisory() const { return advisory_; }
    bool hasTrafficSource() const { return trafficInfo_ != nullptr; }
    double previousTime() const { return timeVar_.previousValue; }

    struct Thresholds {
        double otherMinRAlt = 50.0;         // feet
        double otherAboveAlt = 2700.0;      // feet
        double otherBelowAlt = 2700.0;      // feet
        double proximityRange = 6.0;        // nautical miles
        double proximityAboveAlt = 1200.0;  // feet
        double proximityBelowAlt = 1200.0;  // feet
        double timeSeparationTA = 35.0;     // seconds
        double timeSeparationRA = 20.0;     // seconds
        double distSeparationTA = 1.0;      // nautical miles
        double distSeparationRA = 0.1;      // nautical miles
        double altSeparationTA = 1200.0;    // feet
        double altSeparationRA = 300.0;     // feet
    };
    const Thresholds& thresholds() const { return thresholds_; }

  private:
    void computeGeometry(TrafficRecord* newRecords, int32_t newCount,
                         TrafficRecord* previousRecords, int32_t previousCount);
    void classify(TrafficRecord* record, double dt, double ownVerticalSpeed,
                  const TrafficRecord* previousRecords, int32_t previousCount);
    void chooseAdvisory(const TrafficRecord& record);

    IPanelCCallback* trafficProvider_ = nullptr;
    ITrafficInfo* trafficInfo_ = nullptr;

    int32_t varLatitude_ = 48;
    int32_t varLongitude_ = 49;
    int32_t varAltitude_ = 50;
    int32_t varIndicatedAltitude_ = 56;
    int32_t varVelocityY_ = 39;
    int32_t varVelocityZ_ = 40;
    int32_t varVelocityX_ = 38;
    int32_t varHeadingTrue_ = 55;
    int32_t varAtcId_ = 529;
    int32_t varEngCombustion_ = 232;
    int32_t varIsUserSim_ = 549;
    int32_t varAltAboveGround_ = 51;

    int32_t unitFeet_ = 0;
    int32_t unitBool_ = 0;
    int32_t unitDegrees_ = 0;
    int32_t unitKnots_ = 0;
    int32_t unitFeetPerMinute_ = 0;

    TrafficRecord* records_ = nullptr;
    TrafficRecord advisory_{};
    int32_t recordCount_ = 0;
    HostVariableRecord timeVar_{};
    Thresholds thresholds_{};
};

// The thresholds of a traffic source that nothing has set yet; a gauge's six
// separations start at the same values.
inline constexpr TrafficData::Thresholds kDefaultThresholds{};

}  // namespace cs
