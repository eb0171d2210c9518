// The radar display: every aircraft a circle in its level's colour, with a
// track vector along its ground track, the relative altitude above and the
// identifier below.
#pragma once

#include "render/GdiPlusRadar.h"

namespace cs {

class RadarScreen : public GdiPlusRadar {
  public:
    RadarScreen() = default;

    void drawSymbol(float x, float y, int32_t flags, const TrafficRecord* record, double heading,
                    Argb colour, const wchar_t* altitudeTag, const wchar_t* label) override;
    void drawPad(float x, float y, int32_t flags, const TrafficRecord* record,
                 const wchar_t* altitudeTag, const wchar_t* label) override;
};

}  // namespace cs
