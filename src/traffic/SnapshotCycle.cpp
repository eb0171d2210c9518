#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "host/ImportTable.h"
#include "host/TrafficInfo.h"
#include "traffic/TrafficData.h"
#include "traffic/TrafficLimits.h"

namespace cs {

uint32_t TrafficData::update(uint32_t maxCount, double rangeNm, double timeSeparationTA,
                             double timeSeparationRA, double distSeparationTA,
                             double distSeparationRA, double altSeparationTA,
                             double altSeparationRA) {
    // The gauge's separations take effect even while there is no traffic.
    thresholds_.timeSeparationTA = timeSeparationTA;
    thresholds_.timeSeparationRA = timeSeparationRA;
    thresholds_.distSeparationTA = distSeparationTA;
    thresholds_.distSeparationRA = distSeparationRA;
    thresholds_.altSeparationTA = altSeparationTA;
    thresholds_.altSeparationRA = altSeparationRA;

    HostServices* services = hostServices();
    if (trafficInfo_ == nullptr || services == nullptr) {
        return 0;
    }
    if (maxCount > kMaxRequestedAircraft) {
        maxCount = kMaxRequestedAircraft;
    }
    static_assert(fitsIn32Bits(kMaxRequestedAircraft, sizeof(uint32_t)));
    // Zeroed, so slots the host claims but does not fill read as id 0.
    uint32_t* ids = new (std::nothrow) uint32_t[maxCount]();
    if (ids == nullptr) {
        return 0;
    }
    uint32_t count =
        trafficInfo_->listAircraft(rangeNm * TrafficConstants::kMetresPerNm, maxCount, ids);
    // Never trust the host to stay within the buffer it was given.
    if (count > maxCount) {
        count = maxCount;
    }
    if (count == 0) {
        // Nothing listed: the last snapshot stays on the display.
        delete[] ids;
        return 0;
    }
    TrafficRecord* fresh = nullptr;
    if (fitsIn32Bits(count, sizeof(TrafficRecord)) && count <= INT32_MAX) {
        fresh = new (std::nothrow) TrafficRecord[count]();
    }
    if (fresh == nullptr) {
        delete[] ids;
        return count;
    }

    std::memset(&advisory_, 0, sizeof advisory_);
    for (uint32_t i = 0; i < count; ++i) {
        readRecord(fresh[i], static_cast<int32_t>(ids[i]));
        if (ids[i] == 0) {
            // readRecord leaves an id-0 slot alone; it stays zero-filled and
            // is never drawn or classified.
            fresh[i].threatLevel = threat::Hidden;
        }
    }

    services->refreshVariable(&timeVar_);

    // The current snapshot becomes the previous one, sorted for the twin search.
    if (records_ != nullptr && recordCount_ > 1) {
        std::sort(records_, records_ + recordCount_,
                  [](const TrafficRecord& a, const TrafficRecord& b) {
                      return compareRecordIds(&a, &b) < 0;
                  });
    }
    computeGeometry(fresh, static_cast<int32_t>(count), records_, recordCount_);
    timeVar_.previousValue = timeVar_.value;

    delete[] records_;
    records_ = fresh;
    recordCount_ = static_cast<int32_t>(count);
    delete[] ids;
    return count;
}

void TrafficData::computeGeometry(TrafficRecord* newRecords, int32_t newCount,
                                  TrafficRecord* previousRecords, int32_t previousCount) {
    HostServices* services = hostServices();
    if (services == nullptr) {
        return;
    }
    const double ownLatitude = services->readUserVariable(varLatitude_, unitDegrees_, 0);
    const double ownLongitude = services->readUserVariable(varLongitude_, unitDegrees_, 0);
    const double ownAltitude = services->readUserVariable(varIndicatedAltitude_, unitFeet_, 0);
    const double ownVerticalSpeed =
        services->readUserVariable(varVelocityY_, unitFeetPerMinute_, 0);

    const double dt = timeVar_.value - timeVar_.previousValue;

    if (newRecords == nullptr || trafficInfo_ == nullptr || newCount <= 0) {
        return;
    }
    constexpr double kFeetPerNm = TrafficConstants::kMetresPerNm * TrafficConstants::kFeetPerMetre;
    for (int32_t i = 0; i < newCount; ++i) {
        TrafficRecord& r = newRecords[i];
        if (r.objectId == 0) {
            continue;  // an empty slot of the listing: no aircraft to place
        }
        // The record is point 1, the own aircraft point 2: the bearing is
        // the course from the own aircraft towards the traffic.
        const GreatCircleResult gc =
            greatCircle(r.latitude, r.longitude, ownLatitude, ownLongitude);
        r.distance = gc.distance;
        r.bearing = gc.bearing;
        r.altDiff = r.altitude - ownAltitude;
        const double horizontalFt = r.distance * kFeetPerNm;
        r.slantRange = std::sqrt(r.altDiff * r.altDiff + horizontalFt * horizontalFt);

        const bool positionOnly = trafficInfo_->modeQuery() != 0;
        if (!positionOnly) {
            r.trackAngle = std::fmod(
                std::atan2(r.velocityEast, r.velocityNorth) * TrafficConstants::kDegreesPerRadian +
                    360.0,
                360.0);
            r.groundSpeed =
                std::sqrt(r.velocityNorth * r.velocityNorth + r.velocityEast * r.velocityEast);
        }

        // The host lists the own aircraft among the traffic. In position-only
        // mode its record carries the true altitude while the own altitude is
        // the indicated one, so away from standard pressure the two differ and
        // only the horizontal position can recognise it; otherwise the own
        // aircraft would be classified at distance 0 as an RA on itself.
        const double ownTestFt = positionOnly ? horizontalFt : r.slantRange;
        if (ownTestFt < TrafficConstants::kOwnAircraftSlantRangeFt) {
            r.distance = 0.0;
            r.slantRange = 0.0;
            continue;
        }
        classify(&r, dt, ownVerticalSpeed, previousRecords, previousCount);
    }
}

}  // namespace cs
