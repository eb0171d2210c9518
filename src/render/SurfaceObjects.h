// Scoped drawing resources in the manner of GDI+'s C++ wrapper: each object
// makes its resource from the backend on construction and releases it when it
// goes out of scope, so a symbol call cannot leak a brush on an early return.
// A resource the backend could not make is null and draws nothing.
#pragma once

#include "render/DrawingSurface.h"

namespace cs {

class SolidBrush {
  public:
    SolidBrush(DrawingBackend& backend, Argb colour)
        : backend_(backend), brush_(backend.createSolidBrush(colour)) {}
    ~SolidBrush() {
        if (brush_ != nullptr) {
            backend_.deleteBrush(brush_);
        }
    }
    SolidBrush(const SolidBrush&) = delete;
    SolidBrush& operator=(const SolidBrush&) = delete;
    const SurfaceBrush* get() const { return brush_; }

  private:
    DrawingBackend& backend_;
    SurfaceBrush* brush_;
};

class Pen {
  public:
    Pen(DrawingBackend& backend, Argb colour, float width)
        : backend_(backend), pen_(backend.createPen(colour, width)) {}
    ~Pen() {
        if (pen_ != nullptr) {
            backend_.deletePen(pen_);
        }
    }
    Pen(const Pen&) = delete;
    Pen& operator=(const Pen&) = delete;
    const SurfacePen* get() const { return pen_; }

  private:
    DrawingBackend& backend_;
    SurfacePen* pen_;
};

class Font {
  public:
    Font(DrawingBackend& backend, const wchar_t* family, float emSize)
        : backend_(backend), font_(backend.createFont(family, emSize)) {}
    ~Font() {
        if (font_ != nullptr) {
            backend_.deleteFont(font_);
        }
    }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    const SurfaceFont* get() const { return font_; }

  private:
    DrawingBackend& backend_;
    SurfaceFont* font_;
};

// Centres text horizontally on its origin; the text hangs down from it.
class CentredStringFormat {
  public:
    explicit CentredStringFormat(DrawingBackend& backend)
        : backend_(backend), format_(backend.createCentredStringFormat()) {}
    ~CentredStringFormat() {
        if (format_ != nullptr) {
            backend_.deleteStringFormat(format_);
        }
    }
    CentredStringFormat(const CentredStringFormat&) = delete;
    CentredStringFormat& operator=(const CentredStringFormat&) = delete;
    const SurfaceStringFormat* get() const { return format_; }

  private:
    DrawingBackend& backend_;
    SurfaceStringFormat* format_;
};

}  // namespace cs
