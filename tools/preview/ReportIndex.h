// What the run's index (tools/report/ReportIndex.h) shows of a preview
// scenario: its contact sheets, and per display and intruder the first TA,
// the first RA and the closest approach.
#pragma once

#include "tools/preview/PreviewRun.h"
#include "tools/report/ReportIndex.h"

namespace cs::preview {

report::IndexEntry indexEntry(const PreviewScenario& scenario, const RunResult& result);

}  // namespace cs::preview
