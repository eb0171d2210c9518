#include "simhost/Scenario.h"

#include <cmath>
#include <cstdio>

namespace cs::sim {

namespace {

double wrapLongitude(double lon) {
    if (!std::isfinite(lon)) {
        return lon;
    }
    lon = std::fmod(lon + 180.0, 360.0);
    if (lon < 0.0) {
        lon += 360.0;
    }
    return lon - 180.0;
}

void moveStraight(Aircraft& a, double seconds) {
    const double hours = seconds / 3600.0;
    // One nautical mile is one minute of arc on the host's sphere.
    const double dLat = a.velocityNorth * hours / 60.0;
    const double cosLat = std::cos(a.latitude / kDegreesPerRadian);
    a.latitude += dLat;
    if (std::fabs(cosLat) > 1e-9) {
        a.longitude = wrapLongitude(a.longitude + a.velocityEast * hours / 60.0 / cosLat);
    }
    const double climb = a.verticalSpeed * seconds / 60.0;
    a.trueAltitude += climb;
    a.indicatedAltitude += climb;
    a.altAboveGround += climb;
}

}  // namespace

Aircraft& Aircraft::at(double lat, double lon, double altitudeFt) {
    latitude = lat;
    longitude = lon;
    trueAltitude = altitudeFt;
    indicatedAltitude = altitudeFt;
    return *this;
}

Aircraft& Aircraft::moving(double trackDeg, double groundSpeedKt, double verticalSpeedFpm) {
    velocityNorth = groundSpeedKt * std::cos(trackDeg / kDegreesPerRadian);
    velocityEast = groundSpeedKt * std::sin(trackDeg / kDegreesPerRadian);
    verticalSpeed = verticalSpeedFpm;
    headingTrue = trackDeg;
    return *this;
}

Aircraft& Aircraft::named(const std::string& text) {
    atcId = text;
    name = text;
    return *this;
}

Aircraft& Aircraft::changeVerticalSpeed(double atTime, double verticalSpeedFpm) {
    auto it = verticalSpeedChanges.begin();
    while (it != verticalSpeedChanges.end() && it->atTime <= atTime) {
        ++it;
    }
    verticalSpeedChanges.insert(it, VerticalSpeedChange{atTime, verticalSpeedFpm});
    return *this;
}

double greatCircleDistanceNm(double lat1, double lon1, double lat2, double lon2) {
    const double k = kDegreesPerRadian;
    const double sLat = std::sin((lat2 - lat1) / 2.0 / k);
    const double sLon = std::sin((lon2 - lon1) / 2.0 / k);
    double h = sLat * sLat + std::cos(lat1 / k) * std::cos(lat2 / k) * sLon * sLon;
    if (!(h >= 0.0)) {
        return h;  // NaN stays NaN: such an aircraft is never within a radius
    }
    if (h > 1.0) {
        h = 1.0;
    }
    return 2.0 * std::asin(std::sqrt(h)) * kEarthRadiusNm;
}

void destinationPoint(double lat, double lon, double bearingDeg, double distanceNm, double* outLat,
                      double* outLon) {
    const double k = kDegreesPerRadian;
    const double phi1 = lat / k;
    const double theta = bearingDeg / k;
    const double delta = distanceNm / kEarthRadiusNm;
    const double sinPhi2 =
        std::sin(phi1) * std::cos(delta) + std::cos(phi1) * std::sin(delta) * std::cos(theta);
    const double phi2 = std::asin(std::fmax(-1.0, std::fmin(1.0, sinPhi2)));
    const double lambda = std::atan2(std::sin(theta) * std::sin(delta) * std::cos(phi1),
                                     std::cos(delta) - std::sin(phi1) * std::sin(phi2));
    *outLat = phi2 * k;
    *outLon = wrapLongitude(lon + lambda * k);
}

Scenario::Scenario() {
    own_.id = 1;
    own_.at(0.0, 0.0, 10000.0);
    own_.isUserSim = true;
    own_.named("OWNSHIP");
}

Aircraft& Scenario::add(const Aircraft& aircraft) {
    traffic_.push_back(aircraft);
    return traffic_.back();
}

Aircraft& Scenario::addRelative(int32_t id, double bearingDeg, double distanceNm,
                                double altOffsetFt, double trackDeg, double groundSpeedKt,
                                double verticalSpeedFpm) {
    Aircraft a;
    a.id = id;
    destinationPoint(own_.latitude, own_.longitude, bearingDeg, distanceNm, &a.latitude,
                     &a.longitude);
    a.trueAltitude = own_.trueAltitude + altOffsetFt;
    a.indicatedAltitude = own_.indicatedAltitude + altOffsetFt;
    a.altAboveGround = own_.altAboveGround + altOffsetFt;
    a.moving(trackDeg, groundSpeedKt, verticalSpeedFpm);
    char label[16];
    std::snprintf(label, sizeof label, "T%d", static_cast<int>(id));
    a.named(label);
    return add(a);
}

Aircraft* Scenario::find(int32_t id) {
    if (own_.id == id) {
        return &own_;
    }
    for (Aircraft& a : traffic_) {
        if (a.id == id) {
            return &a;
        }
    }
    return nullptr;
}

const Aircraft* Scenario::find(int32_t id) const {
    return const_cast<Scenario*>(this)->find(id);
}

int Scenario::remove(int32_t id) {
    int removed = 0;
    for (auto it = traffic_.begin(); it != traffic_.end();) {
        if (it->id == id) {
            it = traffic_.erase(it);
            ++removed;
        } else {
            ++it;
        }
    }
    return removed;
}

void advanceAircraft(Aircraft& aircraft, double startTime, double seconds) {
    if (!(seconds > 0.0)) {
        return;
    }
    double now = startTime;
    const double end = startTime + seconds;
    for (const VerticalSpeedChange& change : aircraft.verticalSpeedChanges) {
        if (change.atTime <= now) {
            // Already in force (or due exactly now).
            if (change.atTime > startTime || change.atTime == now) {
                aircraft.verticalSpeed = change.verticalSpeed;
            }
            continue;
        }
        if (change.atTime > end) {
            break;
        }
        moveStraight(aircraft, change.atTime - now);
        now = change.atTime;
        aircraft.verticalSpeed = change.verticalSpeed;
    }
    moveStraight(aircraft, end - now);
}

void Scenario::advance(double seconds) {
    if (!(seconds > 0.0)) {
        return;
    }
    advanceAircraft(own_, time_, seconds);
    for (Aircraft& a : traffic_) {
        advanceAircraft(a, time_, seconds);
    }
    time_ += seconds;
}

}  // namespace cs::sim
