// The platform-independent half of the canvas: both platforms store 32-bit
// 0xAARRGGBB words, `stride_` bytes a row.
#include "simhost/Canvas.h"

#include <cstddef>

namespace cs::sim {

void Canvas::clear(uint32_t argb) {
    if (!valid()) {
        return;
    }
    flush();
    for (int y = 0; y < height_; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(pixels_ + y * stride_);
        for (int x = 0; x < width_; ++x) {
            row[x] = argb;
        }
    }
    markWritten();
}

uint32_t Canvas::pixel(int x, int y) const {
    if (!valid() || x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0;
    }
    flush();
    return reinterpret_cast<const uint32_t*>(pixels_ + y * stride_)[x];
}

long Canvas::count(uint32_t argb) const {
    if (!valid()) {
        return 0;
    }
    flush();
    long n = 0;
    for (int y = 0; y < height_; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(pixels_ + y * stride_);
        for (int x = 0; x < width_; ++x) {
            n += row[x] == argb ? 1 : 0;
        }
    }
    return n;
}

Image Canvas::snapshot() const {
    if (!valid()) {
        return {};
    }
    flush();
    return imageFromBgra(pixels_, width_, height_, stride_, !keepsAlpha());
}

const uint8_t* Canvas::pixels() const {
    if (valid()) {
        flush();
    }
    return pixels_;
}

Image imageFromBgra(const uint8_t* pixels, int width, int height, long stride, bool opaqueAlpha) {
    Image image;
    if (pixels == nullptr || width <= 0 || height <= 0) {
        return image;
    }
    image.width = width;
    image.height = height;
    image.rgba.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    uint8_t* out = image.rgba.data();
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = pixels + y * stride;
        for (int x = 0; x < width; ++x, in += 4, out += 4) {
            const uint8_t b = in[0], g = in[1], r = in[2];
            const uint8_t a = opaqueAlpha ? 255 : in[3];
            if (a == 255 || a == 0) {
                out[0] = r;
                out[1] = g;
                out[2] = b;
            } else {
                // Undo the premultiplication, rounding to nearest.
                out[0] = static_cast<uint8_t>((r * 255 + a / 2) / a);
                out[1] = static_cast<uint8_t>((g * 255 + a / 2) / a);
                out[2] = static_cast<uint8_t>((b * 255 + a / 2) / a);
            }
            out[3] = a;
        }
    }
    return image;
}

}  // namespace cs::sim
