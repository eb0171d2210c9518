#pragma once

#include <cstdint>

#include "render/DrawingSurface.h"

namespace cs {

// Dims a 0xRRGGBB colour by a brightness clamped to 0..255 into opaque ARGB;
// the top byte of the colour is ignored.
Argb scaleColour(int32_t brightness, int32_t colour);

}  // namespace cs
