// The Windows drawing backend: GDI+ through its flat function interface,
// drawing into the device context the host lends for each draw.
#define NOMINMAX
#include <windows.h>
// GDI+'s headers use min and max unqualified.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <new>

#include "render/DrawingSurface.h"

namespace cs {

namespace {

namespace gp = Gdiplus;
namespace flat = Gdiplus::DllExports;

// Each holder keeps the status of the call that made its object; a failed
// call leaves the object null, and calls on it draw nothing.
struct GdiBrush {
    gp::GpSolidFill* brush;
    gp::GpStatus status;
};
struct GdiPen {
    gp::GpPen* pen;
    gp::GpStatus status;
};
struct GdiFont {
    gp::GpFont* font;
    gp::GpStatus status;
};
struct GdiFormat {
    gp::GpStringFormat* format;
    gp::GpStatus status;
};

// The generic sans-serif family, fetched once while GDI+ runs and kept; GDI+
// owns it. It belongs to the GDI+ session, so it is forgotten when the last
// renderer shuts GDI+ down and fetched again by the next session.
constinit gp::GpFontFamily* genericSansSerif = nullptr;
constinit int runningSessions = 0;

gp::GpFontFamily* sansSerifFamily() {
    if (genericSansSerif == nullptr) {
        gp::GpFontFamily* family = nullptr;
        if (flat::GdipGetGenericFontFamilySansSerif(&family) == gp::Ok) {
            genericSansSerif = family;
        }
    }
    return genericSansSerif;
}

gp::GpSolidFill* brushOf(const SurfaceBrush* b) {
    return b != nullptr ? reinterpret_cast<const GdiBrush*>(b)->brush : nullptr;
}
gp::GpPen* penOf(const SurfacePen* p) {
    return p != nullptr ? reinterpret_cast<const GdiPen*>(p)->pen : nullptr;
}
gp::GpFont* fontOf(const SurfaceFont* f) {
    return f != nullptr ? reinterpret_cast<const GdiFont*>(f)->font : nullptr;
}
gp::GpStringFormat* formatOf(const SurfaceStringFormat* f) {
    return f != nullptr ? reinterpret_cast<const GdiFormat*>(f)->format : nullptr;
}

void toGdi(const PointF corners[4], gp::PointF out[4]) {
    for (int i = 0; i < 4; ++i) {
        out[i] = gp::PointF(corners[i].x, corners[i].y);
    }
}

class GdiContext final : public DrawingContext {
  public:
    explicit GdiContext(HDC dc) { status_ = flat::GdipCreateFromHDC(dc, &graphics_); }
    ~GdiContext() override {
        if (graphics_ != nullptr) {
            flat::GdipDeleteGraphics(graphics_);
        }
    }
    GdiContext(const GdiContext&) = delete;
    GdiContext& operator=(const GdiContext&) = delete;

