// Shapes and constants shared by the two symbologies; all sizes are
// multiples of the symbol size s, in world units around the aircraft (x, y).
#pragma once

#include "render/DrawingSurface.h"
#include "render/SurfaceObjects.h"

namespace cs {

constexpr Argb kPadColour = 0xFF101010u;  // opaque, nearly black
constexpr float kFontPointsPerSymbolSize = 2.25f;
constexpr float kPenWidthPerSymbolSize = 0.5f;

// What one symbol call draws with, in its level's colour: made in this order
// on entry, released in the reverse order on return.
struct SymbolTools {
    SymbolTools(DrawingBackend& backend, Argb colour, const wchar_t* fontName, float s)
        : brush(backend, colour),
          pen(backend, colour, kPenWidthPerSymbolSize * s),
          font(backend, fontName, kFontPointsPerSymbolSize * s),
          format(backend) {}
    SolidBrush brush;
    Pen pen;
    Font font;
    CentredStringFormat format;
};

// The 3 s square the symbol lives in; its inscribed circle is the TA/radar circle.
inline RectF symbolSquare(float x, float y, float s) {
    return RectF{x - 1.5f * s, y - 1.5f * s, 3.0f * s, 3.0f * s};
}

// The dot: a circle of diameter s.
inline RectF dotBounds(float x, float y, float s) {
    return RectF{x - 0.5f * s, y - 0.5f * s, s, s};
}

// The pad behind the outline or fill: 4.25 s square.
inline RectF symbolPad(float x, float y, float s) {
    return RectF{x - 2.125f * s, y - 2.125f * s, 4.25f * s, 4.25f * s};
}

// Text origins: the middle of the text's top edge.
inline PointF textAbove(float x, float y, float s) {
    return PointF{x, y - 5.5f * s};
}
inline PointF textBelow(float x, float y, float s) {
    return PointF{x, y + 2.0f * s};
}

}  // namespace cs
