// The window sections of a panel.cfg, as the simulator reads them:
//
//   [Window09]
//   size_mm=256,304
//   gauge00=ContactScope!ContactScope_TCAS, 0, 0, 256, 256
//
// A gauge line is "gaugeNN=Folder!Name, x, y[, width[, height]]" in the
// window's size_mm units; a missing width or height is the gauge's own
// (kept as 0 here). Comments start with "//" or ";".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/gauge/Diagnostics.h"

namespace cs::gauge {

struct PanelGauge {
    int line = 0;
    std::string folder, name;                            // "ContactScope", "ContactScope_TCAS"
    double x = 0.0, y = 0.0, width = 0.0, height = 0.0;  // 0: the gauge's own size
    std::string parameter;  // the sixth field, for gauges written in C; XML gauges ignore it
};

struct PanelWindow {
    int number = 0;
    int line = 0;  // of the [WindowNN] header
    std::string title;
    double width = 0.0, height = 0.0;  // size_mm; 0 when not given
    std::vector<PanelGauge> gauges;
};

// Reads window `number` of a panel.cfg text. A missing window, a bad gauge
// or size line is an error; unknown keys and numbering the simulator would
// not reach are warnings. False on errors.
bool readPanelWindow(std::string_view text, const std::string& file, int number,
                     PanelWindow& window, Diagnostics& diagnostics);

}  // namespace cs::gauge
