// Draws a DrawList into a canvas of the replacement host, one implementation
// per platform in backends/: Cairo on Linux, GDI+ on Windows (the simulator
// draws XML gauges with GDI+, so texts and edges come out as designers see
// them there). Each states which parts of the gauge schema it cannot draw, so
// that the workbench warns where a picture will lack them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/workbench/DrawList.h"

namespace cs::sim {
class Canvas;
}

namespace cs::workbench {

class Replayer {
  public:
    virtual ~Replayer() = default;
    // Clears `canvas` to opaque black (a panel window's background) and draws
    // every command of `list` in order. Images and module canvases fill their
    // box (width x height gauge units) under the command's transform; a text
    // fills its box with its background, then draws the text in a font whose
    // line (ascent and descent) is the box's height, aligned as its style says.
    virtual void replay(const DrawList& list, sim::Canvas& canvas) = 0;
    // Elements of the gauge schema this backend does not draw.
    virtual const std::vector<std::string>& undrawn() const = 0;
};

// This platform's replayer.
std::unique_ptr<Replayer> makePlatformReplayer();

}  // namespace cs::workbench
