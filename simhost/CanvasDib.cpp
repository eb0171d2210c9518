// The canvas on Windows: a 32-bit top-down DIB section selected into a memory
// device context. GDI batches its drawing, so the pixels are read after
// GdiFlush.
#include <windows.h>

#include "simhost/Canvas.h"

namespace cs::sim {

Canvas::Canvas(int width, int height, uint32_t clearArgb) {
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
    pixels_ = static_cast<uint8_t*>(bits);
    stride_ = static_cast<long>(width) * 4;
    clear(clearArgb);
}

Canvas::~Canvas() {
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

void Canvas::flush() const {
    GdiFlush();
}

void Canvas::markWritten() {}

bool Canvas::keepsAlpha() {
    return false;  // GDI leaves the fourth byte undefined
}

}  // namespace cs::sim
