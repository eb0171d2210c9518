// The parts of the gauge schema that neither replayer draws yet: read and
// checked, then left out of the picture with a warning.
#pragma once

#include <string>
#include <vector>

namespace cs::workbench {

inline const std::vector<std::string>& undrawnElements() {
    static const std::vector<std::string> names = {"Failures",
                                                   // FSX-format gauges' names
                                                   "Arc", "Pie", "FailureTable"};
    return names;
}

}  // namespace cs::workbench
