// The Windows replayer: GDI+, as the simulator draws XML gauges, into the
// canvas's device context (a DIB section), with anti-aliased edges and text.
#define NOMINMAX
#include <windows.h>
// GDI+'s headers use min and max unqualified.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <map>
#include <string>
#include <vector>

#include "simhost/Canvas.h"
#include "tools/workbench/GaugeImage.h"
#include "tools/workbench/MaskRuns.h"
#include "tools/workbench/Replayer.h"
#include "tools/workbench/backends/Undrawn.h"

namespace cs::workbench {

namespace {

namespace gp = Gdiplus;
namespace flat = Gdiplus::DllExports;

gp::ARGB opaque(uint32_t rgb) {
    return 0xFF000000u | (rgb & 0xFFFFFFu);
}

std::wstring wide(const std::string& utf8) {
    if (utf8.empty()) {
        return std::wstring();
    }
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) {
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    }
    return out;
}

void fillBox(gp::GpGraphics* g, uint32_t rgb, double w, double h) {
    gp::GpSolidFill* brush = nullptr;
    if (flat::GdipCreateSolidFill(opaque(rgb), &brush) == gp::Ok) {
        flat::GdipFillRectangle(g, brush, 0.0f, 0.0f, static_cast<float>(w), static_cast<float>(h));
        flat::GdipDeleteBrush(brush);
    }
}

// `path` filled and outlined as the command's style says (`fill` false for
// an open path).
void paintPath(gp::GpGraphics* g, gp::GpPath* path, const gauge::RectangleStyle& style, bool fill) {
    gp::GpSolidFill* brush = nullptr;
    if (fill && style.fill.set &&
        flat::GdipCreateSolidFill(opaque(style.fill.rgb), &brush) == gp::Ok) {
        flat::GdipFillPath(g, brush, path);
        flat::GdipDeleteBrush(brush);
    }
    gp::GpPen* pen = nullptr;
    if (style.line.set &&
        flat::GdipCreatePen1(opaque(style.line.rgb), static_cast<float>(style.lineWidth),
                             gp::UnitWorld, &pen) == gp::Ok) {
        flat::GdipDrawPath(g, pen, path);
        flat::GdipDeletePen(pen);
    }
}

// A rectangle, ellipse or path command as a GDI+ path in its own units.
void shape(gp::GpGraphics* g, const DrawCommand& c) {
    gp::GpPath* path = nullptr;
    if (flat::GdipCreatePath(gp::FillModeAlternate, &path) != gp::Ok) {
        return;
    }
    const float w = static_cast<float>(c.width), h = static_cast<float>(c.height);
    if (c.op == DrawOp::Rectangle) {
        flat::GdipAddPathRectangle(path, 0.0f, 0.0f, w, h);
    } else if (c.op == DrawOp::Ellipse) {
        flat::GdipAddPathEllipse(path, 0.0f, 0.0f, w, h);
    } else {
        std::vector<gp::PointF> points;
        for (const PathPoint& p : c.points) {
            points.emplace_back(static_cast<float>(p.x), static_cast<float>(p.y));
        }
        flat::GdipAddPathLine2(path, points.data(), static_cast<INT>(points.size()));
        if (c.closed) {
            flat::GdipClosePathFigure(path);
        }
    }
    paintPath(g, path, c.rectangle, c.op != DrawOp::Path || c.closed);
    flat::GdipDeletePath(path);
}

// Sets the world transform to `t`; false when GDI+ refuses it.
bool setTransform(gp::GpGraphics* g, const Affine& t) {
    gp::GpMatrix* m = nullptr;
    if (flat::GdipCreateMatrix2(static_cast<float>(t.xx), static_cast<float>(t.yx),
                                static_cast<float>(t.xy), static_cast<float>(t.yy),
                                static_cast<float>(t.dx), static_cast<float>(t.dy), &m) != gp::Ok) {
        return false;
    }
    flat::GdipSetWorldTransform(g, m);
    flat::GdipDeleteMatrix(m);
    return true;
}

// Pixels of `width` x `height` 32-bit words drawn, without a copy, into the
// command's box.
void pixels(gp::GpGraphics* g, const DrawCommand& c, const uint8_t* data, int width, int height,
            int stride, gp::PixelFormat format) {
    gp::GpBitmap* bitmap = nullptr;
    if (data == nullptr ||
        flat::GdipCreateBitmapFromScan0(width, height, stride, format, const_cast<BYTE*>(data),
                                        &bitmap) != gp::Ok) {
        return;
    }
    flat::GdipDrawImageRect(g, bitmap, 0.0f, 0.0f, static_cast<float>(c.width),
                            static_cast<float>(c.height));
    flat::GdipDisposeImage(bitmap);
}

gp::StringAlignment alignmentOf(gauge::Adjust a) {
    return a == gauge::Adjust::Center ? gp::StringAlignmentCenter
           : a == gauge::Adjust::End  ? gp::StringAlignmentFar
                                      : gp::StringAlignmentNear;
}

// The gauge's font family, else the generic sans-serif one (GDI+ owns that).
gp::GpFontFamily* family(const std::string& name, bool* own) {
    gp::GpFontFamily* f = nullptr;
    const std::wstring w = wide(name);
    if (!w.empty() && flat::GdipCreateFontFamilyFromName(w.c_str(), nullptr, &f) == gp::Ok) {
        *own = true;
        return f;
    }
    *own = false;
    return flat::GdipGetGenericFontFamilySansSerif(&f) == gp::Ok ? f : nullptr;
}

void text(gp::GpGraphics* g, const DrawCommand& c) {
    if (c.style.background.set) {
        fillBox(g, c.style.background.rgb, c.width, c.height);
    }
    if (c.text.empty() || c.height <= 0) {
        return;
    }
    bool own = false;
    gp::GpFontFamily* f = family(c.style.font, &own);
    if (f == nullptr) {
        return;
    }
    // The box's height is the line's height: the font's ascent and descent.
    UINT16 em = 1, ascent = 1, descent = 0;
    flat::GdipGetEmHeight(f, gp::FontStyleRegular, &em);
    flat::GdipGetCellAscent(f, gp::FontStyleRegular, &ascent);
    flat::GdipGetCellDescent(f, gp::FontStyleRegular, &descent);
    const double size = c.height * em / std::max(ascent + descent, 1);
    gp::GpFont* font = nullptr;
    gp::GpStringFormat* format = nullptr;
    gp::GpSolidFill* brush = nullptr;
    // Typographic layout (no padding around the text), one line, clipped to
    // the box rather than dropped when it does not fit.
    gp::GpStringFormat* typographic = nullptr;
    flat::GdipStringFormatGetGenericTypographic(&typographic);
    if (flat::GdipCreateFont(f, static_cast<float>(size), gp::FontStyleRegular, gp::UnitWorld,
                             &font) == gp::Ok &&
        typographic != nullptr && flat::GdipCloneStringFormat(typographic, &format) == gp::Ok &&
        flat::GdipCreateSolidFill(opaque(c.style.colour.rgb), &brush) == gp::Ok) {
        flat::GdipSetStringFormatFlags(format, gp::StringFormatFlagsNoWrap |
                                                   gp::StringFormatFlagsNoClip |
                                                   gp::StringFormatFlagsMeasureTrailingSpaces);
        flat::GdipSetClipRect(g, 0.0f, 0.0f, static_cast<float>(c.width),
                              static_cast<float>(c.height), gp::CombineModeIntersect);
        flat::GdipSetStringFormatAlign(format, alignmentOf(c.style.adjust));
        flat::GdipSetStringFormatLineAlign(format, alignmentOf(c.style.verticalAdjust));
        const std::wstring w = wide(c.text);
        const gp::RectF box(0.0f, 0.0f, static_cast<float>(c.width), static_cast<float>(c.height));
        flat::GdipDrawString(g, w.c_str(), static_cast<INT>(w.size()), font, &box, format, brush);
    }
    if (brush != nullptr) {
        flat::GdipDeleteBrush(brush);
    }
    if (format != nullptr) {
        flat::GdipDeleteStringFormat(format);
    }
    if (font != nullptr) {
        flat::GdipDeleteFont(font);
    }
    if (own) {
        flat::GdipDeleteFontFamily(f);
    }
}

void draw(gp::GpGraphics* g, const DrawCommand& c) {
    switch (c.op) {
        case DrawOp::Rectangle:
        case DrawOp::Ellipse:
            shape(g, c);
            break;
        case DrawOp::Path:
            if (c.points.size() >= 2) {
                shape(g, c);
            }
            break;
        case DrawOp::Image:
            pixels(g, c, reinterpret_cast<const uint8_t*>(c.image->argb.data()), c.image->width,
                   c.image->height, c.image->width * 4, PixelFormat32bppPARGB);
            break;
        case DrawOp::Canvas:
            // A DIB's fourth byte means nothing: the module's pixels are opaque.
            pixels(g, c, c.canvas->pixels(), c.canvas->width(), c.canvas->height(),
                   static_cast<int>(c.canvas->stride()), PixelFormat32bppRGB);
            break;
        case DrawOp::Text:
            text(g, c);
            break;
    }
}

class GdiPlusReplayer final : public Replayer {
  public:
    GdiPlusReplayer() {
        gp::GdiplusStartupInput input;
        started_ = gp::GdiplusStartup(&token_, &input, nullptr) == gp::Ok;
    }
    ~GdiPlusReplayer() override {
        if (started_) {
            gp::GdiplusShutdown(token_);
        }
    }
    GdiPlusReplayer(const GdiPlusReplayer&) = delete;
    GdiPlusReplayer& operator=(const GdiPlusReplayer&) = delete;

