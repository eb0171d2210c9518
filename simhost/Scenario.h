// Scenarios of the replacement host: the user's own aircraft and the traffic
// around it, moved with simple kinematics (constant ground velocity and
// vertical speed, with optional scheduled vertical-speed changes).
//
// Aircraft are plain values so that scenario files, fuzzers and tests can build
// them freely, including hostile content (NaN positions, duplicate ids, id 0).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cs::sim {

// Great-circle constants of the host's earth model (1 nm = 1 minute of arc).
constexpr double kMetresPerNm = 1851.8518518518517;
constexpr double kFeetPerMetre = 3.28084;
constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kEarthRadiusNm = 3437.7467707849396;  // 10800 / pi

// From `atTime` (scenario seconds) on, the aircraft climbs or descends at
// `verticalSpeed` feet per minute.
struct VerticalSpeedChange {
    double atTime = 0.0;
    double verticalSpeed = 0.0;
};

struct Aircraft {
    int32_t id = 0;
    double latitude = 0.0;           // degrees, north positive
    double longitude = 0.0;          // degrees, east positive
    double trueAltitude = 0.0;       // feet, "PLANE ALTITUDE"
    double indicatedAltitude = 0.0;  // feet, "INDICATED ALTITUDE"
    double velocityNorth = 0.0;      // knots, "VELOCITY WORLD Z"
    double velocityEast = 0.0;       // knots, "VELOCITY WORLD X"
    double verticalSpeed = 0.0;      // feet per minute, "VELOCITY WORLD Y"
    double headingTrue = 0.0;        // degrees, "PLANE HEADING DEGREES TRUE"
    double altAboveGround = 1000.0;  // feet, "PLANE ALT ABOVE GROUND"
    bool engineRunning = true;       // "ENG COMBUSTION"
    bool isUserSim = false;          // "IS USER SIM"
    std::string atcId;               // "ATC ID" (full-data mode)
    std::string name;                // the host's name of the aircraft (position-only mode)
    bool nameIsNull = false;         // aircraftName answers null
    std::vector<VerticalSpeedChange> verticalSpeedChanges;  // ascending by time

    // Sets both altitudes (and keeps the height above ground in step).
    Aircraft& at(double lat, double lon, double altitudeFt);
    // Sets the ground velocity from a track and ground speed; heading follows the track.
    Aircraft& moving(double trackDeg, double groundSpeedKt, double verticalSpeedFpm = 0.0);
    Aircraft& named(const std::string& text);  // sets both atcId and name
    Aircraft& changeVerticalSpeed(double atTime, double verticalSpeedFpm);
};

// Great-circle distance in nautical miles between two positions in degrees.
double greatCircleDistanceNm(double lat1, double lon1, double lat2, double lon2);

// The position `distanceNm` away from (lat, lon) along the initial true course
// `bearingDeg`, on the host's sphere.
void destinationPoint(double lat, double lon, double bearingDeg, double distanceNm, double* outLat,
                      double* outLon);

class Scenario {
  public:
    Scenario();

    Aircraft& own() { return own_; }
    const Aircraft& own() const { return own_; }

    // Traffic in the order the host lists it (the own aircraft is inserted at
    // ownListPosition). Tests may edit or reorder it directly.
    std::vector<Aircraft>& traffic() { return traffic_; }
    const std::vector<Aircraft>& traffic() const { return traffic_; }

    // Appends an aircraft; returns a reference valid until the next append.
    Aircraft& add(const Aircraft& aircraft);
    // Appends an aircraft placed relative to the own aircraft: `bearingDeg` and
    // `distanceNm` from it, `altOffsetFt` above its altitudes (true and
    // indicated), moving along `trackDeg` at `groundSpeedKt`, climbing at
    // `verticalSpeedFpm`. Its ATC id and name default to "T<id>".
    Aircraft& addRelative(int32_t id, double bearingDeg, double distanceNm, double altOffsetFt,
                          double trackDeg = 0.0, double groundSpeedKt = 0.0,
                          double verticalSpeedFpm = 0.0);

    // The first aircraft with this id (own aircraft first), or null.
    Aircraft* find(int32_t id);
    const Aircraft* find(int32_t id) const;
    // Removes every traffic aircraft with this id; returns how many were removed.
    int remove(int32_t id);

    // Moves every aircraft (own included) `seconds` forward. Negative values are
    // ignored (the host's clock may be set back separately).
    void advance(double seconds);
    double time() const { return time_; }

    // Whether and where the own aircraft appears in the listing: by default it
    // is listed first, as the simulator does.
    bool listOwn = true;
    size_t ownListPosition = 0;

  private:
    Aircraft own_;
    std::vector<Aircraft> traffic_;
    double time_ = 0.0;
};

// Moves one aircraft `seconds` forward from scenario time `startTime`.
void advanceAircraft(Aircraft& aircraft, double startTime, double seconds);

}  // namespace cs::sim
