// One aircraft of a traffic snapshot: a plain value, zero-filled before it is
// filled, copied whole, and sorted and searched by objectId.
#pragma once

#include <cstdint>
#include <type_traits>

#include "traffic/ThreatLevel.h"

namespace cs {

constexpr int kAtcIdLength = 10;  // characters, always followed by a NUL

struct TrafficRecord {
    int32_t objectId;
    double latitude;       // degrees, north positive
    double longitude;      // degrees, east positive
    double altitude;       // feet
    double verticalSpeed;  // feet per minute, positive climbing
    double velocityNorth;  // knots
    double velocityEast;   // knots
    char atcId[kAtcIdLength + 1];
    double engineCombustion;  // 0 or 1
    double isUserSim;         // 0 or 1
    double radAlt;            // feet above ground
    double bearing;           // degrees true from the own aircraft, 0 to below 360
    double distance;          // nautical miles, great circle
    double slantRange;        // feet, three-dimensional
    double closureRate;       // feet per second, positive closing
    double altDiff;           // feet, positive above the own aircraft
    double trackAngle;        // degrees true
    double groundSpeed;       // knots
    ThreatLevel threatLevel;
};

static_assert(std::is_trivially_copyable_v<TrafficRecord>);
static_assert(std::is_standard_layout_v<TrafficRecord>);

}  // namespace cs
