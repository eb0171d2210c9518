// What one preview run recorded, as plain records: the run's description,
// every frame the module drew with the properties it published and what it
// showed of each aircraft, and per display a summary of each intruder. The
// records are written as log.jsonl (one JSON object per line, README "Log
// format") and can be handed to any other writer.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/scenario/ScenarioModel.h"
#include "tools/session/ModuleCatalogue.h"

namespace cs::preview {

// Threat levels as the module numbers them, and kNotShown when the module
// showed the aircraft at no level (hidden, or not in its snapshot).
enum ThreatLevel : int {
    kNotShown = -2,
    kLevelOther = -1,
    kLevelProximity = 0,
    kLevelTA = 1,
    kLevelRA = 2,
};
const char* levelName(int level);  // "Other", "Proximity", "TA", "RA" or null

// The levels a display draws, from Other to RA, numbered from 0.
constexpr int kDrawnLevels = 4;
constexpr int levelIndex(ThreatLevel level) {
    return level - kLevelOther;
}

// What the module showed of one scenario aircraft in one frame.
struct AircraftObservation {
    int32_t id = 0;
    std::string atcId;   // as the host gave it (position-only: its name)
    bool found = false;  // the module's tool-tip named it at its position
    ThreatLevel level = kNotShown;
    std::string reportedId;  // "toolTipId"
    double altitude = 0, distance = 0, bearing = 0, altDiff = 0, track = 0, groundSpeed = 0,
           radAlt = 0;
};

// Where a frame puts one scenario aircraft, in image pixels (from the host's
// own positions, whether or not the module shows it).
struct ImagePosition {
    int32_t id = 0;
    double x = 0.0, y = 0.0;
};

struct FrameRecord {
    int frame = 0;  // 0: the first frame after creation, before any traffic cycle
    double time = 0.0;
    std::string image;  // file name, empty when no image was kept
    std::vector<PropertyValue> properties;
    std::vector<AircraftObservation> aircraft;
    std::vector<ImagePosition> positions;
};

struct IntruderSummary {
    int32_t id = 0;
    std::string atcId;
    int firstTaFrame = -1, firstRaFrame = -1;
    double firstTaTime = 0.0, firstRaTime = 0.0;
    bool seen = false;
    double closestNm = std::numeric_limits<double>::infinity();
    double closestTime = 0.0, closestAltDiff = 0.0;
    ThreatLevel highestLevel = kNotShown;

    // Takes in what one frame showed of this intruder.
    void add(const AircraftObservation& observation, int frame, double time);
};

struct DisplayResult {
    DisplayKind kind = DisplayKind::Tcas;
    std::vector<FrameRecord> frames;
    std::vector<IntruderSummary> intruders;
};

// The run's description, first in the log.
struct RunHeader {
    std::string scenario, title, file;
    double durationS = 0.0, ticksPerSecond = 0.0, callsPerSecond = 0.0;
    bool positionOnly = false;
    int width = 0, height = 0;
    bool probes = false;  // per-aircraft observations were made
    std::vector<DisplayKind> displays;
};

struct RunLog {
    RunHeader header;
    std::vector<DisplayResult> displays;
};

// The log as JSON Lines: the header, then per display its frames and its
// summary.
std::string jsonLines(const RunLog& log);

// A measured value as the log writes it: to four decimals, null when it is
// not a number.
nlohmann::ordered_json loggedNumber(double v);

}  // namespace cs::preview
