#include "tests/wine/host/PngWriter.h"

#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace cs::winetest {

bool writePng(const std::string& path, int width, int height,
              const std::function<uint32_t(int, int)>& argbAt) {
    if (width < 1 || height < 1) {
        return false;
    }
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    size_t i = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t argb = argbAt(x, y);
            rgb[i++] = static_cast<unsigned char>(argb >> 16);
            rgb[i++] = static_cast<unsigned char>(argb >> 8);
            rgb[i++] = static_cast<unsigned char>(argb);
        }
    }
    return stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3) != 0;
}

}  // namespace cs::winetest
