// Where a display puts the scenario's aircraft, computed from the host's own
// positions the way the module computes it: to aim the hover probes, and to
// log each aircraft's place in the images.
#pragma once

#include <vector>

#include "simhost/Scenario.h"
#include "tools/preview/DisplayRun.h"
#include "tools/preview/RunLog.h"

namespace cs::preview {

// Where a display turned to `headingDeg` puts `a` relative to the own
// aircraft, in view units of `nmPerUnit` nautical miles, x to the right and y
// down (single precision, as the module computes it).
void displayOffset(const sim::Aircraft& own, const sim::Aircraft& a, double headingDeg,
                   float nmPerUnit, float* x, float* y);

// Where the frame just drawn puts every scenario aircraft, in image pixels:
// the display centre (CenterX and CenterY, or the middle) plus the aircraft's
// offset at the display's range and heading. Empty when the range is unusable.
std::vector<ImagePosition> imagePositions(const DisplayRun& run, const PreviewScenario& scenario,
                                          const sim::Scenario& traffic);

}  // namespace cs::preview
