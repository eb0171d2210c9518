// The parts of the gauge schema that neither replayer draws yet: read and
// checked, then left out of the picture with a warning.
#pragma once

#include <string>
#include <vector>

namespace cs::workbench {

inline const std::vector<std::string>& undrawnElements() {
    static const std::vector<std::string> names = {
        "Shift", "Rotate", "Polyline", "Polygon", "MaskImage", "Failures", "Clip", "Circle",
        "Nonlinearity", "Scale", "Axis", "Delay",
        // FSX-format gauges' names
        "Rotation", "Ellipse", "Arc", "Pie", "HorizontalLine", "VerticalLine", "FailureTable"};
    return names;
}

}  // namespace cs::workbench
