// Collision-avoidance threat levels, ordered by severity and compared as numbers.
#pragma once

#include <cstdint>

namespace cs {

using ThreatLevel = int32_t;

namespace threat {
constexpr ThreatLevel Hidden = -2;  // never drawn: own aircraft, new traffic, outside every window
constexpr ThreatLevel Other = -1;
constexpr ThreatLevel Proximity = 0;
constexpr ThreatLevel TA = 1;  // traffic advisory
constexpr ThreatLevel RA = 2;  // resolution advisory
}  // namespace threat

}  // namespace cs
