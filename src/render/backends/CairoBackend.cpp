#include "render/backends/CairoBackend.h"

#include <cairo.h>

#include <cmath>
#include <cstddef>
#include <new>

#if defined(CS_HAVE_PANGO)
#include <pango/pangocairo.h>
#endif

namespace cs {

namespace {

constexpr double kPixelsPerPoint = 96.0 / 72.0;
// GDI+ lays text out with a sixth of an em of padding on either side; the
// measured box keeps it, so pads come out the same size on both backends.
constexpr double kTextPaddingEm = 1.0 / 6.0;

struct Rgba {
    double r, g, b, a;
};

Rgba toRgba(Argb c) {
    return Rgba{((c >> 16) & 0xFFu) / 255.0, ((c >> 8) & 0xFFu) / 255.0, (c & 0xFFu) / 255.0,
                ((c >> 24) & 0xFFu) / 255.0};
}

struct CairoBrush {
    Rgba colour;
};
struct CairoPen {
    Rgba colour;
    double width;  // world units
};
struct CairoFormat {
    bool centred;
};

// UTF-8 from wide text (UTF-32 here), bounded to the buffer; code points
// that cannot be encoded become U+FFFD.
void toUtf8(const wchar_t* text, char* out, size_t capacity) {
    size_t pos = 0;
    for (; text != nullptr && *text != L'\0'; ++text) {
        uint32_t cp = static_cast<uint32_t>(*text);
        if (cp > 0x10FFFFu || (cp >= 0xD800u && cp <= 0xDFFFu)) {
            cp = 0xFFFDu;
        }
        char bytes[4];
        size_t n;
        if (cp < 0x80u) {
            bytes[0] = static_cast<char>(cp);
            n = 1;
        } else if (cp < 0x800u) {
            bytes[0] = static_cast<char>(0xC0u | (cp >> 6));
            bytes[1] = static_cast<char>(0x80u | (cp & 0x3Fu));
            n = 2;
        } else if (cp < 0x10000u) {
            bytes[0] = static_cast<char>(0xE0u | (cp >> 12));
            bytes[1] = static_cast<char>(0x80u | ((cp >> 6) & 0x3Fu));
            bytes[2] = static_cast<char>(0x80u | (cp & 0x3Fu));
            n = 3;
        } else {
            bytes[0] = static_cast<char>(0xF0u | (cp >> 18));
            bytes[1] = static_cast<char>(0x80u | ((cp >> 12) & 0x3Fu));
            bytes[2] = static_cast<char>(0x80u | ((cp >> 6) & 0x3Fu));
            bytes[3] = static_cast<char>(0x80u | (cp & 0x3Fu));
            n = 4;
        }
        if (pos + n + 1 > capacity) {
            break;
        }
        for (size_t i = 0; i < n; ++i) {
            out[pos++] = bytes[i];
        }
    }
    if (capacity > 0) {
        out[pos] = '\0';
    }
}

constexpr size_t kFamilyBytes = 256 * 4;  // a 255-character family in UTF-8
constexpr size_t kTextBytes = 101 * 4;    // a tag or label in UTF-8

struct CairoFont {
    double pixelSize;  // em in world units
#if defined(CS_HAVE_PANGO)
    PangoFontDescription* description;
#else
    char family[kFamilyBytes];
#endif
};

bool finiteRect(RectF r) {
    return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.width) &&
           std::isfinite(r.height);
}

bool finitePoint(PointF p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

class CairoContext final : public DrawingContext {
  public:
    explicit CairoContext(cairo_surface_t* surface) : cr_(cairo_create(surface)) {
        // Shapes and text are aliased unless the frame asks otherwise, which
        // is GDI+'s default too.
        cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
        cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
        cairo_set_line_join(cr_, CAIRO_LINE_JOIN_MITER);
        textAntialias_ = CAIRO_ANTIALIAS_NONE;
    }
    ~CairoContext() override {
#if defined(CS_HAVE_PANGO)
        if (pango_ != nullptr) {
            g_object_unref(pango_);
        }
#endif
        cairo_destroy(cr_);
    }
    CairoContext(const CairoContext&) = delete;
    CairoContext& operator=(const CairoContext&) = delete;

    void scaleWorldTransform(float sx, float sy) override {
        // A zero scale would put the context into a permanent error state.
        if (std::isfinite(sx) && std::isfinite(sy) && sx != 0.0f && sy != 0.0f) {
            cairo_scale(cr_, sx, sy);
            textStale_ = true;
        }
    }
    void translateWorldTransform(float dx, float dy) override {
        if (std::isfinite(dx) && std::isfinite(dy)) {
            cairo_translate(cr_, dx, dy);
            textStale_ = true;
        }
    }
    void setAntiAliasedShapes() override {
        cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GOOD);
    }
    void setAntiAliasedText() override {
        textAntialias_ = CAIRO_ANTIALIAS_GRAY;
        textStale_ = true;
    }

    void fillRectangle(const SurfaceBrush* brush, RectF r) override {
        if (brush == nullptr || !finiteRect(r)) {
            return;
        }
        cairo_rectangle(cr_, r.x, r.y, r.width, r.height);
        fill(brush, CAIRO_FILL_RULE_WINDING);
    }
    void fillEllipse(const SurfaceBrush* brush, RectF bounds) override {
        if (brush == nullptr || !ellipsePath(bounds)) {
            return;
        }
        fill(brush, CAIRO_FILL_RULE_WINDING);
    }
    void fillPolygon(const SurfaceBrush* brush, const PointF corners[4]) override {
        if (brush == nullptr || !polygonPath(corners)) {
            return;
        }
        fill(brush, CAIRO_FILL_RULE_EVEN_ODD);
    }
    void drawRectangle(const SurfacePen* pen, RectF r) override {
        if (pen == nullptr || !finiteRect(r)) {
            return;
        }
        cairo_rectangle(cr_, r.x, r.y, r.width, r.height);
        stroke(pen);
    }
    void drawEllipse(const SurfacePen* pen, RectF bounds) override {
        if (pen == nullptr || !ellipsePath(bounds)) {
            return;
        }
        stroke(pen);
    }
    void drawPolygon(const SurfacePen* pen, const PointF corners[4]) override {
        if (pen == nullptr || !polygonPath(corners)) {
            return;
        }
        stroke(pen);
    }
    void drawLine(const SurfacePen* pen, PointF from, PointF to) override {
        if (pen == nullptr || !finitePoint(from) || !finitePoint(to)) {
            return;
        }
        cairo_move_to(cr_, from.x, from.y);
        cairo_line_to(cr_, to.x, to.y);
        stroke(pen);
    }

    void drawString(const wchar_t* text, const SurfaceFont* font, PointF origin,
                    const SurfaceStringFormat* format, const SurfaceBrush* brush) override {
        if (text == nullptr || font == nullptr || brush == nullptr || !finitePoint(origin)) {
            return;
        }
        const Rgba c = reinterpret_cast<const CairoBrush*>(brush)->colour;
        cairo_set_source_rgba(cr_, c.r, c.g, c.b, c.a);
        layoutText(text, reinterpret_cast<const CairoFont*>(font), origin, format, true);
    }
    RectF measureString(const wchar_t* text, const SurfaceFont* font, PointF origin,
                        const SurfaceStringFormat* format) override {
        if (text == nullptr || font == nullptr || !finitePoint(origin)) {
            return RectF{origin.x, origin.y, 0.0f, 0.0f};
        }
        return layoutText(text, reinterpret_cast<const CairoFont*>(font), origin, format, false);
    }

  private:
    void fill(const SurfaceBrush* brush, cairo_fill_rule_t rule) {
        const Rgba c = reinterpret_cast<const CairoBrush*>(brush)->colour;
        cairo_set_source_rgba(cr_, c.r, c.g, c.b, c.a);
        cairo_set_fill_rule(cr_, rule);
        cairo_fill(cr_);
    }
    void stroke(const SurfacePen* pen) {
        const CairoPen* p = reinterpret_cast<const CairoPen*>(pen);
        cairo_set_source_rgba(cr_, p->colour.r, p->colour.g, p->colour.b, p->colour.a);
        // GDI+ never draws a line thinner than one device pixel.
        double ux = 1.0;
        double uy = 1.0;
        cairo_device_to_user_distance(cr_, &ux, &uy);
        const double minimum = std::fmin(std::fabs(ux), std::fabs(uy));
        cairo_set_line_width(cr_, std::fmax(p->width, minimum));
        cairo_stroke(cr_);
    }
    bool ellipsePath(RectF b) {
        if (!finiteRect(b) || b.width == 0.0f || b.height == 0.0f) {
            return false;
        }
        cairo_save(cr_);
        cairo_translate(cr_, b.x + b.width / 2.0, b.y + b.height / 2.0);
        cairo_scale(cr_, b.width / 2.0, b.height / 2.0);
        cairo_new_path(cr_);
        cairo_arc(cr_, 0.0, 0.0, 1.0, 0.0, 2.0 * M_PI);
        cairo_close_path(cr_);
        cairo_restore(cr_);
        return true;
    }
    bool polygonPath(const PointF corners[4]) {
        for (int i = 0; i < 4; ++i) {
            if (!finitePoint(corners[i])) {
                return false;
            }
        }
        cairo_move_to(cr_, corners[0].x, corners[0].y);
        for (int i = 1; i < 4; ++i) {
            cairo_line_to(cr_, corners[i].x, corners[i].y);
        }
        cairo_close_path(cr_);
        return true;
    }

    // Lays out one line at the origin: centred on origin.x with the
    // centring format (else starting there), top at origin.y. Draws it when
    // asked; returns the box it occupies.
    RectF layoutText(const wchar_t* text, const CairoFont* font, PointF origin,
                     const SurfaceStringFormat* format, bool draw) {
        char utf8[kTextBytes];
        toUtf8(text, utf8, sizeof utf8);
        const bool centred =
            format != nullptr && reinterpret_cast<const CairoFormat*>(format)->centred;
        const double padding = kTextPaddingEm * font->pixelSize;
        double width = 0.0;
        double height = 0.0;
#if defined(CS_HAVE_PANGO)
        PangoContext* context = pangoContext();
        if (context == nullptr) {
            return RectF{origin.x, origin.y, 0.0f, 0.0f};
        }
        PangoLayout* layout = pango_layout_new(context);
        pango_layout_set_font_description(layout, font->description);
        pango_layout_set_text(layout, utf8, -1);
        PangoRectangle logical;
        pango_layout_get_extents(layout, nullptr, &logical);
        width = static_cast<double>(logical.width) / PANGO_SCALE;
        height = static_cast<double>(logical.height) / PANGO_SCALE;
        const double left = centred ? origin.x - width / 2.0 : origin.x + padding;
        if (draw) {
            cairo_move_to(cr_, left - static_cast<double>(logical.x) / PANGO_SCALE, origin.y);
            pango_cairo_show_layout(cr_, layout);
            cairo_new_path(cr_);
        }
        g_object_unref(layout);
#else
        applyToyFont(font);
        cairo_font_extents_t fe;
        cairo_font_extents(cr_, &fe);
        cairo_text_extents_t te;
        cairo_text_extents(cr_, utf8, &te);
        width = te.x_advance;
        height = fe.height;
        const double left = centred ? origin.x - width / 2.0 : origin.x + padding;
        if (draw) {
            cairo_move_to(cr_, left, origin.y + fe.ascent);
            cairo_show_text(cr_, utf8);
            cairo_new_path(cr_);
        }
#endif
        const double boxLeft = centred ? origin.x - width / 2.0 - padding : origin.x;
        return RectF{static_cast<float>(boxLeft), origin.y,
                     static_cast<float>(width + 2.0 * padding), static_cast<float>(height)};
    }

    void applyTextOptions() {
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, textAntialias_);
        cairo_font_options_set_hint_style(options, textAntialias_ == CAIRO_ANTIALIAS_NONE
                                                       ? CAIRO_HINT_STYLE_DEFAULT
                                                       : CAIRO_HINT_STYLE_FULL);
#if defined(CS_HAVE_PANGO)
        pango_cairo_context_set_font_options(pango_, options);
#else
        cairo_set_font_options(cr_, options);
#endif
        cairo_font_options_destroy(options);
    }

#if defined(CS_HAVE_PANGO)
    // One Pango context per frame, brought up to date with the transform
    // and the text options whenever they changed.
    PangoContext* pangoContext() {
        if (pango_ == nullptr) {
            pango_ = pango_cairo_create_context(cr_);
            if (pango_ == nullptr) {
                return nullptr;
            }
            pango_cairo_context_set_resolution(pango_, 96.0);
            textStale_ = true;
        }
        if (textStale_) {
            applyTextOptions();
            pango_cairo_update_context(cr_, pango_);
            textStale_ = false;
        }
        return pango_;
    }
    PangoContext* pango_ = nullptr;
#else
    void applyToyFont(const CairoFont* font) {
        cairo_select_font_face(cr_, font->family, CAIRO_FONT_SLANT_NORMAL,
                               CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr_, font->pixelSize);
        if (textStale_) {
            applyTextOptions();
            textStale_ = false;
        }
    }
#endif

