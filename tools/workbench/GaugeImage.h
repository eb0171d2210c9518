// The bitmaps a gauge names, decoded once when the gauge is loaded into the
// workbench's own image type: premultiplied 32-bit words 0xAARRGGBB (bytes
// B, G, R, A), the layout both Cairo (ARGB32) and GDI+ (32bppPARGB) draw
// from without converting. Pure black is transparent, as the simulator keys
// gauge bitmaps.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/gauge/Diagnostics.h"
#include "tools/gauge/GaugeFiles.h"
#include "tools/gauge/GaugeModel.h"

namespace cs::workbench {

struct GaugeImage {
    int width = 0, height = 0;
    std::vector<uint32_t> argb;  // premultiplied, rows top to bottom
};

// Decodes a BMP (BmpDecoder.h) or PNG file's bytes; false (with `why`) when
// they are not one or exceed kMaxImagePixels.
bool decodeGaugeImage(const std::string& bytes, GaugeImage& image, std::string* why);

// The bitmaps of one gauge, by the name its XML gives.
class GaugeImages {
  public:
    // Loads every image the gauge names from the files of its folder (or
    // cabinet), names matched in any case; a missing or unreadable file is
    // an error at the element that names it.
    bool load(const gauge::GaugeFile& gauge, const gauge::GaugeFiles& files,
              gauge::Diagnostics& diagnostics);
    // Null when the gauge names no such image or it could not be read.
    const GaugeImage* find(const std::string& name) const;

  private:
    bool loadOne(const gauge::GaugeFile& gauge, const gauge::GaugeFiles& files,
                 const std::string& name, int line, gauge::Diagnostics& d);
    std::map<std::string, GaugeImage> images_;
};

}  // namespace cs::workbench
