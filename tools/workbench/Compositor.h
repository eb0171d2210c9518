// The picture of gauges as the panel shows them, as a list of drawing
// commands: each visible element of each gauge in file order (background
// image, rectangles, images, texts, the module's custom-draw areas as it last
// drew them), placed by the enclosing elements and the gauge's placement and
// clipped to the gauge. No drawing library here: a Replayer draws the list.
#pragma once

#include "tools/workbench/DrawList.h"
#include "tools/workbench/GaugeImage.h"
#include "tools/workbench/GaugeRuntime.h"

namespace cs::workbench {

// Starts the list of a picture of width x height pixels.
void beginPicture(DrawList& list, int width, int height);
// Appends one gauge as it stands after its last tick.
void composeGauge(DrawList& list, const GaugeRuntime& gauge, const GaugeImages& images);

}  // namespace cs::workbench
