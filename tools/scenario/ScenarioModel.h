// What a preview scenario file describes, after parsing and unit conversion:
// the own aircraft and its traffic, the gauge's properties, the draw
// parameters of each display, and how long and how fast the host runs.
//
// All quantities are in the module's units: nautical miles, feet, knots,
// feet per minute, seconds, degrees true.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cs::preview {

enum class DisplayKind : int32_t { Radar = 0, Tcas = 1 };

const char* displayName(DisplayKind kind);  // "radar" or "tcas"

struct VerticalSpeedStep {
    double atS = 0.0;
    double verticalSpeedFpm = 0.0;
};

// One aircraft. Its start is either absolute (latitude, longitude, altitude)
// or relative to the own aircraft (bearing, distance, altitude offset).
struct AircraftPlan {
    int32_t id = 0;
    std::string atcId;  // full-data mode: "ATC ID"
    std::string name;   // position-only mode: the host's name (defaults to atcId)
    int line = 0;       // where it starts in the file, for messages

    bool relative = false;
    double latitude = 0.0, longitude = 0.0;     // absolute start
    double bearingDeg = 0.0, distanceNm = 0.0;  // relative start
    bool altitudeRelative = false;
    double altitudeFt = 0.0;  // absolute altitude, or offset from the own altitude

    // Motion: track and ground speed, or north/east velocity components.
    bool velocityComponents = false;
    double trackDeg = 0.0, groundSpeedKt = 0.0;
    double velocityNorthKt = 0.0, velocityEastKt = 0.0;
    std::optional<double> headingDeg;  // defaults to the track
    double verticalSpeedFpm = 0.0;
    std::vector<VerticalSpeedStep> verticalSpeedSteps;  // ascending by time

    std::optional<double> radioAltitudeFt;  // defaults to the altitude (sea-level terrain)
    bool engineRunning = true;
};

// A value given for a module name (a draw parameter or a gauge property),
// kept as written until the names are resolved against the module.
struct NamedValue {
    std::string name;
    std::string path;  // e.g. "parameters.TADetail", for messages
    int line = 0;
    enum class Kind { Number, Text } kind = Kind::Number;
    double number = 0.0;
    std::string text;
    // Filled in by name resolution.
    int32_t id = -1;
    int32_t type = 0;  // draw parameters: sim::kParameterTypeReal, ...Integer or ...String
};

struct MouseKey {
    double atS = 0.0;
    double x = 0.5, y = 0.5;  // fractions of the drawing area
    std::string click;        // gauge workbench: a click there and then ("LeftSingle")
    int line = 0;
};

// Gauge workbench: one key of an aircraft variable's timeline. The value
// holds from `atS` to the next key; with `ramp` it runs evenly from the
// previous key's value to this one instead.
struct VariableKey {
    double atS = 0.0;
    bool isText = false;
    double number = 0.0;
    std::string text;
    std::string unit;  // as written ("volts"); empty: a plain number
    bool ramp = false;
};

// Gauge workbench: an (A:name) variable the scenario gives.
struct GivenVariable {
    std::string name;
    std::string path;  // "aircraftVariables.ELECTRICAL MAIN BUS VOLTAGE", for messages
    int line = 0;
    std::vector<VariableKey> keys;  // ascending by time; the first holds from the start
};

struct DisplayPlan {
    DisplayKind kind = DisplayKind::Tcas;
    std::vector<NamedValue> parameters;  // on top of the scenario's common ones
};

struct PreviewScenario {
    std::string file;  // as named in messages
    std::string name;  // short name, used for the output folder
    std::string title;
    std::string expect;  // what a user should see

    double durationS = 60.0;
    double ticksPerSecond = 18.0;   // the host's tick counter
    double callsPerSecond = 18.0;   // update and draw calls per second
    double frameIntervalS = 0.0;    // images: 0 = every traffic cycle
    int width = 256, height = 256;  // drawing area in device pixels
    double hostScale = 1.0;         // device pixels per gauge unit, both axes
    bool positionOnly = false;

    AircraftPlan own;
    std::vector<AircraftPlan> traffic;

    std::vector<NamedValue> gauge;       // writable gauge properties, set once at start
    std::vector<MouseKey> mouse;         // ascending by time; the mouse holds between keys
    std::vector<NamedValue> parameters;  // draw parameters of every display
    std::vector<DisplayPlan> displays;   // default: TCAS then radar

    // Gauge workbench: initial values of the XML gauges' (L:name) variables.
    std::vector<NamedValue> localVariables;
    // Gauge workbench: aircraft variables beyond the own aircraft's motion.
    std::vector<GivenVariable> aircraftVariables;
    double localTimeS = 12 * 3600.0;  // gauge workbench: the time of day at the start
};

}  // namespace cs::preview
