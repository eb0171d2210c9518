// Writes BMP files for tests, byte by byte, the way paint programs lay them
// out: file header, info header of the chosen size, the masks after a
// 40-byte header with BI_BITFIELDS, the palette, any gap, then the rows as
// given, each padded to four bytes. Tests give the rows' bytes themselves
// (in file order: bottom row first unless the height is negative) and damage
// the result through the offsets below.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cs::testsupport {

struct BmpWriter {
    static constexpr size_t kOffBits = 10, kHeaderSize = 14, kWidth = 18, kHeight = 22, kBits = 28,
                            kCompression = 30, kColoursUsed = 46;

    uint32_t header = 40;  // 12 (OS/2 core), 40, 56, 108 or 124
    int32_t width = 1, height = 1;
    uint16_t bits = 24;
    uint32_t compression = 0;       // 3: BI_BITFIELDS
    std::vector<uint32_t> masks;    // R, G, B[, A]
    std::vector<uint32_t> palette;  // 0xRRGGBB
    uint32_t coloursUsed = 0;       // written as is (0: all)
    size_t gap = 0;                 // bytes between the palette and the pixels
    std::vector<std::string> rows;  // unpadded

    static void put(std::string& b, size_t at, uint32_t v, size_t bytes) {
        for (size_t i = 0; i < bytes; ++i) {
            b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    }

    std::string build() const {
        std::string info(header, '\0');
        put(info, 0, header, 4);
        if (header == 12) {
            put(info, 4, static_cast<uint32_t>(width), 2);
            put(info, 6, static_cast<uint32_t>(height), 2);
            put(info, 8, 1, 2);
            put(info, 10, bits, 2);
        } else {
            put(info, 4, static_cast<uint32_t>(width), 4);
            put(info, 8, static_cast<uint32_t>(height), 4);
            put(info, 12, 1, 2);
            put(info, 14, bits, 2);
            put(info, 16, compression, 4);
            put(info, 32, coloursUsed, 4);
        }
        std::string maskBytes(masks.size() * 4, '\0');
        for (size_t i = 0; i < masks.size(); ++i) {
            put(maskBytes, i * 4, masks[i], 4);
        }
        if (header >= 52) {
            info.replace(40, maskBytes.size(), maskBytes);
            maskBytes.clear();
        }
        const size_t entry = header == 12 ? 3 : 4;
        std::string colours(palette.size() * entry, '\0');
        for (size_t i = 0; i < palette.size(); ++i) {
            put(colours, i * entry, palette[i], 3);  // B, G, R as little-endian RGB
        }
        std::string pixels;
        for (const std::string& r : rows) {
            pixels += r + std::string((4 - r.size() % 4) % 4, '\0');
        }
        std::string file(14, '\0');
        file[0] = 'B';
        file[1] = 'M';
        const size_t offBits = 14 + info.size() + maskBytes.size() + colours.size() + gap;
        put(file, 2, static_cast<uint32_t>(offBits + pixels.size()), 4);
        put(file, kOffBits, static_cast<uint32_t>(offBits), 4);
        return file + info + maskBytes + colours + std::string(gap, '\x55') + pixels;
    }
};

}  // namespace cs::testsupport