    cairo_t* cr_;
    cairo_antialias_t textAntialias_;
    bool textStale_ = true;
};

class CairoBackend final : public DrawingBackend {
  public:
    constexpr CairoBackend() = default;

    uintptr_t startup() override { return 1; }
    void shutdown(uintptr_t /*token*/) override {}

    DrawingContext* createContext(DeviceContext dc) override {
        if (dc == nullptr) {
            return nullptr;
        }
        return new (std::nothrow) CairoContext(dc);
    }
    void deleteContext(DrawingContext* context) override { delete context; }

    SurfaceBrush* createSolidBrush(Argb colour) override {
        return reinterpret_cast<SurfaceBrush*>(new (std::nothrow) CairoBrush{toRgba(colour)});
    }
    void deleteBrush(SurfaceBrush* brush) override { delete reinterpret_cast<CairoBrush*>(brush); }
    SurfacePen* createPen(Argb colour, float width) override {
        return reinterpret_cast<SurfacePen*>(new (std::nothrow) CairoPen{toRgba(colour), width});
    }
    void deletePen(SurfacePen* pen) override { delete reinterpret_cast<CairoPen*>(pen); }
    SurfaceStringFormat* createCentredStringFormat() override {
        return reinterpret_cast<SurfaceStringFormat*>(new (std::nothrow) CairoFormat{true});
    }
    void deleteStringFormat(SurfaceStringFormat* format) override {
        delete reinterpret_cast<CairoFormat*>(format);
    }

