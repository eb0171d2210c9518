// The TCAS display: diamonds for Other and Proximity traffic, a circle for a
// traffic advisory, a square for a resolution advisory; the relative altitude
// above the symbol for traffic level or above and below it for traffic
// below, with a vertical-trend arrow beside it beyond 500 ft/min.
#pragma once

#include "render/GdiPlusRadar.h"

namespace cs {

class TCASScreen : public GdiPlusRadar {
  public:
    TCASScreen() = default;

    void drawSymbol(float x, float y, int32_t flags, const TrafficRecord* record, double heading,
                    Argb colour, const wchar_t* altitudeTag, const wchar_t* label) override;
    void drawPad(float x, float y, int32_t flags, const TrafficRecord* record,
                 const wchar_t* altitudeTag, const wchar_t* label) override;
};

}  // namespace cs
