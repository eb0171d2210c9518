// The workbench's script of its report pages (what the gauges showed at the
// picture, and the timelines), compiled in from tools/workbench/report/.
#pragma once

namespace cs::workbench {

extern const char* const kWorkbenchTimelines;  // window.WorkbenchTimelines
extern const char* const kWorkbenchScript;     // the page, after the timelines

}  // namespace cs::workbench
