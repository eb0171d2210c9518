// Bitmaps as designers' paint programs write them, made byte by byte here,
// decoded to the pixels Windows shows; and the headers a damaged or hostile
// file has, refused with what is wrong.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "testsupport/BmpWriter.h"
#include "tools/workbench/BmpDecoder.h"
#include "tools/workbench/GaugeImage.h"

namespace cs::workbench {
namespace {

using testsupport::BmpWriter;

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) {
        out += static_cast<char>(v);
    }
    return out;
}

BmpWriter bmp(int32_t width, int32_t height, uint16_t bits, std::vector<std::string> rows) {
    BmpWriter w;
    w.width = width;
    w.height = height;
    w.bits = bits;
    w.rows = std::move(rows);
    return w;
}

BmpWriter with(BmpWriter w, const std::function<void(BmpWriter&)>& change) {
    change(w);
    return w;
}

struct Decoded {
    const char* label;
    BmpWriter file;
    int width, height;
    std::vector<uint32_t> pixels;  // 0xAARRGGBB, not premultiplied, top row first
};

std::vector<uint32_t> pixelsOf(const RgbaImage& image) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i + 3 < image.rgba.size(); i += 4) {
        const uint8_t* p = image.rgba.data() + i;
        out.push_back(uint32_t{p[3]} << 24 | uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2]);
    }
    return out;
}

class BmpVariants : public ::testing::TestWithParam<Decoded> {};

TEST_P(BmpVariants, DecodedToTheirPixels) {
    const Decoded& c = GetParam();
    RgbaImage image;
    std::string why;
    ASSERT_TRUE(decodeBmp(c.file.build(), image, &why)) << why;
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
    EXPECT_EQ(pixelsOf(image), c.pixels);
}

const BmpWriter kRgb24 = bmp(2, 2, 24, {bytes({1, 2, 3, 4, 5, 6}), bytes({7, 8, 9, 10, 11, 12})});

