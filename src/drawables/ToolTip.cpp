#include "drawables/ToolTip.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "drawables/GaugeState.h"
#include "render/SymbolText.h"

namespace cs {

int32_t toolTipAltitude(double altDiff) {
    // The hundreds of the altitude tag; 21474836 hundreds is the largest
    // multiple of 100 that an int32 holds.
    constexpr int32_t kMostHundreds = 21474836;
    return std::clamp(altitudeHundreds(altDiff), -kMostHundreds, kMostHundreds) * 100;
}

size_t formatToolTip(const TrafficRecord& target, char* text, size_t capacity) {
    if (text == nullptr || capacity == 0) {
        return 0;
    }
    std::memset(text, 0, capacity);
    // The identifier is copied with its terminator forced, so a record that
    // arrived without one cannot run the format past its field.
    char atcId[kAtcIdLength + 1];
    std::memcpy(atcId, target.atcId, kAtcIdLength);
    atcId[kAtcIdLength] = '\0';
    if (atcId[0] == '\0') {
        return 0;
    }
    // The degree sign is the single Windows-1252 byte 0xB0.
    const int length = std::snprintf(
        text, capacity, "ID: %s ALT: %dft GS: %.0fkt TRK: %.0f\xB0 DST: %.1fnm", atcId,
        toolTipAltitude(target.altDiff), target.groundSpeed, target.trackAngle, target.distance);
    if (length < 0) {
        std::memset(text, 0, capacity);
        return 0;
    }
    return std::strlen(text);
}

void updateToolTip(GaugeState& gauge, const TrafficRecord& hovered) {
    gauge.toolTipTarget = hovered;
    formatToolTip(gauge.toolTipTarget, gauge.toolTipText, sizeof gauge.toolTipText);
}

void copyAdvisory(GaugeState& gauge, const TrafficRecord* advisory) {
    if (advisory != nullptr) {
        gauge.advisoryTarget = *advisory;
    }
}

}  // namespace cs
