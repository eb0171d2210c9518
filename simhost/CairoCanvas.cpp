#if !defined(_WIN32)

#include "simhost/CairoCanvas.h"

#include <cairo/cairo.h>

namespace cs::sim {

CairoCanvas::CairoCanvas(int32_t widthPx, int32_t heightPx) : width_(widthPx), height_(heightPx) {
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, widthPx, heightPx);
    clear(0);
}

CairoCanvas::~CairoCanvas() {
    if (surface_ != nullptr) {
        cairo_surface_destroy(surface_);
    }
}

bool CairoCanvas::valid() const {
    return surface_ != nullptr && cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS &&
           width_ > 0 && height_ > 0;
}

void CairoCanvas::clear(uint32_t argb) {
    if (!valid()) {
        return;
    }
    cairo_surface_flush(surface_);
    unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    for (int32_t y = 0; y < height_; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<long>(y) * stride);
        for (int32_t x = 0; x < width_; ++x) {
            row[x] = argb;
        }
    }
    cairo_surface_mark_dirty(surface_);
}

uint32_t CairoCanvas::pixel(int32_t x, int32_t y) const {
    if (!valid() || x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0;
    }
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    if (data == nullptr) {
        return 0;
    }
    return reinterpret_cast<const uint32_t*>(data + static_cast<long>(y) * stride)[x];
}

long CairoCanvas::count(uint32_t argb) const {
    if (!valid()) {
        return 0;
    }
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    long n = 0;
    for (int32_t y = 0; data != nullptr && y < height_; ++y) {
        const uint32_t* row =
            reinterpret_cast<const uint32_t*>(data + static_cast<long>(y) * stride);
        for (int32_t x = 0; x < width_; ++x) {
            n += row[x] == argb ? 1 : 0;
        }
    }
    return n;
}

bool CairoCanvas::writePng(const std::string& path) const {
    if (!valid()) {
        return false;
    }
    cairo_surface_flush(surface_);
    return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace cs::sim

#endif
