#include "tools/scenario/AircraftReader.h"

#include <vector>

#include "tools/scenario/ScenarioFields.h"

namespace cs::preview {

namespace {

using namespace fields;

// The fields an aircraft may have.
const std::vector<std::string> kOwnKeys = {"id",
                                           "atcId",
                                           "name",
                                           "latitude",
                                           "longitude",
                                           "altitude",
                                           "track",
                                           "groundSpeed",
                                           "velocityNorth",
                                           "velocityEast",
                                           "heading",
                                           "verticalSpeed",
                                           "verticalSpeedChanges",
                                           "radioAltitude"};
const std::vector<std::string> kTrafficKeys = {"id",
                                               "atcId",
                                               "name",
                                               "latitude",
                                               "longitude",
                                               "bearing",
                                               "distance",
                                               "altitude",
                                               "relativeAltitude",
                                               "track",
                                               "groundSpeed",
                                               "velocityNorth",
                                               "velocityEast",
                                               "heading",
                                               "verticalSpeed",
                                               "verticalSpeedChanges",
                                               "radioAltitude",
                                               "engineRunning"};

void readSteps(const FieldReader& in, const Json& list, const std::string& path, AircraftPlan& a) {
    if (!list.is_array()) {
        in.fail(path, std::string("expected a list of {\"at\", \"verticalSpeed\"}, found ") +
                          typeName(list));
    }
    double last = -1.0;
    for (size_t i = 0; i < list.size(); ++i) {
        const std::string p = itemPath(path, i);
        const Json& step = list[i];
        in.expectObject(step, p);
        in.checkKeys(step, p, {"at", "verticalSpeed"});
        VerticalSpeedStep s;
        s.atS = in.required(step, p, kChangeAt);
        if (s.atS < last) {
            in.fail(fieldPath(p, "at"), "times must not decrease from one change to the next");
        }
        last = s.atS;
        s.verticalSpeedFpm = in.required(step, p, kVerticalSpeed);
        a.verticalSpeedSteps.push_back(s);
    }
}

// North and east components instead of track and ground speed.
void readVelocity(const FieldReader& in, const Json& j, const std::string& path, AircraftPlan& a) {
    const Json* vn = in.find(j, kVelocityNorth.key);
    const Json* ve = in.find(j, kVelocityEast.key);
    a.velocityComponents = true;
    if (!vn || !ve) {
        in.fail(fieldPath(path, vn ? kVelocityEast.key : kVelocityNorth.key),
                "missing required field; \"velocityNorth\" and \"velocityEast\" go "
                "together, expected a speed such as \"120 kt\"");
    }
    const std::string northPath = fieldPath(path, kVelocityNorth.key);
    const std::string eastPath = fieldPath(path, kVelocityEast.key);
    a.velocityNorthKt = in.read(*vn, northPath, kVelocityNorth);
    a.velocityEastKt = in.read(*ve, eastPath, kVelocityEast);
    in.checkLimits(northPath, a.velocityNorthKt, kVelocityNorth);
    in.checkLimits(eastPath, a.velocityEastKt, kVelocityEast);
}

void readMotion(const FieldReader& in, const Json& j, const std::string& path, AircraftPlan& a) {
    const bool track = in.find(j, kTrack.key), speed = in.find(j, kGroundSpeed.key);
    const bool north = in.find(j, kVelocityNorth.key), east = in.find(j, kVelocityEast.key);
    if ((north || east) && (track || speed)) {
        in.fail(fieldPath(path, north ? kVelocityNorth.key : kVelocityEast.key),
                "give either \"track\" and \"groundSpeed\" or \"velocityNorth\" and "
                "\"velocityEast\", not both");
    }
    if (north || east) {
        readVelocity(in, j, path, a);
    } else {
        a.groundSpeedKt = in.optional(j, path, kGroundSpeed).value_or(a.groundSpeedKt);
        if (track) {
            a.trackDeg = *in.optional(j, path, kTrack);
        } else if (a.groundSpeedKt > 0.0) {
            in.fail(fieldPath(path, kTrack.key),
                    "missing required field \"track\"; a moving aircraft needs a track in "
                    "degrees, such as 270");
        }
    }
    a.headingDeg = in.optional(j, path, kHeading);
    a.verticalSpeedFpm = in.optional(j, path, kVerticalSpeed).value_or(a.verticalSpeedFpm);
    if (const Json* steps = in.find(j, "verticalSpeedChanges")) {
        readSteps(in, *steps, fieldPath(path, "verticalSpeedChanges"), a);
    }
    a.radioAltitudeFt = in.optional(j, path, kRadioAltitude);
}

void readIdentity(const FieldReader& in, const Json& j, const std::string& path, AircraftPlan& a,
                  bool idRequired) {
    if (idRequired) {
        a.id = static_cast<int32_t>(in.required(j, path, kId));
    } else {
        a.id = static_cast<int32_t>(in.optional(j, path, kId).value_or(a.id));
    }
    if (const Json* atc = in.find(j, "atcId")) {
        a.atcId = in.text(*atc, fieldPath(path, "atcId"), kMaxAtcIdLength);
    }
    if (const Json* name = in.find(j, "name")) {
        a.name = in.text(*name, fieldPath(path, "name"), kMaxAtcIdLength);
    }
}

// The start as latitude and longitude, or as bearing and distance from the
// own aircraft's start.
void readStart(const FieldReader& in, const Json& j, const std::string& path, AircraftPlan& a) {
    const bool absolute = in.find(j, kLatitude.key) || in.find(j, kLongitude.key);
    const bool bearing = in.find(j, kBearing.key);
    const bool relative = bearing || in.find(j, kDistance.key);
    if (absolute && relative) {
        in.fail(fieldPath(path, bearing ? kBearing.key : kDistance.key),
                "give the start either as \"latitude\"/\"longitude\" or as "
                "\"bearing\"/\"distance\" from the own aircraft, not both");
    }
    if (!absolute && !relative) {
        in.require(j, path, kDistance.key,
                   "a start position: \"bearing\" and \"distance\" from the own aircraft, or "
                   "\"latitude\" and \"longitude\"");
    }
    if (absolute) {
        a.latitude = in.required(j, path, kLatitude);
        a.longitude = in.required(j, path, kLongitude);
    } else {
        a.relative = true;
        a.bearingDeg = in.required(j, path, kBearing);
        a.distanceNm = in.required(j, path, kDistance);
    }
}

}  // namespace

AircraftPlan readOwnAircraft(const FieldReader& in, const Json& j, const std::string& path) {
    in.expectObject(j, path);
    in.checkKeys(j, path, kOwnKeys);
    AircraftPlan a;
    a.id = 1;
    a.atcId = "OWNSHIP";
    a.line = in.document().lineOf(path);
    readIdentity(in, j, path, a, false);
    a.latitude = in.required(j, path, kLatitude);
    a.longitude = in.required(j, path, kLongitude);
    a.altitudeFt = in.required(j, path, kAltitude);
    readMotion(in, j, path, a);
    return a;
}

AircraftPlan readTrafficAircraft(const FieldReader& in, const Json& j, const std::string& path) {
    in.expectObject(j, path);
    in.checkKeys(j, path, kTrafficKeys);
    AircraftPlan a;
    a.line = in.document().lineOf(path);
    readIdentity(in, j, path, a, true);
    if (a.atcId.empty() && !in.find(j, "atcId")) {
        a.atcId = 'T' + std::to_string(a.id);
    }
    readStart(in, j, path, a);
    const bool absolute = in.find(j, kAltitude.key);
    const bool relative = in.find(j, kRelativeAltitude.key);
    if (absolute && relative) {
        in.fail(fieldPath(path, kRelativeAltitude.key),
                "give either \"altitude\" or \"relativeAltitude\", not both");
    }
    if (relative) {
        a.altitudeRelative = true;
        a.altitudeFt = *in.optional(j, path, kRelativeAltitude);
    } else {
        a.altitudeFt = in.required(j, path, kTrafficAltitude);
    }
    readMotion(in, j, path, a);
    if (const Json* engine = in.find(j, "engineRunning")) {
        a.engineRunning = in.flag(*engine, fieldPath(path, "engineRunning"));
    }
    return a;
}

}  // namespace cs::preview
