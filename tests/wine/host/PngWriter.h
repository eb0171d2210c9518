// Saves a canvas as an opaque RGB PNG file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace cs::winetest {

// `argbAt(x, y)` gives each pixel as 0xAARRGGBB; alpha is written as 255.
bool writePng(const std::string& path, int width, int height,
              const std::function<uint32_t(int, int)>& argbAt);

}  // namespace cs::winetest
