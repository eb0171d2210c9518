// The preview host: loads the module, starts it, creates one gauge per
// display through the module's registered callbacks, moves a scenario's
// traffic at the host's rate, draws each display, and records what the module
// publishes.
//
// Per-aircraft levels are not properties of the module. The host learns them
// the way a gauge could: after each normal frame it draws probe frames (into
// a scratch canvas, never saved) with the mouse on the aircraft's position
// and only some threat levels displayed, and reads "toolTipId" and the other
// tool-tip properties back. An aircraft whose id comes back while only the RA
// level is displayed is an RA, and so on. All reported numbers are the
// module's own tool-tip values.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "simhost/ModuleLoader.h"
#include "tools/preview/ScenarioParser.h"

namespace cs::preview {

// Threat levels as the module numbers them; kNotShown when the module showed
// the aircraft at no level (hidden, or not in its snapshot).
constexpr int kNotShown = -2;
const char* levelName(int level);  // "Other", "Proximity", "TA", "RA" or null

struct PropertyValue {
    int32_t id = 0;
    std::string name;
    bool isText = false;
    bool ok = false;  // the module answered the read
    double number = 0.0;
    std::string text;  // UTF-8 (the module's texts are Windows-1252)
};

struct AircraftObservation {
    int32_t id = 0;
    std::string atcId;   // as the host gave it (position-only: its name)
    bool found = false;  // the module's tool-tip named it at its position
    int level = kNotShown;
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
    int highestLevel = kNotShown;
};

struct DisplayResult {
    DisplayKind kind = DisplayKind::Tcas;
    std::vector<FrameRecord> frames;
    std::vector<IntruderSummary> intruders;
};

struct RunOptions {
    std::string outDir;  // the scenario's folder is made inside; empty: write nothing
    bool writeFrames = true;
    bool writeSheet = true;
    bool writeLog = true;
    bool overlay = true;               // own-aircraft symbol and 2 nm ring on the kept images
    bool probe = true;                 // per-aircraft levels and values through hover probes
    double frameIntervalS = -1.0;      // images; negative: the scenario's
    uint32_t clearArgb = 0xFF000000u;  // the canvas before each draw (the module paints over it)
    std::optional<DisplayKind> onlyDisplay;
    std::function<void(double fraction)> progress;  // 0..1 through this run
};

struct RunResult {
    std::string scenario;
    std::string folder;  // where files went
    std::vector<DisplayResult> displays;
    std::vector<std::string> files;  // every file written
};

// A loaded and started module with its host. One session runs many scenarios.
class ModuleSession {
  public:
    ModuleSession();
    ~ModuleSession();
    ModuleSession(const ModuleSession&) = delete;
    ModuleSession& operator=(const ModuleSession&) = delete;

    // Loads the module from `path`, hands it the host's services by `route`
    // and starts it; false with error() set.
    bool open(const std::string& path, sim::HandOverRoute route = sim::HandOverRoute::ImportTable);
    const std::string& error() const { return error_; }

    // The panel names the module registered when it started, in order.
    const std::vector<std::string>& registeredAtStart() const { return registeredAtStart_; }
    // What stopping the module did to the host's registry of panel names.
    struct StopRecord {
        std::vector<std::string> unregistered, registered;
        std::vector<std::string> stillRegistered;  // of the names registered at start
    };
    // Stops and unloads the module (otherwise the destructor does).
    StopRecord close();

    // The names the module offers, taken from a scratch gauge.
    const ModuleVocabulary& vocabulary() const { return vocabulary_; }

    // The module's property catalogue as a fresh gauge answers it.
    struct PropertyInfo {
        int32_t id = 0;
        std::string name;
        int32_t kind = 0;  // -1 number, -2 text
        bool readable = false, writable = false;
        double number = 0.0;  // value of a fresh gauge
        std::string text;
    };
    const std::vector<PropertyInfo>& properties() const { return properties_; }

    // Runs one scenario whose names have been resolved. Throws
    // std::runtime_error when the module refuses a display or a file cannot
    // be written.
    RunResult run(const PreviewScenario& scenario, const RunOptions& options);

  private:
    struct State;
    std::unique_ptr<State> state_;
    std::string error_;
    std::vector<std::string> registeredAtStart_;
    ModuleVocabulary vocabulary_;
    std::vector<PropertyInfo> properties_;
};

// The module next to the program (ContactScope.so / ContactScope.dll). If it
// is missing: on Linux the one of this build, on Windows still that path, so
// that the shipped program reports what it lacks.
std::string defaultModulePath();

// Windows-1252 text (the module's narrow strings) as UTF-8.
std::string utf8FromWindows1252(const std::string& text);

}  // namespace cs::preview
