// The drawing area the preview host lends the module for each draw, behind
// one small interface: a Cairo image surface on Linux, a DIB section in a
// memory device context on Windows. Either way the pixels can be read back
// as 8-bit RGBA for the image files.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "host/DeviceContext.h"

namespace cs::preview {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;  // rows top to bottom, 4 bytes a pixel
};

class Canvas {
  public:
    virtual ~Canvas() = default;
    virtual bool valid() const = 0;
    virtual DeviceContext dc() const = 0;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // Fills every pixel with one opaque ARGB colour.
    virtual void clear(uint32_t argb) = 0;
    // What was drawn so far, straight (not premultiplied) RGBA.
    virtual Image snapshot() const = 0;
};

// The platform's canvas; valid() tells whether it could be made.
std::unique_ptr<Canvas> makeCanvas(int width, int height);

// Converts a premultiplied 32-bit BGRA buffer (the memory order of both
// Cairo's ARGB32 and a 32-bit DIB) into straight RGBA. `opaqueAlpha` treats
// every pixel as opaque (GDI leaves the fourth byte undefined).
Image imageFromBgra(const uint8_t* pixels, int width, int height, long stride, bool opaqueAlpha);

}  // namespace cs::preview