INSTANTIATE_TEST_SUITE_P(Bmp, BmpVariants,
                         ::testing::Values(
                             // Rows are bottom-up: the first row given is the picture's last.
                             Decoded{"one_bit",
                                     with(bmp(3, 2, 1, {bytes({0xA0}), bytes({0x60})}),
                                          [](BmpWriter& w) {
                                              w.palette = {0x000000, 0xFFFFFF};
                                          }),
                                     3,
                                     2,
                                     {0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000,
                                      0xFFFFFFFF}},
                             Decoded{"four_bits_three_colours",
                                     with(bmp(3, 1, 4, {bytes({0x20, 0x10})}),
                                          [](BmpWriter& w) {
                                              w.palette = {0xFF0000, 0x00FF00, 0x0000FF};
                                              w.coloursUsed = 3;
                                          }),
                                     3,
                                     1,
                                     {0xFF0000FF, 0xFFFF0000, 0xFF00FF00}},
                             // The pixels start six bytes after the palette, where the file
                             // header's offset says.
                             Decoded{"eight_bits_gap_after_palette",
                                     with(bmp(2, 2, 8, {bytes({1, 0}), bytes({0, 1})}),
                                          [](BmpWriter& w) {
                                              w.palette = {0x102030, 0x405060};
                                              w.coloursUsed = 2;
                                              w.gap = 6;
                                          }),
                                     2,
                                     2,
                                     {0xFF102030, 0xFF405060, 0xFF405060, 0xFF102030}},
                             Decoded{"eight_bits_index_past_palette",
                                     with(bmp(2, 1, 8, {bytes({0, 5})}),
                                          [](BmpWriter& w) {
                                              w.palette = {0xFFFFFF};
                                              w.coloursUsed = 1;
                                          }),
                                     2,
                                     1,
                                     {0xFFFFFFFF, 0xFF000000}},
                             Decoded{"eight_bits_v4_header",
                                     with(bmp(2, 1, 8, {bytes({1, 0})}),
                                          [](BmpWriter& w) {
                                              w.header = 108;
                                              w.palette = {0x0000FF, 0xFF00FF};
                                              w.coloursUsed = 2;
                                          }),
                                     2,
                                     1,
                                     {0xFFFF00FF, 0xFF0000FF}},
                             Decoded{"os2_core_header",
                                     with(bmp(2, 1, 8, {bytes({1, 0})}),
                                          [](BmpWriter& w) {
                                              w.header = 12;
                                              w.palette = {0xABCDEF, 0x123456};
                                          }),
                                     2,
                                     1,
                                     {0xFF123456, 0xFFABCDEF}},
                             // 5-5-5: red at full, then green 16 of 31 and blue at full.
                             Decoded{"sixteen_bits_555",
                                     bmp(2, 1, 16, {bytes({0x00, 0x7C, 0x1F, 0x02})}),
                                     2,
                                     1,
                                     {0xFFFF0000, 0xFF0084FF}},
                             // 5-6-5 through BI_BITFIELDS: green at full, then red 1 of 31
                             // and green 32 of 63.
                             Decoded{"sixteen_bits_565",
                                     with(bmp(2, 1, 16, {bytes({0xE0, 0x07, 0x00, 0x0C})}),
                                          [](BmpWriter& w) {
                                              w.compression = 3;
                                              w.masks = {0xF800, 0x07E0, 0x001F};
                                          }),
                                     2,
                                     1,
                                     {0xFF00FF00, 0xFF088200}},
                             Decoded{"twenty_four_bits_bottom_up",
                                     kRgb24,
                                     2,
                                     2,
                                     {0xFF090807, 0xFF0C0B0A, 0xFF030201, 0xFF060504}},
                             Decoded{"twenty_four_bits_top_down",
                                     with(kRgb24, [](BmpWriter& w) { w.height = -2; }),
                                     2,
                                     2,
                                     {0xFF030201, 0xFF060504, 0xFF090807, 0xFF0C0B0A}},
                             // A fourth byte left 0 everywhere is no alpha: opaque.
                             Decoded{"thirty_two_bits_without_alpha",
                                     bmp(2, 1, 32, {bytes({1, 2, 3, 0, 4, 5, 6, 0})}),
                                     2,
                                     1,
                                     {0xFF030201, 0xFF060504}},
                             Decoded{"thirty_two_bits_with_alpha",
                                     bmp(2, 1, 32, {bytes({1, 2, 3, 0x80, 4, 5, 6, 0})}),
                                     2,
                                     1,
                                     {0x80030201, 0x00060504}},
                             Decoded{"thirty_two_bits_v5_masks",
                                     with(bmp(1, 1, 32, {bytes({0x11, 0x22, 0x33, 0x44})}),
                                          [](BmpWriter& w) {
                                              w.header = 124;
                                              w.compression = 3;
                                              w.masks = {0xFF, 0xFF00, 0xFF0000, 0xFF000000};
                                          }),
                                     1,
                                     1,
                                     {0x44112233}}),
                         [](const auto& info) { return std::string(info.param.label); });

struct Refused {
    const char* label;
    std::string file;
    const char* says;
};

std::string damaged(const BmpWriter& w, const std::function<void(std::string&)>& change) {
    std::string b = w.build();
    change(b);
    return b;
}

class BmpRefusals : public ::testing::TestWithParam<Refused> {};

TEST_P(BmpRefusals, RefusedWithTheReason) {
    RgbaImage image;
    std::string why;
    EXPECT_FALSE(decodeBmp(GetParam().file, image, &why));
    EXPECT_NE(why.find(GetParam().says), std::string::npos) << why;
}

const BmpWriter kTwoColours = with(bmp(1, 1, 8, {bytes({1})}), [](BmpWriter& w) {
    w.palette = {0x000000, 0xFFFFFF};
    w.coloursUsed = 2;
});

