// The report pages of a workbench run (the shared page of tools/report/ with
// the workbench's script, tools/workbench/report/workbench.js): per view the
// pictures with the mouse; per picture every text element's string, each
// gauge's tool-tip, C: properties and the L: variables; timelines of the
// variables the gauges use, advisory bands, first showings, clicks and key
// events. And what the run's index shows of a scenario.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "tools/report/ReportIndex.h"
#include "tools/workbench/WorkbenchState.h"

namespace cs::workbench {

// The page's data (see workbench.js for its use).
nlohmann::ordered_json reportData(const preview::PreviewScenario& scenario,
                                  const Workbench::State& state, const ScenarioRun& run);

// The index's entry: the contact sheets and when each text first showed.
report::IndexEntry indexEntry(const preview::PreviewScenario& scenario, const ScenarioRun& run);

}  // namespace cs::workbench