    void replay(const DrawList& list, sim::Canvas& canvas) override {
        canvas.clear(0xFF000000u);
        gp::GpGraphics* g = nullptr;
        if (!started_ || flat::GdipCreateFromHDC(canvas.dc(), &g) != gp::Ok) {
            return;
        }
        flat::GdipSetSmoothingMode(g, gp::SmoothingModeAntiAlias);
        flat::GdipSetTextRenderingHint(g, gp::TextRenderingHintAntiAlias);
        runs_.clear();  // the list's bitmaps live only as long as its run
        for (const DrawCommand& c : list.commands) {
            if (c.clip.empty()) {
                continue;
            }
            flat::GdipResetWorldTransform(g);
            flat::GdipSetClipRect(g, static_cast<float>(c.clip.x), static_cast<float>(c.clip.y),
                                  static_cast<float>(c.clip.width),
                                  static_cast<float>(c.clip.height), gp::CombineModeReplace);
            bool placed = true;
            for (const ClipMask& m : c.masks) {
                placed = placed && clip(g, m);
            }
            if (placed && setTransform(g, c.transform)) {
                draw(g, c);
            }
        }
        flat::GdipDeleteGraphics(g);
        GdiFlush();
    }
    const std::vector<std::string>& undrawn() const override { return undrawnElements(); }

