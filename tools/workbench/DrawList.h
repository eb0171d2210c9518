// What a panel picture is made of, as plain data: the compositor walks the
// gauges into a flat list of drawing commands (which elements are visible,
// where they sit, how a text fills its box), and a replayer of the platform
// draws the list into a canvas. Tests read the list instead of pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/gauge/GaugeModel.h"

namespace cs::sim {
class Canvas;
}

namespace cs::workbench {

struct GaugeImage;

// Gauge units to picture pixels: x' = xx*x + xy*y + dx, y' = yx*x + yy*y + dy.
struct Affine {
    double xx = 1.0, yx = 0.0, xy = 0.0, yy = 1.0, dx = 0.0, dy = 0.0;

    static Affine translation(double x, double y) { return Affine{1, 0, 0, 1, x, y}; }
    static Affine scaling(double sx, double sy) { return Affine{sx, 0, 0, sy, 0, 0}; }
    // This transform applied after `inner`.
    Affine after(const Affine& inner) const;
    double mapX(double x, double y) const { return xx * x + xy * y + dx; }
    double mapY(double x, double y) const { return yx * x + yy * y + dy; }
};

// An axis-aligned rectangle in picture pixels.
struct PixelRect {
    double x = 0.0, y = 0.0, width = 0.0, height = 0.0;
    PixelRect intersect(const PixelRect& other) const;
    bool empty() const { return width <= 0.0 || height <= 0.0; }
};

// A clip that is not an axis-aligned box of the picture: a box turned with
// its element, or a mask bitmap drawing only where it is not transparent.
// `transform` maps its units (the bitmap's pixels) to picture pixels.
struct ClipMask {
    Affine transform;
    double width = 0.0, height = 0.0;
    const GaugeImage* image = nullptr;  // null: the whole box
    int line = 0;                       // the <MaskImage> or <Clip>
};

enum class DrawOp {
    Rectangle,  // the box, filled and/or outlined
    Image,      // a gauge bitmap at the origin, its own size in gauge units
    Text,       // a text box: background, then the text in its font and alignment
    Canvas,     // what the module last drew for a <CustomDraw>, one pixel a pixel
    Ellipse,    // the ellipse filling the box, filled and/or outlined
    Path,       // `points` joined, outlined; closed and filled for a polygon
};

struct PathPoint {
    double x = 0.0, y = 0.0;
};

struct DrawCommand {
    DrawOp op = DrawOp::Rectangle;
    int line = 0;                      // the element's line in its gauge file
    Affine transform;                  // the element's gauge units to picture pixels
    PixelRect clip;                    // what the command may touch
    std::vector<ClipMask> masks;       // and within that, each of these
    double width = 0.0, height = 0.0;  // the box in gauge units

    gauge::RectangleStyle rectangle;      // Rectangle, Ellipse, Path: outline and fill
    std::vector<PathPoint> points;        // Path
    bool closed = false;                  // Path: a polygon
    const GaugeImage* image = nullptr;    // Image
    std::string text;                     // Text: the string, UTF-8
    gauge::TextStyle style;               // Text
    const sim::Canvas* canvas = nullptr;  // Canvas: its pixels, placed by `transform`
};

struct DrawList {
    int width = 0, height = 0;  // the picture
    std::vector<DrawCommand> commands;
};

}  // namespace cs::workbench
