// The short summary a run prints: per display and intruder, the first TA,
// the first RA and the closest approach the module reported.
#pragma once

#include <string>

#include "tools/preview/PreviewRun.h"

namespace cs::preview {

std::string summaryText(const PreviewScenario& scenario, const RunResult& result);

}  // namespace cs::preview
