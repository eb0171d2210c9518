#include "tools/output/ImageFiles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "simhost/FilePath.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

#if defined(CS_PNG_ZLIB)
#include <zlib.h>

// stb_image_write's own deflate searches long hash chains in the large even
// areas of contact sheets (a sheet took longer than the rest of a run);
// zlib compresses them many times faster. stb frees the result with free().
static unsigned char* csDeflate(unsigned char* data, int length, int* outLength, int /*quality*/) {
    uLongf size = compressBound(static_cast<uLong>(length));
    auto* out = static_cast<unsigned char*>(std::malloc(size));
    if (out == nullptr) {
        return nullptr;
    }
    if (compress2(out, &size, data, static_cast<uLong>(length), Z_DEFAULT_COMPRESSION) != Z_OK) {
        std::free(out);
        return nullptr;
    }
    *outLength = static_cast<int>(size);
    return out;
}
#define STBIW_ZLIB_COMPRESS csDeflate
#endif

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb_easy_font.h>
#include <stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace cs::preview {

namespace {

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

long processId() {
#if defined(_WIN32)
    return static_cast<long>(GetCurrentProcessId());
#else
    return static_cast<long>(getpid());
#endif
}

}  // namespace

std::vector<uint8_t> encodePng(const Image& image) {
    std::vector<uint8_t> out;
    if (image.width <= 0 || image.height <= 0 ||
        image.rgba.size() != static_cast<size_t>(image.width) * image.height * 4) {
        return out;
    }
    // Each row filtered against the one above ("Up"), instead of trying all
    // five filters per row: pictures and contact sheets have large even areas
    // and repeat row after row, so this is as small and several times faster.
    stbi_write_force_png_filter = 2;
    if (stbi_write_png_to_func(appendBytes, &out, image.width, image.height, 4, image.rgba.data(),
                               image.width * 4) == 0) {
        out.clear();
    }
    return out;
}

void writeFileAtomic(const std::string& path, const void* bytes, size_t size) {
    const std::string temporary = path + ".tmp-" + std::to_string(processId());
    std::FILE* file = sim::openFile(temporary, "wb");
    if (file == nullptr) {
        throw std::runtime_error("cannot write " + path);
    }
    const bool written = std::fwrite(bytes, 1, size, file) == size;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || !sim::replaceFile(temporary, path)) {
        sim::removeFile(temporary);
        throw std::runtime_error("cannot write " + path);
    }
}

void writeFileAtomic(const std::string& path, const std::string& text) {
    writeFileAtomic(path, text.data(), text.size());
}

int textWidth(const std::string& text, int scale) {
    return stb_easy_font_width(const_cast<char*>(text.c_str())) * scale;
}

int textHeight(int scale) {
    return 12 * scale;
}

void drawText(Image& image, int x, int y, const std::string& text, uint32_t rgb, int scale) {
    // stb_easy_font yields axis-aligned quads (4 vertices of 16 bytes each).
    static thread_local std::vector<char> buffer(64 * 1024);
    const int quads = stb_easy_font_print(0.0f, 0.0f, const_cast<char*>(text.c_str()), nullptr,
                                          buffer.data(), static_cast<int>(buffer.size()));
    const auto* vertices = reinterpret_cast<const float*>(buffer.data());
    for (int q = 0; q < quads; ++q) {
        const float* v = vertices + q * 16;  // x, y, z, colour per vertex
        float x0 = v[0], y0 = v[1], x1 = v[0], y1 = v[1];
        for (int k = 1; k < 4; ++k) {
            x0 = std::min(x0, v[k * 4]);
            x1 = std::max(x1, v[k * 4]);
            y0 = std::min(y0, v[k * 4 + 1]);
            y1 = std::max(y1, v[k * 4 + 1]);
        }
        const int px0 = std::max(0, x + static_cast<int>(x0) * scale);
        const int px1 = std::min(image.width, x + static_cast<int>(x1) * scale);
        const int py0 = std::max(0, y + static_cast<int>(y0) * scale);
        const int py1 = std::min(image.height, y + static_cast<int>(y1) * scale);
        for (int py = py0; py < py1; ++py) {
            for (int px = px0; px < px1; ++px) {
                uint8_t* p = &image.rgba[(static_cast<size_t>(py) * image.width + px) * 4];
                p[0] = static_cast<uint8_t>(rgb >> 16);
                p[1] = static_cast<uint8_t>(rgb >> 8);
                p[2] = static_cast<uint8_t>(rgb);
                p[3] = 255;
            }
        }
    }
}

