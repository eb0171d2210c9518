// Puts a scenario's own aircraft and traffic into the replacement host and
// resets its clock, as the preview's run does.
#pragma once

#include "simhost/SimHost.h"
#include "tools/preview/ScenarioModel.h"

namespace cs::workbench {

void placeTraffic(sim::SimHost& host, const preview::PreviewScenario& scenario);

}  // namespace cs::workbench
