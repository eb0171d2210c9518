#include "render/TCASScreen.h"

#include <cmath>

#include "render/SurfaceObjects.h"
#include "render/SymbolShapes.h"
#include "render/SymbolText.h"

namespace cs {

namespace {

// Climb or descent rate beyond which the trend arrow is shown, ft/min.
constexpr double kTrendThreshold = 500.0;

void diamond(float x, float y, float s, PointF corners[4]) {
    corners[0] = PointF{x, y - 1.5f * s};
    corners[1] = PointF{x + 1.5f * s, y};
    corners[2] = PointF{x, y + 1.5f * s};
    corners[3] = PointF{x - 1.5f * s, y};
}

// Traffic level with or above the own aircraft carries its tag on top; the
// label takes the other side.
struct TextOrigins {
    PointF tag;
    PointF label;
};
TextOrigins textOrigins(float x, float y, float s, const TrafficRecord& record) {
    if (altitudeHundreds(record.altDiff) >= 0) {
        return TextOrigins{textAbove(x, y, s), textBelow(x, y, s)};
    }
    return TextOrigins{textBelow(x, y, s), textAbove(x, y, s)};
}

}  // namespace

void TCASScreen::drawSymbol(float x, float y, int32_t flags, const TrafficRecord* record,
                            double /*heading*/, Argb colour, const wchar_t* altitudeTag,
                            const wchar_t* label) {
    const float s = symbolSize();
    const SymbolTools tools(backend(), colour, fontName(), s);
    const auto& [brush, pen, font, format] = tools;
    DrawingContext* g = graphics();
    if (g == nullptr || record == nullptr || altitudeTag == nullptr || label == nullptr) {
        return;
    }
    const TextOrigins origins = textOrigins(x, y, s, *record);
    const ThreatLevel level = record->threatLevel;
    const bool diamondLevel = level == threat::Other || level == threat::Proximity;

    if ((flags & detail_flags::Dot) != 0) {
        g->fillEllipse(brush.get(), dotBounds(x, y, s));
    }
    if ((flags & detail_flags::Outline) != 0) {
        if (diamondLevel) {
            PointF corners[4];
            diamond(x, y, s, corners);
            g->drawPolygon(pen.get(), corners);
        } else if (level == threat::TA) {
            g->drawEllipse(pen.get(), symbolSquare(x, y, s));
        } else if (level == threat::RA) {
            g->drawRectangle(pen.get(), symbolSquare(x, y, s));
        }
    }
    if ((flags & detail_flags::Fill) != 0) {
        if (diamondLevel) {
            PointF corners[4];
            diamond(x, y, s, corners);
            g->fillPolygon(brush.get(), corners);
        } else if (level == threat::TA) {
            g->fillEllipse(brush.get(), symbolSquare(x, y, s));
        } else if (level == threat::RA) {
            g->fillRectangle(brush.get(), symbolSquare(x, y, s));
        }
    }
    if ((flags & detail_flags::AltitudeTag) != 0) {
        g->drawString(altitudeTag, font.get(), origins.tag, format.get(), brush.get());
        const double vs = record->verticalSpeed;
        if (std::fabs(vs) > kTrendThreshold) {
            const float shaftX = x + 3.0f * s;
            const PointF top{shaftX, y - 1.5f * s};
            const PointF bottom{shaftX, y + 1.5f * s};
            g->drawLine(pen.get(), bottom, top);
            if (vs > 0.0) {
                g->drawLine(pen.get(), top, PointF{x + 2.25f * s, y - 0.75f * s});
                g->drawLine(pen.get(), top, PointF{x + 3.75f * s, y - 0.75f * s});
            } else {
                g->drawLine(pen.get(), bottom, PointF{x + 2.25f * s, y + 0.75f * s});
                g->drawLine(pen.get(), bottom, PointF{x + 3.75f * s, y + 0.75f * s});
            }
        }
    }
    if ((flags & detail_flags::Label) != 0) {
        g->drawString(label, font.get(), origins.label, format.get(), brush.get());
    }
}

void TCASScreen::drawPad(float x, float y, int32_t flags, const TrafficRecord* record,
                         const wchar_t* altitudeTag, const wchar_t* label) {
    const float s = symbolSize();
    SolidBrush brush(backend(), kPadColour);
    Font font(backend(), fontName(), kFontPointsPerSymbolSize * s);
    CentredStringFormat format(backend());
    DrawingContext* g = graphics();
    if (g == nullptr || record == nullptr || altitudeTag == nullptr || label == nullptr) {
        return;
    }
    const TextOrigins origins = textOrigins(x, y, s, *record);
    if ((flags & (detail_flags::Outline | detail_flags::Fill)) != 0) {
        g->fillRectangle(brush.get(), symbolPad(x, y, s));
    }
    if ((flags & detail_flags::AltitudeTag) != 0) {
        g->fillRectangle(brush.get(),
                         g->measureString(altitudeTag, font.get(), origins.tag, format.get()));
        if (std::fabs(record->verticalSpeed) > kTrendThreshold) {
            // Behind the trend arrow.
            g->fillRectangle(brush.get(),
                             RectF{x + 1.9375f * s, y - 2.125f * s, 2.125f * s, 4.25f * s});
        }
    }
    if ((flags & detail_flags::Label) != 0) {
        g->fillRectangle(brush.get(),
                         g->measureString(label, font.get(), origins.label, format.get()));
    }
}

}  // namespace cs