Image contactSheet(const std::vector<SheetFrame>& frames, const std::string& title, int columns) {
    constexpr int kGap = 6;
    constexpr int kCaption = 16;
    constexpr int kTitle = 22;
    Image sheet;
    if (frames.empty()) {
        return sheet;
    }
    int cellW = 0, cellH = 0;
    for (const SheetFrame& f : frames) {
        cellW = std::max(cellW, f.image.width);
        cellH = std::max(cellH, f.image.height);
    }
    columns = std::max(1, std::min(columns, static_cast<int>(frames.size())));
    const int rows = (static_cast<int>(frames.size()) + columns - 1) / columns;
    sheet.width = std::max(kGap + columns * (cellW + kGap), textWidth(title, 2) + 2 * kGap);
    sheet.height = kTitle + kGap + rows * (cellH + kCaption + kGap);
    sheet.rgba.assign(static_cast<size_t>(sheet.width) * sheet.height * 4, 0);
    for (size_t i = 0; i < sheet.rgba.size(); i += 4) {
        sheet.rgba[i] = sheet.rgba[i + 1] = sheet.rgba[i + 2] = 0x30;
        sheet.rgba[i + 3] = 255;
    }
    drawText(sheet, kGap, 4, title, 0xFFFFFF, 2);
    for (size_t n = 0; n < frames.size(); ++n) {
        const SheetFrame& f = frames[n];
        const int col = static_cast<int>(n) % columns;
        const int row = static_cast<int>(n) / columns;
        const int ox = kGap + col * (cellW + kGap);
        const int oy = kTitle + kGap + row * (cellH + kCaption + kGap);
        for (int y = 0; y < f.image.height; ++y) {
            std::copy_n(&f.image.rgba[static_cast<size_t>(y) * f.image.width * 4],
                        static_cast<size_t>(f.image.width) * 4,
                        &sheet.rgba[(static_cast<size_t>(oy + y) * sheet.width + ox) * 4]);
        }
        const int tx = ox + (f.image.width - textWidth(f.caption)) / 2;
        drawText(sheet, tx, oy + f.image.height + 3, f.caption, 0xE0E0E0);
    }
    return sheet;
}

}  // namespace cs::preview

namespace cs::preview {

namespace {

void plot(Image& image, int x, int y, uint32_t rgb) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) {
        return;
    }
    uint8_t* p = &image.rgba[(static_cast<size_t>(y) * image.width + x) * 4];
    p[0] = static_cast<uint8_t>(rgb >> 16);
    p[1] = static_cast<uint8_t>(rgb >> 8);
    p[2] = static_cast<uint8_t>(rgb);
    p[3] = 255;
}

void line(Image& image, double x0, double y0, double x1, double y1, uint32_t rgb) {
    const double steps = std::max(std::fabs(x1 - x0), std::fabs(y1 - y0)) * 2.0 + 1.0;
    for (int i = 0; i <= static_cast<int>(steps); ++i) {
        const double f = i / steps;
        plot(image, static_cast<int>(std::lround(x0 + (x1 - x0) * f)),
             static_cast<int>(std::lround(y0 + (y1 - y0) * f)), rgb);
    }
}

}  // namespace

void drawOwnAircraftOverlay(Image& image, double cx, double cy, double pixelsPerNm, double ringNm) {
    if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(pixelsPerNm)) {
        return;
    }
    constexpr uint32_t kOwn = 0x40C8FF;
    const double s = std::max(4.0, std::min(image.width, image.height) / 40.0);
    // A small aeroplane pointing up: fuselage, wings, tail.
    line(image, cx, cy - 1.6 * s, cx, cy + 1.4 * s, kOwn);
    line(image, cx - 1.4 * s, cy - 0.1 * s, cx + 1.4 * s, cy - 0.1 * s, kOwn);
    line(image, cx - 0.6 * s, cy + 1.3 * s, cx + 0.6 * s, cy + 1.3 * s, kOwn);
    line(image, cx + 1, cy - 1.6 * s, cx + 1, cy + 1.4 * s, kOwn);
    const double r = ringNm * pixelsPerNm;
    if (r > 3.0 * s && r < 4.0 * std::max(image.width, image.height)) {
        for (int k = 0; k < 12; ++k) {
            const double a = k * 3.14159265358979 / 6.0;
            const int x = static_cast<int>(std::lround(cx + r * std::sin(a)));
            const int y = static_cast<int>(std::lround(cy - r * std::cos(a)));
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    if (dx * dx + dy * dy <= 1) {
                        plot(image, x + dx, y + dy, 0xC0C0C0);
                    }
                }
            }
        }
    }
}

}  // namespace cs::preview
