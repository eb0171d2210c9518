#include <cmath>

#include "traffic/TrafficData.h"

namespace cs {

// Haversine distance and the initial true course at point 2 towards point 1,
// on a sphere whose great-circle minute of arc is one nautical mile.
GreatCircleResult TrafficData::greatCircle(double lat1, double lon1, double lat2, double lon2) {
    constexpr double K = TrafficConstants::kDegreesPerRadian;
    constexpr double R = TrafficConstants::kEarthRadiusNm;

    const double sinHalfLat = std::sin((lat2 - lat1) / 2.0 / K);
    const double sinHalfLon = std::sin((lon2 - lon1) / 2.0 / K);
    const double h =
        sinHalfLat * sinHalfLat + std::cos(lat1 / K) * std::cos(lat2 / K) * sinHalfLon * sinHalfLon;

    GreatCircleResult result;
    double m;
    if (h > 0.0) {
        const double s = std::sqrt(h);
        result.distance = s < 1.0 ? 2.0 * std::asin(s) * R : TrafficConstants::kFarthestDistanceNm;
        const double theta = result.distance / R;
        double q = (std::sin(lat1 / K) - std::sin(lat2 / K) * std::cos(theta)) /
                   (std::sin(theta) * std::cos(lat2 / K));
        // Rounding near coincident, antipodal or polar points can push the
        // cosine just outside its range (or, at a pole, make it 0/0); limit it
        // so the course stays a number. fmax also maps NaN to -1.
        q = std::fmin(1.0, std::fmax(-1.0, q));
        m = std::acos(q) * K;
    } else {
        // Coincident points. A non-number (from a non-number position) is
        // passed on as the distance; a negative rounding residue is not.
        result.distance = std::isnan(h) ? h : 0.0;
        m = 180.0;
    }
    // Point 1 west of point 2: the course is measured the other way round.
    double bearing = std::sin((lon2 - lon1) / K) > 0.0 ? 360.0 - m : m;
    if (bearing >= 360.0) {
        bearing -= 360.0;
    }
    result.bearing = bearing;
    return result;
}

int TrafficData::compareRecordIds(const TrafficRecord* a, const TrafficRecord* b) {
    if (a == nullptr || b == nullptr) {
        return 0;
    }
    if (a->objectId < b->objectId) {
        return -1;
    }
    return a->objectId > b->objectId ? 1 : 0;
}

}  // namespace cs
