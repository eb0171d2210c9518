#include "tools/preview/Canvas.h"

#if defined(_WIN32)
#include "simhost/DibCanvas.h"
#else
#include <cairo/cairo.h>

#include "simhost/CairoCanvas.h"
#endif

namespace cs::preview {

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
        const uint8_t* row = pixels + static_cast<long>(y) * stride;
        for (int x = 0; x < width; ++x, out += 4) {
            const uint8_t b = row[x * 4 + 0];
            const uint8_t g = row[x * 4 + 1];
            const uint8_t r = row[x * 4 + 2];
            const uint8_t a = opaqueAlpha ? 255 : row[x * 4 + 3];
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

namespace {

#if defined(_WIN32)
class PlatformCanvas final : public Canvas {
  public:
    PlatformCanvas(int width, int height) : dib_(width, height, 0xFF000000u) {}
    bool valid() const override { return dib_.valid(); }
    DeviceContext dc() const override { return dib_.dc(); }
    int width() const override { return dib_.width(); }
    int height() const override { return dib_.height(); }
    void clear(uint32_t argb) override { dib_.clear(argb); }
    Image snapshot() const override {
        dib_.flush();
        return imageFromBgra(dib_.pixels(), dib_.width(), dib_.height(),
                             static_cast<long>(dib_.stride()), true);
    }

  private:
    sim::DibCanvas dib_;
};
#else
class PlatformCanvas final : public Canvas {
  public:
    PlatformCanvas(int width, int height) : cairo_(width, height) { cairo_.clear(0xFF000000u); }
    bool valid() const override { return cairo_.valid(); }
    DeviceContext dc() const override { return cairo_.dc(); }
    int width() const override { return cairo_.width(); }
    int height() const override { return cairo_.height(); }
    void clear(uint32_t argb) override { cairo_.clear(argb); }
    Image snapshot() const override {
        if (!cairo_.valid()) {
            return {};
        }
        cairo_surface_t* surface = cairo_.dc();
        cairo_surface_flush(surface);
        return imageFromBgra(cairo_image_surface_get_data(surface), cairo_.width(), cairo_.height(),
                             cairo_image_surface_get_stride(surface), false);
    }

  private:
    sim::CairoCanvas cairo_;
};
#endif

}  // namespace

std::unique_ptr<Canvas> makeCanvas(int width, int height) {
    return std::make_unique<PlatformCanvas>(width, height);
}

}  // namespace cs::preview
