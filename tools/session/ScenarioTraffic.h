// A scenario's aircraft handed to the replacement host: the own aircraft and
// the traffic at their start, moving as planned.
#pragma once

#include "simhost/SimHost.h"
#include "tools/scenario/ScenarioModel.h"

namespace cs::preview {

// Replaces the host's traffic with the scenario's and restarts its clock and
// tick counter at zero.
void loadTraffic(sim::SimHost& host, const PreviewScenario& scenario);

}  // namespace cs::preview
