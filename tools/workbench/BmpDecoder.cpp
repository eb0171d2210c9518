#include "tools/workbench/BmpDecoder.h"

#include <array>
#include <limits>

#include "tools/gauge/LittleEndian.h"

namespace cs::workbench {

namespace {

constexpr size_t kFileHeader = 14;
constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3, kJpeg = 4, kPng = 5,
                   kAlphaBitfields = 6;

using Bytes = gauge::LittleEndian;

// One colour channel of a 16- or 32-bit pixel: its mask, scaled to 0-255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;

    // False when the mask's bits are not contiguous.
    bool set(uint32_t m) {
        mask = m;
        shift = 0;
        max = 0;
        if (m == 0) {
            return true;
        }
        while (((m >> shift) & 1u) == 0) {
            ++shift;
        }
        max = m >> shift;
        return (max & (max + 1)) == 0;
    }
    uint8_t of(uint32_t pixel) const {
        if (max == 0) {
            return 0;
        }
        const uint64_t v = (pixel & mask) >> shift;
        return static_cast<uint8_t>((v * 255 + max / 2) / max);
    }
};

struct Layout {
    int width = 0, height = 0;  // height > 0; rows in the file bottom-up unless topDown
    bool topDown = false;
    uint32_t bits = 0, compression = kRgb;
    std::array<Channel, 4> channels;  // R, G, B, A (A unset: opaque, or the data's for 32 bits)
    bool alphaFromData = false;
    size_t paletteAt = 0, paletteEntry = 4;
    uint64_t colours = 0;
    uint64_t pixelsAt = 0, stride = 0;
};

bool fail(std::string* why, std::string text) {
    *why = std::move(text);
    return false;
}

bool compressionSupported(uint32_t c, uint32_t bits, std::string* why) {
    if (c == kRle8 || c == kRle4) {
        return fail(why, "an RLE-compressed BMP; save it uncompressed");
    }
    if (c == kJpeg || c == kPng) {
        return fail(why, "a BMP holding JPEG or PNG data; save it as a plain BMP");
    }
    if ((c & 0xFFFFFFu) == ('D' | 'X' << 8 | 'T' << 16)) {
        return fail(why, "a DXT-compressed bitmap; the workbench reads uncompressed BMPs");
    }
    if (c != kRgb && c != kBitfields && c != kAlphaBitfields) {
        return fail(why, "a BMP of unknown compression " + std::to_string(c));
    }
    if (c != kRgb && bits != 16 && bits != 32) {
        return fail(why, "BI_BITFIELDS with " + std::to_string(bits) + " bits per pixel");
    }
    return true;
}

// The masks of a 16- or 32-bit bitmap: in the header (52 bytes and more),
// after a 40-byte header with BI_BITFIELDS, else the defaults.
bool readMasks(const Bytes& f, size_t header, Layout& l, std::string* why) {
    std::array<uint32_t, 4> m = {0x7C00, 0x03E0, 0x001F, 0};
    if (l.bits == 32) {
        m = {0xFF0000, 0x00FF00, 0x0000FF, 0};
        l.alphaFromData = l.compression == kRgb;
    }
    if (l.compression != kRgb) {
        const size_t count = header >= 56 || l.compression == kAlphaBitfields ? 4 : 3;
        const size_t at = kFileHeader + 40;
        if (!f.has(at, count * 4)) {
            return fail(why, "truncated: the colour masks are missing");
        }
        for (size_t i = 0; i < 4; ++i) {
            m[i] = i < count ? f.u32(at + i * 4) : 0;
        }
        if (header == 40) {
            l.paletteAt += count * 4;
        }
    }
    for (size_t i = 0; i < 4; ++i) {
        if (!l.channels[i].set(m[i])) {
            return fail(why, "a colour mask whose bits are not contiguous");
        }
    }
    return true;
}

bool readInfoHeader(const Bytes& f, size_t header, Layout& l, std::string* why) {
    if (header == 12) {  // OS/2 core header: 16-bit sizes, 3-byte palette entries
        l.width = static_cast<int>(f.u16(18));
        l.height = static_cast<int>(f.u16(20));
        l.bits = f.u16(24);
        l.paletteEntry = 3;
        return true;
    }
    const int32_t h = f.s32(22);
    l.width = f.s32(18);
    if (h == std::numeric_limits<int32_t>::min()) {
        return fail(why, "a height of " + std::to_string(h) + " pixels");
    }
    l.topDown = h < 0;
    l.height = h < 0 ? -h : h;
    l.bits = f.u16(28);
    l.compression = f.u32(30);
    l.colours = f.u32(46);
    return compressionSupported(l.compression, l.bits, why);
}

bool readPalette(const Bytes& f, uint64_t offBits, Layout& l, std::string* why) {
    const uint64_t most = uint64_t{1} << l.bits;
    l.colours = l.colours == 0 || l.colours > most ? most : l.colours;
    if (offBits > l.paletteAt) {
        l.colours = std::min(l.colours, (offBits - l.paletteAt) / l.paletteEntry);
    }
    if (!f.has(l.paletteAt, l.colours * l.paletteEntry)) {
        return fail(why, "a palette of " + std::to_string(l.colours) +
                             " colours that does not fit in the file");
    }
    return true;
}

bool readLayout(const Bytes& f, Layout& l, std::string* why) {
    if (!f.has(0, kFileHeader + 16) || f.b[0] != 'B' || f.b[1] != 'M') {
        return fail(why, "not a BMP file");
    }
    const uint64_t offBits = f.u32(10);
    const size_t header = f.u32(14);
    if (header != 12 && header != 40 && header != 52 && header != 56 && header != 64 &&
        header != 108 && header != 124) {
        return fail(why, "a BMP header of unknown size " + std::to_string(header));
    }
    if (!f.has(kFileHeader, header)) {
        return fail(why, "truncated: the BMP header does not fit in the file");
    }
    l.paletteAt = kFileHeader + header;
    if (!readInfoHeader(f, header, l, why)) {
        return false;
    }
    if (l.bits != 1 && l.bits != 4 && l.bits != 8 && l.bits != 16 && l.bits != 24 && l.bits != 32) {
        return fail(why, "a BMP of " + std::to_string(l.bits) + " bits per pixel");
    }
    if (l.width < 1 || l.height < 1 || int64_t{l.width} * int64_t{l.height} > kMaxImagePixels) {
        return fail(why, "a picture of " + std::to_string(l.width) + " x " +
                             std::to_string(l.height) + " pixels; at most " +
                             std::to_string(kMaxImagePixels) + " pixels are read");
    }
    if ((l.bits == 16 || l.bits == 32) && !readMasks(f, header, l, why)) {
        return false;
    }
    if (l.bits <= 8 && !readPalette(f, offBits, l, why)) {
        return false;
    }
    const uint64_t paletteEnd = l.paletteAt + (l.bits <= 8 ? l.colours * l.paletteEntry : 0);
    if (offBits != 0 && offBits < l.paletteAt) {
        return fail(why, "pixel data offset " + std::to_string(offBits) + " inside the headers");
    }
    l.pixelsAt = offBits != 0 ? offBits : paletteEnd;
    const uint64_t rowBits = uint64_t(l.width) * l.bits;
    l.stride = (rowBits + 31) / 32 * 4;
    const uint64_t need = l.stride * uint64_t(l.height - 1) + (rowBits + 7) / 8;
    if (!f.has(l.pixelsAt, need)) {
        return fail(why, "truncated: the pixels need " + std::to_string(need) +
                             " bytes from offset " + std::to_string(l.pixelsAt) +
                             ", the file has " + std::to_string(f.b.size()) + " bytes");
    }
    return true;
}

// One pixel of a row as R, G, B, A.
void pixel(const Bytes& f, const Layout& l, size_t row, size_t x, uint8_t* out) {
    if (l.bits <= 8) {
        const size_t bit = x * l.bits;
        const uint32_t byte = f.u8(row + bit / 8);
        const uint32_t index = (byte >> (8 - l.bits - bit % 8)) & ((1u << l.bits) - 1);
        const size_t at = l.paletteAt + size_t{index} * l.paletteEntry;
        const bool known = index < l.colours;
        out[0] = known ? static_cast<uint8_t>(f.u8(at + 2)) : 0;
        out[1] = known ? static_cast<uint8_t>(f.u8(at + 1)) : 0;
        out[2] = known ? static_cast<uint8_t>(f.u8(at)) : 0;
        out[3] = 255;
        return;
    }
    if (l.bits == 24) {
        const size_t at = row + x * 3;
        out[0] = static_cast<uint8_t>(f.u8(at + 2));
        out[1] = static_cast<uint8_t>(f.u8(at + 1));
        out[2] = static_cast<uint8_t>(f.u8(at));
        out[3] = 255;
        return;
    }
    const uint32_t v = l.bits == 16 ? f.u16(row + x * 2) : f.u32(row + x * 4);
    for (size_t c = 0; c < 3; ++c) {
        out[c] = l.channels[c].of(v);
    }
    out[3] = l.alphaFromData           ? static_cast<uint8_t>(v >> 24)
             : l.channels[3].mask != 0 ? l.channels[3].of(v)
                                       : 255;
}

}  // namespace

bool decodeBmp(std::string_view bytes, RgbaImage& image, std::string* why) {
    const Bytes f{bytes};
    Layout l;
    if (!readLayout(f, l, why)) {
        return false;
    }
    image.width = l.width;
    image.height = l.height;
    image.rgba.assign(size_t(l.width) * size_t(l.height) * 4, 0);
    bool anyAlpha = false;
    for (size_t r = 0; r < size_t(l.height); ++r) {
        const size_t row = l.pixelsAt + r * l.stride;
        const size_t y = l.topDown ? r : size_t(l.height) - 1 - r;
        uint8_t* out = image.rgba.data() + y * size_t(l.width) * 4;
        for (size_t x = 0; x < size_t(l.width); ++x, out += 4) {
            pixel(f, l, row, x, out);
            anyAlpha = anyAlpha || out[3] != 0;
        }
    }
    if (l.alphaFromData && !anyAlpha) {  // a fourth byte never written: opaque
        for (size_t i = 3; i < image.rgba.size(); i += 4) {
            image.rgba[i] = 255;
        }
    }
    return true;
}

}  // namespace cs::workbench
