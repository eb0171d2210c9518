#include "render/RadarScreen.h"

#include <cmath>

#include "render/SurfaceObjects.h"
#include "render/SymbolShapes.h"

namespace cs {

namespace {
constexpr float kTrackVectorLength = 4.0f;  // symbol sizes
}  // namespace

void RadarScreen::drawSymbol(float x, float y, int32_t flags, const TrafficRecord* record,
                             double heading, Argb colour, const wchar_t* altitudeTag,
                             const wchar_t* label) {
    const float s = symbolSize();
    const SymbolTools tools(backend(), colour, fontName(), s);
    const auto& [brush, pen, font, format] = tools;
    DrawingContext* g = graphics();
    if (g == nullptr || record == nullptr || altitudeTag == nullptr || label == nullptr) {
        return;
    }
    if ((flags & detail_flags::Dot) != 0) {
        g->fillEllipse(brush.get(), dotBounds(x, y, s));
    }
    if ((flags & detail_flags::Outline) != 0) {
        g->drawEllipse(pen.get(), symbolSquare(x, y, s));
        if (record->groundSpeed > 0.0) {
            // The track as seen on a display whose up direction is the
            // heading; a track that is not a number has no direction.
            const double g_rad =
                (record->trackAngle - heading) / TrafficConstants::kDegreesPerRadian;
            const double length = static_cast<double>(kTrackVectorLength) * s;
            const float tipX = narrowToFloat(x + std::sin(g_rad) * length);
            const float tipY = narrowToFloat(y - std::cos(g_rad) * length);
            if (std::isfinite(tipX) && std::isfinite(tipY)) {
                g->drawLine(pen.get(), PointF{tipX, tipY}, PointF{x, y});
            }
        }
    }
    if ((flags & detail_flags::Fill) != 0) {
        g->fillEllipse(brush.get(), symbolSquare(x, y, s));
    }
    if ((flags & detail_flags::AltitudeTag) != 0) {
        g->drawString(altitudeTag, font.get(), textAbove(x, y, s), format.get(), brush.get());
    }
    if ((flags & detail_flags::Label) != 0) {
        g->drawString(label, font.get(), textBelow(x, y, s), format.get(), brush.get());
    }
}

void RadarScreen::drawPad(float x, float y, int32_t flags, const TrafficRecord* record,
                          const wchar_t* altitudeTag, const wchar_t* label) {
    const float s = symbolSize();
    SolidBrush brush(backend(), kPadColour);
    CentredStringFormat format(backend());
    Font font(backend(), fontName(), kFontPointsPerSymbolSize * s);
    DrawingContext* g = graphics();
    if (g == nullptr || record == nullptr || altitudeTag == nullptr || label == nullptr) {
        return;
    }
    if ((flags & (detail_flags::Outline | detail_flags::Fill)) != 0) {
        g->fillRectangle(brush.get(), symbolPad(x, y, s));
    }
    const RectF tagBox =
        g->measureString(altitudeTag, font.get(), textAbove(x, y, s), format.get());
    if ((flags & detail_flags::AltitudeTag) != 0) {
        g->fillRectangle(brush.get(), tagBox);
    }
    const RectF labelBox = g->measureString(label, font.get(), textBelow(x, y, s), format.get());
    if ((flags & detail_flags::Label) != 0) {
        g->fillRectangle(brush.get(), labelBox);
    }
}

}  // namespace cs
