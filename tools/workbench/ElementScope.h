// What the parts of an element are drawn under: the element's transform
// (its position, then its rotation and shift about its pivot), the clip of
// the gauge and of each enclosing text box, <Clip> and <MaskImage>, and the
// pivot its images put their axis on.
//
// For an element at position P, its mask's axis A (none: 0) and its image's
// axis I, a point q of the element's units is drawn at
//   outer(P + A + R(angle - pointsTo) * (q - A + shift)),
// so the image (whose top-left sits at A - I) turns about its own axis, the
// shift slides along the turned axes, and the mask's top-left corner stays
// at P, unturned.
#pragma once

#include <vector>

#include "tools/workbench/DrawList.h"

namespace cs::workbench {

struct ElementScope {
    Affine transform;
    PixelRect clip;
    std::vector<ClipMask> masks;
    double pivotX = 0.0, pivotY = 0.0;
};

// Where an element's rotation and shift stand (NodeState of the runtime):
// radians clockwise from 12 o'clock, and gauge units.
struct Pose {
    double angle = 0.0;
    double shiftX = 0.0, shiftY = 0.0;
};

// Turning by `radians` clockwise on the picture (y grows downwards).
Affine rotation(double radians);

// The scope of what `element` draws inside `outer`; `gauge` is the gauge's
// own transform (an FS9 <Clip> is given in gauge units from its corner),
// `mask` the bitmap of its <MaskImage> (null: none, or not loaded).
ElementScope elementScope(const gauge::Node& element, const Pose& pose, const ElementScope& outer,
                          const Affine& gauge, const GaugeImage* mask);

// `scope` clipped further to the box of width x height under `t`: an
// axis-aligned box narrows the picture clip, a turned one becomes a mask.
void clipToBox(ElementScope& scope, const Affine& t, double width, double height, int line);

// Whether `t` turns (or shears) what it draws.
bool turns(const Affine& t);

// `t` without its turn: the same origin and scale, axes upright.
Affine upright(const Affine& t);

}  // namespace cs::workbench
