// The Linux replayer: Cairo, into the canvas's ARGB32 image surface.
#include <cairo/cairo.h>

#include <map>

#include "simhost/Canvas.h"
#include "tools/workbench/GaugeImage.h"
#include "tools/workbench/MaskRuns.h"
#include "tools/workbench/Replayer.h"
#include "tools/workbench/backends/Undrawn.h"

namespace cs::workbench {

namespace {

void setColour(cairo_t* cr, uint32_t rgb) {
    cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                         (rgb & 0xFF) / 255.0);
}

void setTransform(cairo_t* cr, const Affine& t) {
    cairo_matrix_t m;
    cairo_matrix_init(&m, t.xx, t.yx, t.xy, t.yy, t.dx, t.dy);
    cairo_set_matrix(cr, &m);
}

// Pixels of `width` x `height` words 0xAARRGGBB, premultiplied, drawn without
// a copy into the command's box.
void paintPixels(cairo_t* cr, const DrawCommand& c, const uint8_t* pixels, int width, int height,
                 int stride, cairo_format_t format) {
    cairo_surface_t* s = cairo_image_surface_create_for_data(const_cast<uint8_t*>(pixels), format,
                                                             width, height, stride);
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS && width > 0 && height > 0) {
        cairo_scale(cr, c.width / width, c.height / height);
        cairo_set_source_surface(cr, s, 0, 0);
        cairo_paint(cr);
    }
    cairo_surface_destroy(s);
}

void text(cairo_t* cr, const DrawCommand& c) {
    const double w = c.width, h = c.height;
    if (c.style.background.set) {
        cairo_rectangle(cr, 0, 0, w, h);
        setColour(cr, c.style.background.rgb);
        cairo_fill(cr);
    }
    if (c.text.empty() || h <= 0) {
        return;
    }
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_clip(cr);
    cairo_select_font_face(cr, c.style.font.c_str(), CAIRO_FONT_SLANT_NORMAL,
                           CAIRO_FONT_WEIGHT_NORMAL);
    // The box's height is the line's height (ascent plus descent).
    cairo_set_font_size(cr, h / 1.15);
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, c.text.c_str(), &extents);
    double x = 0.0;
    if (c.style.adjust == gauge::Adjust::Center) {
        x = (w - extents.x_advance) / 2.0;
    } else if (c.style.adjust == gauge::Adjust::End) {
        x = w - extents.x_advance;
    }
    const double lineHeight = font.ascent + font.descent;
    double top = 0.0;
    if (c.style.verticalAdjust == gauge::Adjust::Center) {
        top = (h - lineHeight) / 2.0;
    } else if (c.style.verticalAdjust == gauge::Adjust::End) {
        top = h - lineHeight;
    }
    setColour(cr, c.style.colour.rgb);
    cairo_move_to(cr, x, top + font.ascent);
    cairo_show_text(cr, c.text.c_str());
}

// The current path filled and outlined as the style says; `fill` false for
// an open path.
void paintPath(cairo_t* cr, const gauge::RectangleStyle& style, bool fill) {
    if (fill && style.fill.set) {
        setColour(cr, style.fill.rgb);
        cairo_fill_preserve(cr);
    }
    if (style.line.set) {
        setColour(cr, style.line.rgb);
        cairo_set_line_width(cr, style.lineWidth);
        cairo_stroke_preserve(cr);
    }
    cairo_new_path(cr);
}

void ellipse(cairo_t* cr, const DrawCommand& c) {
    if (c.width <= 0 || c.height <= 0) {
        return;
    }
    cairo_save(cr);
    cairo_translate(cr, c.width / 2.0, c.height / 2.0);
    cairo_scale(cr, c.width / 2.0, c.height / 2.0);
    cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * 3.14159265358979323846);
    cairo_restore(cr);  // the path stays; the outline's width is the element's units
    paintPath(cr, c.rectangle, true);
}

void path(cairo_t* cr, const DrawCommand& c) {
    cairo_move_to(cr, c.points[0].x, c.points[0].y);
    for (size_t i = 1; i < c.points.size(); ++i) {
        cairo_line_to(cr, c.points[i].x, c.points[i].y);
    }
    if (c.closed) {
        cairo_close_path(cr);
    }
    paintPath(cr, c.rectangle, c.closed);
}

void draw(cairo_t* cr, const DrawCommand& c) {
    switch (c.op) {
        case DrawOp::Rectangle:
            cairo_rectangle(cr, 0, 0, c.width, c.height);
            paintPath(cr, c.rectangle, true);
            break;
        case DrawOp::Ellipse:
            ellipse(cr, c);
            break;
        case DrawOp::Path:
            if (!c.points.empty()) {
                path(cr, c);
            }
            break;
        case DrawOp::Image:
            paintPixels(cr, c, reinterpret_cast<const uint8_t*>(c.image->argb.data()),
                        c.image->width, c.image->height, c.image->width * 4, CAIRO_FORMAT_ARGB32);
            break;
        case DrawOp::Canvas:
            paintPixels(cr, c, c.canvas->pixels(), c.canvas->width(), c.canvas->height(),
                        static_cast<int>(c.canvas->stride()), CAIRO_FORMAT_RGB24);
            break;
        case DrawOp::Text:
            text(cr, c);
            break;
    }
}

class CairoReplayer final : public Replayer {
  public:
    void replay(const DrawList& list, sim::Canvas& canvas) override {
        canvas.clear(0xFF000000u);
        runs_.clear();  // the list's bitmaps live only as long as its run
        cairo_t* cr = cairo_create(static_cast<cairo_surface_t*>(canvas.dc()));
        for (const DrawCommand& c : list.commands) {
            if (c.clip.empty()) {
                continue;
            }
            cairo_save(cr);
            cairo_rectangle(cr, c.clip.x, c.clip.y, c.clip.width, c.clip.height);
            cairo_clip(cr);
            for (const ClipMask& m : c.masks) {
                clip(cr, m);
            }
            setTransform(cr, c.transform);
            draw(cr, c);
            cairo_restore(cr);
        }
        cairo_destroy(cr);
    }
    const std::vector<std::string>& undrawn() const override { return undrawnElements(); }

  private:
    // Narrows the clip to a turned box or a mask's opaque pixels.
    void clip(cairo_t* cr, const ClipMask& m) {
        setTransform(cr, m.transform);
        if (m.image == nullptr) {
            cairo_rectangle(cr, 0, 0, m.width, m.height);
        } else {
            auto it = runs_.find(m.image);
            if (it == runs_.end()) {
                it = runs_.emplace(m.image, opaqueRuns(*m.image)).first;
            }
            for (const PixelRect& r : it->second) {
                cairo_rectangle(cr, r.x, r.y, r.width, r.height);
            }
        }
        cairo_clip(cr);  // an empty path clips everything away
        cairo_identity_matrix(cr);
    }

    std::map<const GaugeImage*, std::vector<PixelRect>> runs_;
};

}  // namespace

std::unique_ptr<Replayer> makePlatformReplayer() {
    return std::make_unique<CairoReplayer>();
}

}  // namespace cs::workbench