  private:
    // Narrows the clip to a turned box or a mask's opaque pixels: GDI+ keeps
    // the clip in device pixels, placed by the world transform of the moment.
    bool clip(gp::GpGraphics* g, const ClipMask& m) {
        if (!setTransform(g, m.transform)) {
            return false;
        }
        if (m.image == nullptr) {
            flat::GdipSetClipRect(g, 0.0f, 0.0f, static_cast<float>(m.width),
                                  static_cast<float>(m.height), gp::CombineModeIntersect);
            return true;
        }
        auto it = runs_.find(m.image);
        if (it == runs_.end()) {
            it = runs_.emplace(m.image, opaqueRuns(*m.image)).first;
        }
        gp::GpPath* path = nullptr;
        if (flat::GdipCreatePath(gp::FillModeWinding, &path) != gp::Ok) {
            return false;
        }
        for (const PixelRect& r : it->second) {
            flat::GdipAddPathRectangle(path, static_cast<float>(r.x), static_cast<float>(r.y),
                                       static_cast<float>(r.width), static_cast<float>(r.height));
        }
        flat::GdipSetClipPath(g, path, gp::CombineModeIntersect);
        flat::GdipDeletePath(path);
        return true;
    }

    ULONG_PTR token_ = 0;
    bool started_ = false;
    std::map<const GaugeImage*, std::vector<PixelRect>> runs_;
};

}  // namespace

std::unique_ptr<Replayer> makePlatformReplayer() {
    return std::make_unique<GdiPlusReplayer>();
}

}  // namespace cs::workbench
