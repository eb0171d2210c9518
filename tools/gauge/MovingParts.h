// The moving and masking parts of a gauge element, as both schemas write
// them (FS9 <Rotate>/<Shift>/<MaskImage>/<Clip>, FSX <Rotation>/<Shift>/
// <MaskImage>/<Clip>), and the vector shapes an element may draw.
//
// An element turns and slides what it draws about its pivot: the element's
// position, or with a mask the point of the mask named by the mask's axis
// (the mask's top-left corner sits at the position). Its image is placed so
// that the image's own axis sits at the pivot.
#pragma once

#include <vector>

#include "tools/gauge/Script.h"

namespace cs::gauge {

// One <Item> of a <Nonlinearity> table (FSX: <NonlinearityEntry>): the value
// and where it puts the part. A rotation's item names a point of the dial
// (X, Y in the frame of the element's position) the part points to, or an
// angle in degrees clockwise from 12 o'clock; a shift's item is the offset.
struct NonlinearItem {
    double value = 0.0;
    double x = 0.0, y = 0.0;
    bool hasDegrees = false;
    double degrees = 0.0;
};

// A <Rotate> or <Shift>: the value script, limited to Minimum..Maximum, put
// through the table (or, without one, a rotation's value is the angle in
// radians, a shift's value times Scale is the offset), then followed at no
// more than `rate` per second (degrees or gauge units; 0: at once).
struct Motion {
    bool present = false;
    int line = 0;
    Script value;
    bool hasMinimum = false, hasMaximum = false;
    double minimum = 0.0, maximum = 0.0;
    std::vector<NonlinearItem> table;
    double scaleX = 0.0, scaleY = 0.0;  // Shift without a table
    bool hasScale = false;
    double rate = 0.0;
    // Rotation: where the part points in its bitmap, in radians clockwise
    // from 12 o'clock (PointsTo: North 0, East, South, West).
    double pointsTo = 0.0;
};

// A <MaskImage Name> with its <Axis>: the element draws only where the mask
// bitmap is not transparent.
struct MaskPart {
    bool present = false;
    int line = 0;
    std::string image;
    double axisX = 0.0, axisY = 0.0;
};

// A <Clip>: the element draws only inside the box. FS9 gives it in gauge
// units from the gauge's corner (a <RelClip> from the element's position);
// FSX from the element's position.
struct ClipPart {
    bool present = false;
    int line = 0;
    bool relative = false;
    double left = 0.0, top = 0.0, width = 0.0, height = 0.0;
};

enum class ShapeKind { Ellipse, Polyline, Polygon };

struct ShapePoint {
    double x = 0.0, y = 0.0;
};

// A vector shape in the element's units: an ellipse fills the node's box
// from the element's position (a <Circle Radius> is a box of 2 x Radius),
// a polyline or polygon joins its points; lines are two-point polylines.
struct ShapeStyle {
    ShapeKind kind = ShapeKind::Polyline;
    std::vector<ShapePoint> points;
};

}  // namespace cs::gauge
