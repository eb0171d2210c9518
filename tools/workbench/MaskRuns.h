// A mask bitmap as the replayers clip with it: the pixels that are not
// transparent (pure black is, as the simulator keys gauge bitmaps), as
// rectangles in the bitmap's pixels, so that both backends clip to the same
// hard-edged region, turned with its element.
#pragma once

#include <vector>

#include "tools/workbench/DrawList.h"
#include "tools/workbench/GaugeImage.h"

namespace cs::workbench {

// Runs of opaque pixels per row; a run repeated in the rows below grows
// downwards instead (a window cut into a mask is one rectangle).
std::vector<PixelRect> opaqueRuns(const GaugeImage& mask);

}  // namespace cs::workbench