INSTANTIATE_TEST_SUITE_P(
    Bmp, BmpRefusals,
    ::testing::Values(
        Refused{"empty", "", "not a BMP file"},
        Refused{"other_signature", damaged(kRgb24, [](std::string& b) { b[1] = 'A'; }),
                "not a BMP file"},
        Refused{"pixels_cut_short", damaged(kRgb24, [](std::string& b) { b.resize(b.size() - 3); }),
                "truncated: the pixels need 14 bytes from offset 54, the file has 67 bytes"},
        Refused{"offset_past_the_end",
                damaged(kRgb24,
                        [](std::string& b) { BmpWriter::put(b, BmpWriter::kOffBits, 1000000, 4); }),
                "from offset 1000000"},
        Refused{
            "offset_inside_the_headers",
            damaged(kRgb24, [](std::string& b) { BmpWriter::put(b, BmpWriter::kOffBits, 20, 4); }),
            "pixel data offset 20 inside the headers"},
        Refused{"huge_size",
                damaged(kRgb24,
                        [](std::string& b) {
                            BmpWriter::put(b, BmpWriter::kWidth, 100000, 4);
                            BmpWriter::put(b, BmpWriter::kHeight, 100000, 4);
                        }),
                "100000 x 100000 pixels; at most 16777216"},
        Refused{"just_over_16_mpixel",
                damaged(kRgb24,
                        [](std::string& b) {
                            BmpWriter::put(b, BmpWriter::kWidth, 4097, 4);
                            BmpWriter::put(b, BmpWriter::kHeight, 4097, 4);
                        }),
                "4097 x 4097 pixels"},
        Refused{"no_width",
                damaged(kRgb24, [](std::string& b) { BmpWriter::put(b, BmpWriter::kWidth, 0, 4); }),
                "0 x 2 pixels"},
        Refused{
            "most_negative_height",
            damaged(kRgb24,
                    [](std::string& b) { BmpWriter::put(b, BmpWriter::kHeight, 0x80000000u, 4); }),
            "a height of -2147483648"},
        // 256 colours said, two written, and no offset to bound them.
        Refused{"palette_larger_than_the_file",
                damaged(kTwoColours,
                        [](std::string& b) {
                            BmpWriter::put(b, BmpWriter::kColoursUsed, 256, 4);
                            BmpWriter::put(b, BmpWriter::kOffBits, 0, 4);
                        }),
                "a palette of 256 colours that does not fit"},
        Refused{"unknown_header_size",
                damaged(kRgb24,
                        [](std::string& b) { BmpWriter::put(b, BmpWriter::kHeaderSize, 41, 4); }),
                "a BMP header of unknown size 41"},
        Refused{"header_cut_short",
                damaged(with(kRgb24, [](BmpWriter& w) { w.header = 124; }),
                        [](std::string& b) { b.resize(60); }),
                "the BMP header does not fit"},
        Refused{"masks_cut_short",
                damaged(with(bmp(1, 1, 16, {bytes({0, 0})}),
                             [](BmpWriter& w) {
                                 w.compression = 3;
                                 w.masks = {0xF800, 0x07E0, 0x001F};
                             }),
                        [](std::string& b) { b.resize(56); }),
                "the colour masks are missing"},
        Refused{"mask_with_a_hole",
                with(bmp(1, 1, 16, {bytes({0, 0})}),
                     [](BmpWriter& w) {
                         w.compression = 3;
                         w.masks = {0xF00F, 0x0F00, 0x00F0};
                     })
                    .build(),
                "not contiguous"},
        Refused{"two_bits", bmp(4, 1, 2, {bytes({0})}).build(), "2 bits per pixel"},
        Refused{"rle8", with(kTwoColours, [](BmpWriter& w) { w.compression = 1; }).build(),
                "RLE-compressed"},
        Refused{"dxt1", with(kRgb24, [](BmpWriter& w) { w.compression = 0x31545844; }).build(),
                "DXT-compressed"}),
    [](const auto& info) { return std::string(info.param.label); });

// A tall strip of digits (an altimeter's drum) is read whole; the image's
// pure black is the simulator's transparent key, every other colour opaque.
TEST(GaugeImageDecoding, TallStripKeyedOnBlack) {
    BmpWriter w = bmp(31, 7290, 24, {});
    for (int r = 0; r < 7290; ++r) {
        std::string row;
        for (int x = 0; x < 31; ++x) {
            row += x == 0 ? bytes({0, 0, 0}) : bytes({r & 0xFF, 0x40, 0x80});
        }
        w.rows.push_back(row);
    }
    GaugeImage image;
    std::string why;
    ASSERT_TRUE(decodeGaugeImage(w.build(), image, &why)) << why;
    ASSERT_EQ(image.width, 31);
    ASSERT_EQ(image.height, 7290);
    EXPECT_EQ(image.argb[0], 0u);                             // black: transparent
    EXPECT_EQ(image.argb[1], 0xFF804000u | ((7289 & 0xFF)));  // top row: the file's last
    EXPECT_EQ(image.argb[31 * 7289 + 30], 0xFF804000u);       // bottom row: the file's first
    EXPECT_EQ(image.argb.size(), size_t{31} * 7290);
}

TEST(GaugeImageDecoding, NeitherBmpNorPng) {
    GaugeImage image;
    std::string why;
    EXPECT_FALSE(decodeGaugeImage("GIF89a....", image, &why));
    EXPECT_EQ(why, "not a BMP or PNG image");
}

}  // namespace
}  // namespace cs::workbench
