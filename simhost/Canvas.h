// The drawing area a host lends the module for each draw, one class for both
// platforms: a Cairo ARGB32 image surface on Linux (CanvasCairo.cpp), the
// device context the Linux drawing backend paints into; on Windows a 32-bit
// top-down DIB section selected into a memory device context (CanvasDib.cpp),
// the kind of device context the simulator lends a gauge drawable. Both keep
// their pixels as 32-bit words 0xAARRGGBB (bytes B, G, R, A), so clearing and
// reading them back is common code (Canvas.cpp).
//
//   cs::sim::Canvas canvas(200, 200);
//   display.draw(canvas.width(), canvas.height(), canvas.dc());
//   uint32_t argb = canvas.pixel(100, 60);
#pragma once

#include <cstdint>
#include <vector>

#include "host/DeviceContext.h"

namespace cs::sim {

// An image in straight (not premultiplied) RGBA, rows top to bottom.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;  // 4 bytes a pixel
};

// Converts pixels stored as 32-bit words 0xAARRGGBB (Cairo's image formats, a
// 32-bit DIB) into straight RGBA, undoing Cairo's premultiplication.
// `opaqueAlpha` takes every pixel as opaque, for formats whose fourth byte
// means nothing.
Image imageFromBgra(const uint8_t* pixels, int width, int height, long stride, bool opaqueAlpha);

class Canvas {
  public:
    // width x height pixels, every one set to `clearArgb`. A size the platform
    // cannot make (below 1, huge, no memory) leaves a canvas that is not
    // valid(): nothing drawn into its dc() lands anywhere and every pixel
    // reads 0.
    Canvas(int width, int height, uint32_t clearArgb = 0);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool valid() const { return pixels_ != nullptr; }
    DeviceContext dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Sets every pixel to one ARGB value.
    void clear(uint32_t argb);
    // The stored value of one pixel, 0 outside the canvas. Cairo keeps colours
    // premultiplied by alpha (an opaque pixel is its colour); GDI leaves the
    // alpha byte of what it draws undefined.
    uint32_t pixel(int x, int y) const;
    // Number of pixels holding exactly this value.
    long count(uint32_t argb) const;
    // What has been drawn so far, as straight RGBA.
    Image snapshot() const;
    // The stored words themselves, rows `stride()` bytes apart, with what has
    // been drawn so far; null when not valid. For drawing the canvas into
    // another without converting its colours.
    const uint8_t* pixels() const;
    long stride() const { return stride_; }

  private:
    // Per platform: pending drawing reaches the pixels (before reading or
    // writing them) ...
    void flush() const;
    // ... the drawing library learns that the pixels were written ...
    void markWritten();
    // ... and whether the alpha byte means anything.
    static bool keepsAlpha();

    int width_ = 0;
    int height_ = 0;
    DeviceContext dc_ = nullptr;
    uint8_t* pixels_ = nullptr;  // null when not valid
    long stride_ = 0;            // bytes from one row to the next
    void* bitmap_ = nullptr;     // Windows: the DIB section
    void* previous_ = nullptr;   // Windows: the bitmap the memory DC held before
};

}  // namespace cs::sim
