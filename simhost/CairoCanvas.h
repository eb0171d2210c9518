// A drawing area for the Linux build: a Cairo ARGB32 image surface, which is
// the device context the Linux drawing backend paints into. (Windows hosts
// use a DIB section instead.)
//
//   cs::sim::CairoCanvas canvas(200, 200);
//   display.draw(canvas.width(), canvas.height(), canvas.dc());
//   uint32_t argb = canvas.pixel(100, 60);
#pragma once

#if !defined(_WIN32)

#include <cstdint>
#include <string>

#include "host/DeviceContext.h"

namespace cs::sim {

class CairoCanvas {
  public:
    // A surface of the given size, cleared to transparent black. A size the
    // image surface cannot take (negative, huge) leaves an unusable surface
    // that draws nothing: valid() is false and every pixel reads 0.
    CairoCanvas(int32_t widthPx, int32_t heightPx);
    ~CairoCanvas();
    CairoCanvas(const CairoCanvas&) = delete;
    CairoCanvas& operator=(const CairoCanvas&) = delete;

    DeviceContext dc() const { return surface_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    bool valid() const;

    // Fills every pixel with one ARGB value.
    void clear(uint32_t argb = 0);
    // The ARGB value of one pixel (premultiplied as Cairo keeps it, which for
    // opaque pixels is the colour itself); 0 outside the surface.
    uint32_t pixel(int32_t x, int32_t y) const;
    // Number of pixels with exactly this ARGB value.
    long count(uint32_t argb) const;
    // Writes the surface as PNG; false on failure.
    bool writePng(const std::string& path) const;

  private:
    DeviceContext surface_ = nullptr;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

}  // namespace cs::sim

#endif