    void scaleWorldTransform(float sx, float sy) override {
        if (graphics_ != nullptr) {
            status_ = flat::GdipScaleWorldTransform(graphics_, sx, sy, gp::MatrixOrderPrepend);
        }
    }
    void translateWorldTransform(float dx, float dy) override {
        if (graphics_ != nullptr) {
            status_ = flat::GdipTranslateWorldTransform(graphics_, dx, dy, gp::MatrixOrderPrepend);
        }
    }
    void setAntiAliasedShapes() override {
        if (graphics_ != nullptr) {
            status_ = flat::GdipSetSmoothingMode(graphics_, gp::SmoothingModeAntiAlias);
        }
    }
    void setAntiAliasedText() override {
        if (graphics_ != nullptr) {
            status_ =
                flat::GdipSetTextRenderingHint(graphics_, gp::TextRenderingHintAntiAliasGridFit);
        }
    }
    void fillRectangle(const SurfaceBrush* brush, RectF r) override {
        gp::GpSolidFill* b = brushOf(brush);
        if (graphics_ != nullptr && b != nullptr) {
            status_ = flat::GdipFillRectangle(graphics_, b, r.x, r.y, r.width, r.height);
        }
    }
    void fillEllipse(const SurfaceBrush* brush, RectF r) override {
        gp::GpSolidFill* b = brushOf(brush);
        if (graphics_ != nullptr && b != nullptr) {
            status_ = flat::GdipFillEllipse(graphics_, b, r.x, r.y, r.width, r.height);
        }
    }
    void fillPolygon(const SurfaceBrush* brush, const PointF corners[4]) override {
        gp::GpSolidFill* b = brushOf(brush);
        if (graphics_ != nullptr && b != nullptr) {
            gp::PointF points[4];
            toGdi(corners, points);
            status_ = flat::GdipFillPolygon(graphics_, b, points, 4, gp::FillModeAlternate);
        }
    }
    void drawRectangle(const SurfacePen* pen, RectF r) override {
        gp::GpPen* p = penOf(pen);
        if (graphics_ != nullptr && p != nullptr) {
            status_ = flat::GdipDrawRectangle(graphics_, p, r.x, r.y, r.width, r.height);
        }
    }
    void drawEllipse(const SurfacePen* pen, RectF r) override {
        gp::GpPen* p = penOf(pen);
        if (graphics_ != nullptr && p != nullptr) {
            status_ = flat::GdipDrawEllipse(graphics_, p, r.x, r.y, r.width, r.height);
        }
    }
    void drawPolygon(const SurfacePen* pen, const PointF corners[4]) override {
        gp::GpPen* p = penOf(pen);
        if (graphics_ != nullptr && p != nullptr) {
            gp::PointF points[4];
            toGdi(corners, points);
            status_ = flat::GdipDrawPolygon(graphics_, p, points, 4);
        }
    }
    void drawLine(const SurfacePen* pen, PointF from, PointF to) override {
        gp::GpPen* p = penOf(pen);
        if (graphics_ != nullptr && p != nullptr) {
            status_ = flat::GdipDrawLine(graphics_, p, from.x, from.y, to.x, to.y);
        }
    }
    void drawString(const wchar_t* text, const SurfaceFont* font, PointF origin,
                    const SurfaceStringFormat* format, const SurfaceBrush* brush) override {
        gp::GpFont* f = fontOf(font);
        gp::GpSolidFill* b = brushOf(brush);
        if (graphics_ == nullptr || text == nullptr || f == nullptr || b == nullptr) {
            return;
        }
        // An empty layout box: no wrapping, aligned on the origin.
        const gp::RectF layout(origin.x, origin.y, 0.0f, 0.0f);
        status_ = flat::GdipDrawString(graphics_, text, -1, f, &layout, formatOf(format), b);
    }
    RectF measureString(const wchar_t* text, const SurfaceFont* font, PointF origin,
                        const SurfaceStringFormat* format) override {
        RectF box{origin.x, origin.y, 0.0f, 0.0f};
        gp::GpFont* f = fontOf(font);
        if (graphics_ == nullptr || text == nullptr || f == nullptr) {
            return box;
        }
        const gp::RectF layout(origin.x, origin.y, 0.0f, 0.0f);
        gp::RectF bounds(origin.x, origin.y, 0.0f, 0.0f);
        status_ = flat::GdipMeasureString(graphics_, text, -1, f, &layout, formatOf(format),
                                          &bounds, nullptr, nullptr);
        if (status_ == gp::Ok) {
            box = RectF{bounds.X, bounds.Y, bounds.Width, bounds.Height};
        }
        return box;
    }

  private:
    gp::GpGraphics* graphics_ = nullptr;
    gp::GpStatus status_ = gp::Ok;
};

class GdiPlusBackend final : public DrawingBackend {
  public:
    constexpr GdiPlusBackend() = default;

    uintptr_t startup() override {
        gp::GdiplusStartupInput input;  // version 1, no event callback, nothing suppressed
        input.GdiplusVersion = 1;
        input.DebugEventCallback = nullptr;
        input.SuppressBackgroundThread = FALSE;
        input.SuppressExternalCodecs = FALSE;
        ULONG_PTR token = 0;
        gp::GdiplusStartup(&token, &input, nullptr);
        if (token != 0) {
            ++runningSessions;
        }
        return token;
    }
    void shutdown(uintptr_t token) override {
        gp::GdiplusShutdown(token);
        if (runningSessions > 0 && --runningSessions == 0) {
            genericSansSerif = nullptr;
        }
    }

