// The preview host: loads the module, starts it, and runs scenarios through
// its displays (ScenarioRun.h), recording what the module draws and
// publishes (RunLog.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "simhost/ModuleLoader.h"
#include "tools/preview/ModuleCatalogue.h"
#include "tools/preview/RunLog.h"
#include "tools/preview/ScenarioParser.h"

namespace cs::preview {

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

// The run's log, and the files it wrote.
struct RunResult : RunLog {
    std::string scenario;
    std::string folder;              // where files went
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
    const ModuleVocabulary& vocabulary() const;

    // The module's property catalogue as a fresh gauge answers it.
    using PropertyInfo = preview::PropertyInfo;
    const std::vector<PropertyInfo>& properties() const;

    // Runs one scenario whose names have been resolved. Throws
    // std::runtime_error when the module refuses a display or a file cannot
    // be written.
    RunResult run(const PreviewScenario& scenario, const RunOptions& options);

  private:
    struct State;
    std::unique_ptr<State> state_;
    std::string error_;
    std::vector<std::string> registeredAtStart_;
    ModuleCatalogue catalogue_;
};

// The module next to the program (ContactScope.so / ContactScope.dll). If it
// is missing: on Linux the one of this build, on Windows still that path, so
// that the shipped program reports what it lacks.
std::string defaultModulePath();

}  // namespace cs::preview
