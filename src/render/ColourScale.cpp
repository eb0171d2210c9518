#include "render/ColourScale.h"

namespace cs {

namespace {
uint32_t scaleChannel(uint32_t channel, int32_t brightness) {
    // In floating point, truncated toward zero; both factors are within
    // 0..255, so the result is too.
    return static_cast<uint32_t>(static_cast<double>(channel) * brightness / 255.0);
}
}  // namespace

Argb scaleColour(int32_t brightness, int32_t colour) {
    const int32_t b = brightness < 0 ? 0 : (brightness > 255 ? 255 : brightness);
    const uint32_t rgb = static_cast<uint32_t>(colour);
    const uint32_t red = scaleChannel((rgb >> 16) & 0xFFu, b);
    const uint32_t green = scaleChannel((rgb >> 8) & 0xFFu, b);
    const uint32_t blue = scaleChannel(rgb & 0xFFu, b);
    return 0xFF000000u | (red << 16) | (green << 8) | blue;
}

}  // namespace cs
