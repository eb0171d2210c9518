// The log of a workbench run, log.jsonl: one JSON object a line - the run,
// each picture's frame (elements, tool-tip, C: and L: values), each click
// and key event, and the summary of when each text first showed.
#pragma once

#include <string>

#include "tools/workbench/WorkbenchState.h"

namespace cs::workbench {

std::string runLog(const preview::PreviewScenario& scenario, const Workbench::State& state,
                   const ScenarioRun& result);

}  // namespace cs::workbench
