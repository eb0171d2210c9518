// Windows bitmaps (.bmp) as panel designers' paint programs write them,
// decoded the way Windows reads them:
//
//   - headers: the OS/2 core header (12 bytes) and the Windows info headers
//     (40, 52, 56, 64, 108 and 124 bytes);
//   - 1, 4 and 8 bits per pixel through a palette, 16 bits (5-5-5, or any
//     masks given with BI_BITFIELDS such as 5-6-5), 24 and 32 bits;
//   - rows bottom-up, or top-down when the height is negative;
//   - the pixels where the file header's offset says, whatever lies between
//     the palette and them.
//
// A 32-bit bitmap's fourth byte is its alpha when any pixel has a non-zero
// one (paint programs that do not write alpha leave it 0); masks name the
// alpha otherwise. An index past the palette is black. RLE- and
// DXT-compressed bitmaps are refused with a message saying so, as is every
// header that does not fit the file: nothing is read outside the bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cs::workbench {

// The largest picture a gauge may name: a tall strip of digits or a large
// panel background fits, a hostile header does not allocate.
constexpr int64_t kMaxImagePixels = int64_t{16} << 20;

struct RgbaImage {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;  // R, G, B, A (not premultiplied), rows top to bottom
};

// Decodes BMP file bytes; false with `why` (a sentence without the file's
// name) when they are not a bitmap this reads.
bool decodeBmp(std::string_view bytes, RgbaImage& image, std::string* why);

}  // namespace cs::workbench