    SurfaceFont* createFont(const wchar_t* family, float emSize) override {
        if (!std::isfinite(emSize) || emSize <= 0.0f) {
            return nullptr;
        }
        CairoFont* font = new (std::nothrow) CairoFont{};
        if (font == nullptr) {
            return nullptr;
        }
        font->pixelSize = emSize * kPixelsPerPoint;
        char name[kFamilyBytes];
        toUtf8(family, name, sizeof name);
#if defined(CS_HAVE_PANGO)
        font->description = pango_font_description_new();
        // The generic family follows, so fontconfig falls back to a
        // sans-serif face when the named one is not installed.
        char families[kFamilyBytes + 16];
        size_t pos = 0;
        for (const char* p = name; *p != '\0' && pos + 1 < kFamilyBytes; ++p) {
            // A comma would start another family name.
            families[pos++] = *p == ',' ? ' ' : *p;
        }
        const char fallback[] = ",sans-serif";
        for (const char* p = pos == 0 ? fallback + 1 : fallback; *p != '\0'; ++p) {
            families[pos++] = *p;
        }
        families[pos] = '\0';
        pango_font_description_set_family(font->description, families);
        pango_font_description_set_style(font->description, PANGO_STYLE_NORMAL);
        pango_font_description_set_weight(font->description, PANGO_WEIGHT_NORMAL);
        pango_font_description_set_absolute_size(font->description, font->pixelSize * PANGO_SCALE);
#else
        for (size_t i = 0; i < kFamilyBytes; ++i) {
            font->family[i] = name[i];
            if (name[i] == '\0') {
                break;
            }
        }
        if (font->family[0] == '\0') {
            const char fallback[] = "sans-serif";
            for (size_t i = 0; i < sizeof fallback; ++i) {
                font->family[i] = fallback[i];
            }
        }
#endif
        return reinterpret_cast<SurfaceFont*>(font);
    }
    void deleteFont(SurfaceFont* surfaceFont) override {
        CairoFont* font = reinterpret_cast<CairoFont*>(surfaceFont);
        if (font == nullptr) {
            return;
        }
#if defined(CS_HAVE_PANGO)
        pango_font_description_free(font->description);
#endif
        delete font;
    }
};

constinit CairoBackend cairoBackend;

}  // namespace

DrawingBackend& platformDrawingBackend() {
    return cairoBackend;
}

}  // namespace cs
