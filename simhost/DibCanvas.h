// A Windows drawing target for the replacement host: a 32-bit top-down DIB
// section selected into a memory device context, the kind of device context
// the simulator lends a gauge drawable for each draw. The pixels stay
// readable (and writable) through the DIB's buffer, so hosts and tests can
// clear the canvas, hand its device context to the module and inspect or save
// what was drawn. Windows only; on other platforms the class is not declared.
#pragma once

#if defined(_WIN32)

#include <cstddef>
#include <cstdint>

#include "host/DeviceContext.h"

namespace cs::sim {

class DibCanvas {
  public:
    // A canvas of width x height pixels cleared to `clearArgb` (0xAARRGGBB).
    // Creation can fail (sizes below 1, no memory, no device context): then
    // valid() is false, dc() is null and there are no pixels.
    DibCanvas(int width, int height, uint32_t clearArgb = 0xFF000000u);
    ~DibCanvas();
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    bool valid() const { return bits_ != nullptr; }
    DeviceContext dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    size_t stride() const { return static_cast<size_t>(width_) * 4; }  // bytes per row

    // Rows top to bottom, pixels stored B, G, R, A (0xAARRGGBB in memory order).
    uint8_t* pixels() { return static_cast<uint8_t*>(bits_); }
    const uint8_t* pixels() const { return static_cast<const uint8_t*>(bits_); }

    // Fills every pixel with `argb` after flushing pending GDI drawing.
    void clear(uint32_t argb);
    // The pixel at (x, y) as 0xAARRGGBB; 0 outside the canvas or when invalid.
    uint32_t pixel(int x, int y) const;
    // Waits until GDI has written every pending operation into the buffer;
    // call it before reading pixels that GDI drew.
    void flush() const;

  private:
    int width_ = 0;
    int height_ = 0;
    DeviceContext dc_ = nullptr;
    void* bitmap_ = nullptr;    // HBITMAP of the DIB section
    void* previous_ = nullptr;  // the bitmap the memory DC held before
    void* bits_ = nullptr;
};

}  // namespace cs::sim

#endif  // _WIN32
