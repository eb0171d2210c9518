// How a <Rotate> or <Shift> turns its value into where the part is, as the
// simulator does it each time the gauge's elements are evaluated: the value
// limited to Minimum..Maximum, looked up in the nonlinearity table (between
// two items in proportion, past the ends at the end item), and followed at
// the delay's rate.
#pragma once

#include "tools/gauge/MovingParts.h"

namespace cs::workbench {

struct Offset {
    double x = 0.0, y = 0.0;
};

// The value limited to the motion's Minimum and Maximum (each when given).
double limited(const gauge::Motion& m, double value);

// Where a rotation points its part for `value`: radians clockwise from 12
// o'clock. Without a table the value is that angle; a table's items give
// points of the dial, seen from the pivot (px, py) in the frame of the
// element's position, or angles in degrees, and the angle between two items
// goes the shorter way round from one to the next (clockwise when they are
// half a turn apart).
double rotationAngle(const gauge::Motion& m, double value, double px, double py);

// Where a shift moves its part for `value`: the table's offsets, or the
// value times Scale.
Offset shiftOffset(const gauge::Motion& m, double value);

// One step of a delayed part towards `target`, at most `step` (an angle, or
// a distance in gauge units); the target itself when it is that close.
double follow(double current, double target, double step);
Offset follow(const Offset& current, const Offset& target, double step);

}  // namespace cs::workbench