    DrawingContext* createContext(DeviceContext dc) override {
        // The holder lives in GDI+'s memory, as its own C++ wrapper's do.
        void* memory = flat::GdipAlloc(sizeof(GdiContext));
        if (memory == nullptr) {
            return nullptr;
        }
        return new (memory) GdiContext(reinterpret_cast<HDC>(dc));
    }
    void deleteContext(DrawingContext* context) override {
        if (context == nullptr) {
            return;
        }
        GdiContext* holder = static_cast<GdiContext*>(context);
        holder->~GdiContext();
        flat::GdipFree(holder);
    }

    SurfaceBrush* createSolidBrush(Argb colour) override {
        GdiBrush* holder = new (std::nothrow) GdiBrush{nullptr, gp::Ok};
        if (holder != nullptr) {
            holder->status = flat::GdipCreateSolidFill(colour, &holder->brush);
        }
        return reinterpret_cast<SurfaceBrush*>(holder);
    }
    void deleteBrush(SurfaceBrush* brush) override {
        GdiBrush* holder = reinterpret_cast<GdiBrush*>(brush);
        if (holder == nullptr) {
            return;
        }
        if (holder->brush != nullptr) {
            flat::GdipDeleteBrush(holder->brush);
        }
        delete holder;
    }

    SurfacePen* createPen(Argb colour, float width) override {
        GdiPen* holder = new (std::nothrow) GdiPen{nullptr, gp::Ok};
        if (holder != nullptr) {
            holder->status = flat::GdipCreatePen1(colour, width, gp::UnitWorld, &holder->pen);
        }
        return reinterpret_cast<SurfacePen*>(holder);
    }
    void deletePen(SurfacePen* pen) override {
        GdiPen* holder = reinterpret_cast<GdiPen*>(pen);
        if (holder == nullptr) {
            return;
        }
        if (holder->pen != nullptr) {
            flat::GdipDeletePen(holder->pen);
        }
        delete holder;
    }

    SurfaceStringFormat* createCentredStringFormat() override {
        GdiFormat* holder = new (std::nothrow) GdiFormat{nullptr, gp::Ok};
        if (holder != nullptr) {
            holder->status = flat::GdipCreateStringFormat(0, LANG_NEUTRAL, &holder->format);
            if (holder->format != nullptr) {
                holder->status =
                    flat::GdipSetStringFormatAlign(holder->format, gp::StringAlignmentCenter);
            }
        }
        return reinterpret_cast<SurfaceStringFormat*>(holder);
    }
    void deleteStringFormat(SurfaceStringFormat* format) override {
        GdiFormat* holder = reinterpret_cast<GdiFormat*>(format);
        if (holder == nullptr) {
            return;
        }
        if (holder->format != nullptr) {
            flat::GdipDeleteStringFormat(holder->format);
        }
        delete holder;
    }

    SurfaceFont* createFont(const wchar_t* family, float emSize) override {
        GdiFont* holder = new (std::nothrow) GdiFont{nullptr, gp::Ok};
        if (holder == nullptr) {
            return nullptr;
        }
        gp::GpFontFamily* named = nullptr;
        if (family != nullptr) {
            holder->status = flat::GdipCreateFontFamilyFromName(family, nullptr, &named);
        }
        if (named != nullptr) {
            holder->status = flat::GdipCreateFont(named, emSize, gp::FontStyleRegular,
                                                  gp::UnitPoint, &holder->font);
            // The font keeps what it needs of its family.
            flat::GdipDeleteFontFamily(named);
        }
        if (holder->font == nullptr) {
            // Not installed, or not usable in the regular style.
            gp::GpFontFamily* sans = sansSerifFamily();
            if (sans != nullptr) {
                holder->status = flat::GdipCreateFont(sans, emSize, gp::FontStyleRegular,
                                                      gp::UnitPoint, &holder->font);
            }
        }
        return reinterpret_cast<SurfaceFont*>(holder);
    }
    void deleteFont(SurfaceFont* font) override {
        GdiFont* holder = reinterpret_cast<GdiFont*>(font);
        if (holder == nullptr) {
            return;
        }
        if (holder->font != nullptr) {
            flat::GdipDeleteFont(holder->font);
        }
        delete holder;
    }
};

constinit GdiPlusBackend gdiPlusBackend;

}  // namespace

DrawingBackend& platformDrawingBackend() {
    return gdiPlusBackend;
}

}  // namespace cs
