// The preview's run: scenarios through the displays of a session's module
// (ScenarioRun.h), recording what the module draws and publishes (RunLog.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tools/preview/RunLog.h"
#include "tools/scenario/ScenarioParser.h"
#include "tools/session/ModuleSession.h"

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

// Runs one scenario, whose names have been resolved, through the session's
// module. Throws std::runtime_error when the module is not loaded, refuses a
// display or a file cannot be written.
RunResult runScenario(ModuleSession& session, const PreviewScenario& scenario,
                      const RunOptions& options);

}  // namespace cs::preview
