// The canvas on Linux: a Cairo ARGB32 image surface, which is the device
// context of the Cairo drawing backend.
#include <cairo/cairo.h>

#include "simhost/Canvas.h"

namespace cs::sim {

namespace {

cairo_surface_t* surfaceOf(DeviceContext dc) {
    return static_cast<cairo_surface_t*>(dc);
}

}  // namespace

Canvas::Canvas(int width, int height, uint32_t clearArgb) {
    // An unusable size gives an error surface: drawing into it does nothing.
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    dc_ = surface;
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS || width < 1 || height < 1) {
        return;
    }
    width_ = width;
    height_ = height;
    pixels_ = cairo_image_surface_get_data(surface);
    stride_ = cairo_image_surface_get_stride(surface);
    clear(clearArgb);
}

Canvas::~Canvas() {
    if (dc_ != nullptr) {
        cairo_surface_destroy(surfaceOf(dc_));
    }
}

void Canvas::flush() const {
    cairo_surface_flush(surfaceOf(dc_));
}

void Canvas::markWritten() {
    cairo_surface_mark_dirty(surfaceOf(dc_));
}

bool Canvas::keepsAlpha() {
    return true;
}

}  // namespace cs::sim
