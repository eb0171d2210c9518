#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/TrafficInfo.h"
#include "traffic/TrafficData.h"

namespace cs {

namespace {

constexpr double kLeastHeightAboveGroundFt = 50.0;  // below: no Proximity, TA or RA
constexpr double kPositionOnlyHeightFt = 100.0;     // no height above ground without full data
constexpr double kLeastDerivedGroundSpeedKt = 1.0;
constexpr double kLeastSlantRangeFt = 0.0001;
constexpr double kLeastTimeSeparationS = 0.001;
constexpr double kLeastClosingRate = 1e-10;  // per second

// The tau test of one advisory level. Rather than dividing by a closing speed
// that may be zero or negative, it compares the closing rate (closing speed
// over range) with the reciprocal of the time limit, and only for aircraft
// that close fast enough predicts the altitude difference at closest approach.
// The test is one-sided: traffic at or above the own level must be predicted
// below the bound, traffic below above its negative, so a predicted crossing
// passes.
bool passesTimeTest(double rate, double timeSeparation, double altSeparation, double altDiff,
                    double verticalRate) {
    const double limit =
        timeSeparation > kLeastTimeSeparationS ? timeSeparation : kLeastTimeSeparationS;
    if (!(rate >= 1.0 / limit)) {
        return false;
    }
    const double tau = 1.0 / (rate >= kLeastClosingRate ? rate : kLeastClosingRate);
    const double predicted = altDiff + verticalRate * tau / 60.0;
    if (altDiff >= 0.0) {
        return predicted < altSeparation;
    }
    return altDiff < 0.0 && predicted > -altSeparation;
}

bool passesDistanceTest(double distance, double distSeparation, double altSeparation,
                        double altDiff) {
    return distance <= distSeparation && std::fabs(altDiff) < altSeparation;
}

}  // namespace

void TrafficData::classify(TrafficRecord* record, double dt, double ownVerticalSpeed,
                           const TrafficRecord* previousRecords, int32_t previousCount) {
    if (record == nullptr || previousCount <= 0 || previousRecords == nullptr) {
        return;
    }
    if (!(dt > 0.0)) {
        return;
    }
    if (trafficInfo_ == nullptr) {
        return;
    }
    if (!(record->slantRange >= TrafficConstants::kOwnAircraftSlantRangeFt)) {
        return;
    }
    // The same aircraft in the previous snapshot, found by bisection; one that
    // was not there yet has no closure to judge and waits for the next cycle.
    const TrafficRecord* end = previousRecords + previousCount;
    const TrafficRecord* twin = std::lower_bound(
        previousRecords, end, *record, [](const TrafficRecord& a, const TrafficRecord& b) {
            return compareRecordIds(&a, &b) < 0;
        });
    if (twin == end || compareRecordIds(twin, record) != 0) {
        return;
    }

    double height;
    if (trafficInfo_->modeQuery() != 0) {
        // Position-only traffic: speeds from the movement since the last snapshot.
        const double moved =
            greatCircle(record->latitude, record->longitude, twin->latitude, twin->longitude)
                .distance;
        double groundSpeed = moved * 3600.0 / dt;
        if (!(groundSpeed >= kLeastDerivedGroundSpeedKt)) {
            groundSpeed = kLeastDerivedGroundSpeedKt;
        }
        record->groundSpeed = groundSpeed;
        record->verticalSpeed = (record->altitude - twin->altitude) / dt * 60.0;
        height = kPositionOnlyHeightFt;
    } else {
        height = record->radAlt;
    }

    record->closureRate = (twin->slantRange - record->slantRange) / dt;
    const double verticalRate = record->verticalSpeed - ownVerticalSpeed;
    const double altDiff = record->altDiff;
    const Thresholds& t = thresholds_;

    // From the least to the most severe: the last test passed decides.
    if (height >= t.otherMinRAlt && altDiff <= t.otherAboveAlt && -altDiff <= t.otherBelowAlt) {
        record->threatLevel = threat::Other;
    }
    if (height >= kLeastHeightAboveGroundFt) {
        if (record->distance <= t.proximityRange && altDiff <= t.proximityAboveAlt &&
            -altDiff <= t.proximityBelowAlt) {
            record->threatLevel = threat::Proximity;
        }
        const double range =
            record->slantRange > kLeastSlantRangeFt ? record->slantRange : kLeastSlantRangeFt;
        const double rate = record->closureRate / range;
        if (passesTimeTest(rate, t.timeSeparationTA, t.altSeparationTA, altDiff, verticalRate)) {
            record->threatLevel = threat::TA;
        }
        if (passesDistanceTest(record->distance, t.distSeparationTA, t.altSeparationTA, altDiff)) {
            record->threatLevel = threat::TA;
        }
        if (passesTimeTest(rate, t.timeSeparationRA, t.altSeparationRA, altDiff, verticalRate)) {
            record->threatLevel = threat::RA;
        }
        if (passesDistanceTest(record->distance, t.distSeparationRA, t.altSeparationRA, altDiff)) {
            record->threatLevel = threat::RA;
        }
    }

    if (record->threatLevel >= threat::TA) {
        chooseAdvisory(*record);
    }
}

// The first TA or RA aircraft of a cycle becomes the advisory; a later one
// replaces it only when it is at least as severe and at least as near.
void TrafficData::chooseAdvisory(const TrafficRecord& record) {
    if (advisory_.threatLevel <= 0) {
        std::memcpy(&advisory_, &record, sizeof advisory_);
    }
    if (record.threatLevel >= advisory_.threatLevel && advisory_.distance >= record.distance) {
        std::memcpy(&advisory_, &record, sizeof advisory_);
    }
}

}  // namespace cs
