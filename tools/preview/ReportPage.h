// report.html, the page of one scenario run: the frames of every display with
// a slider, the values the module published at that frame, and per intruder a
// timeline of distance and relative altitude over coloured bands of its
// threat level, on the shared page of tools/report/ with the preview's own
// script (tools/preview/report/preview.js).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/preview/PreviewRun.h"

namespace cs::preview {

// Scenes with more intruders than this chart (and list) only the intruders
// that reached a TA, as the terminal summary does.
constexpr size_t kChartEveryIntruderUpTo = 12;

// The display's colours (0xRRGGBB) of Other, Proximity, TA and RA traffic:
// the scenario's draw parameters where it gives them, else the module's
// defaults for that display.
std::array<int32_t, 4> levelColours(const PreviewScenario& scenario, DisplayKind kind);

// The page of a finished run; `command` is the command line that made it.
std::string reportPageHtml(const PreviewScenario& scenario, const RunResult& result,
                           const std::string& command);

}  // namespace cs::preview
