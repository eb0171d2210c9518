#if defined(_WIN32)

#include "simhost/DibCanvas.h"

#include <windows.h>

namespace cs::sim {

DibCanvas::DibCanvas(int width, int height, uint32_t clearArgb) {
    if (width < 1 || height < 1 || width > 32768 || height > 32768) {
        return;
    }
    HDC memory = CreateCompatibleDC(nullptr);
    if (memory == nullptr) {
        return;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: rows run top to bottom
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr || bits == nullptr) {
        if (bitmap != nullptr) {
            DeleteObject(bitmap);
        }
        DeleteDC(memory);
        return;
    }
    previous_ = SelectObject(memory, bitmap);
    width_ = width;
    height_ = height;
    dc_ = memory;
    bitmap_ = bitmap;
    bits_ = bits;
    clear(clearArgb);
}

DibCanvas::~DibCanvas() {
    if (dc_ != nullptr) {
        HDC memory = static_cast<HDC>(dc_);
        if (previous_ != nullptr) {
            SelectObject(memory, static_cast<HGDIOBJ>(previous_));
        }
        DeleteDC(memory);
    }
    if (bitmap_ != nullptr) {
        DeleteObject(static_cast<HGDIOBJ>(bitmap_));
    }
}

void DibCanvas::flush() const {
    GdiFlush();
}

void DibCanvas::clear(uint32_t argb) {
    if (bits_ == nullptr) {
        return;
    }
    flush();
    uint32_t* pixel = static_cast<uint32_t*>(bits_);
    const size_t count = static_cast<size_t>(width_) * static_cast<size_t>(height_);
    for (size_t i = 0; i < count; ++i) {
        pixel[i] = argb;
    }
}

uint32_t DibCanvas::pixel(int x, int y) const {
    if (bits_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0;
    }
    flush();
    const uint32_t* row = static_cast<const uint32_t*>(bits_) + static_cast<size_t>(y) * width_;
    return row[x];
}

}  // namespace cs::sim

#endif  // _WIN32
