// The contact sheet of each view of a workbench run, <view>-sheet.png in the
// scenario's folder: every kept picture of the view with its time, as the
// preview writes one per display.
#pragma once

#include "tools/workbench/Workbench.h"

namespace cs::workbench {

// Writes the sheets from the run's kept pictures (WorkbenchOptions::keepImages)
// and adds their paths to run.files; nothing when the run wrote no folder.
// Throws std::runtime_error when a file cannot be written.
void writeViewSheets(const preview::PreviewScenario& scenario, ScenarioRun& run);

}  // namespace cs::workbench
