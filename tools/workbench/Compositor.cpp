#include "tools/workbench/Compositor.h"

#include <cairo/cairo.h>

#include <cmath>
#include <filesystem>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#endif
#include <stb/stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

#include <fstream>
#include <iterator>

namespace cs::workbench {

namespace {

constexpr int kMaxImageSide = 4096;

void setColour(cairo_t* cr, uint32_t rgb) {
    cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                         (rgb & 0xFF) / 255.0);
}

// RGBA pixels to a premultiplied Cairo surface; pure black becomes transparent.
cairo_surface_t* surfaceFromRgba(const unsigned char* rgba, int w, int h) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < h; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<long>(y) * stride);
        for (int x = 0; x < w; ++x) {
            const unsigned char* p = rgba + (static_cast<long>(y) * w + x) * 4;
            uint32_t a = p[3];
            if (p[0] == 0 && p[1] == 0 && p[2] == 0) {
                a = 0;
            }
            row[x] =
                (a << 24) | ((p[0] * a / 255) << 16) | ((p[1] * a / 255) << 8) | (p[2] * a / 255);
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

}  // namespace

GaugeImages::~GaugeImages() {
    for (auto& [name, surface] : surfaces_) {
        cairo_surface_destroy(surface);
    }
}

bool GaugeImages::loadOne(const gauge::GaugeFile& gauge, const std::string& name, int line,
                          gauge::Diagnostics& d) {
    if (name.empty() || surfaces_.count(name) != 0) {
        return true;
    }
    const gauge::Origin at{gauge.file, line, "Image"};
    const std::filesystem::path path = std::filesystem::path(gauge.folder) / name;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        d.error(at, "Name=\"" + name + "\": no such file in the gauge's folder " + gauge.folder);
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int w = 0, h = 0, channels = 0;
    unsigned char* rgba = nullptr;
    if (bytes.size() < (64u << 20) &&
        stbi_info_from_memory(reinterpret_cast<const unsigned char*>(bytes.data()),
                              static_cast<int>(bytes.size()), &w, &h, &channels) &&
        w > 0 && h > 0 && w <= kMaxImageSide && h <= kMaxImageSide) {
        rgba = stbi_load_from_memory(reinterpret_cast<const unsigned char*>(bytes.data()),
                                     static_cast<int>(bytes.size()), &w, &h, &channels, 4);
    }
    if (rgba == nullptr) {
        d.error(at, "Name=\"" + name + "\": not a BMP or PNG image of at most 4096 x 4096");
        return false;
    }
    cairo_surface_t* s = surfaceFromRgba(rgba, w, h);
    stbi_image_free(rgba);
    if (s == nullptr) {
        d.error(at, "Name=\"" + name + "\": no memory for the image");
        return false;
    }
    surfaces_[name] = s;
    return true;
}

bool GaugeImages::load(const gauge::GaugeFile& gauge, gauge::Diagnostics& d) {
    bool ok = loadOne(gauge, gauge.background, gauge.backgroundLine, d);
    std::vector<const gauge::Node*> stack;
    for (const gauge::Node& n : gauge.elements) {
        stack.push_back(&n);
    }
    while (!stack.empty()) {
        const gauge::Node* n = stack.back();
        stack.pop_back();
        if (n->kind == gauge::NodeKind::Image) {
            ok = loadOne(gauge, n->image, n->line, d) && ok;
        }
        for (const gauge::Node& c : n->children) {
            stack.push_back(&c);
        }
    }
    return ok;
}

cairo_surface_t* GaugeImages::find(const std::string& name) const {
    auto it = surfaces_.find(name);
    return it == surfaces_.end() ? nullptr : it->second;
}

Compositor::Compositor(int width, int height) {
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cr_ = cairo_create(surface_);
}

Compositor::~Compositor() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

bool Compositor::valid() const {
    return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS &&
           cairo_status(cr_) == CAIRO_STATUS_SUCCESS;
}

void Compositor::clear() {
    cairo_save(cr_);
    cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgb(cr_, 0, 0, 0);
    cairo_paint(cr_);
    cairo_restore(cr_);
}

void Compositor::draw(const GaugeRuntime& gauge, const GaugeImages& images) {
    const Placement& p = gauge.placement();
    const gauge::GaugeFile& file = gauge.file();
    cairo_save(cr_);
    cairo_translate(cr_, p.x, p.y);
    cairo_scale(cr_, gauge.scaleX(), gauge.scaleY());
    cairo_rectangle(cr_, 0, 0, file.width, file.height);
    cairo_clip(cr_);
    if (cairo_surface_t* background = images.find(file.background)) {
        cairo_set_source_surface(cr_, background, 0, 0);
        cairo_paint(cr_);
    }
    for (const gauge::Node& n : file.elements) {
        drawNode(gauge, images, n);
    }
    cairo_restore(cr_);
}

void Compositor::drawNode(const GaugeRuntime& gauge, const GaugeImages& images,
                          const gauge::Node& node) {
    const NodeState& st = gauge.states()[static_cast<size_t>(node.id)];
    if (!st.visible) {
        return;
    }
    cairo_save(cr_);
    switch (node.kind) {
        case gauge::NodeKind::Element:
            cairo_translate(cr_, node.x, node.y);
            break;
        case gauge::NodeKind::Rectangle:
            cairo_rectangle(cr_, 0, 0, node.width, node.height);
            if (node.rectangle.fill.set) {
                setColour(cr_, node.rectangle.fill.rgb);
                cairo_fill_preserve(cr_);
            }
            if (node.rectangle.line.set) {
                setColour(cr_, node.rectangle.line.rgb);
                cairo_set_line_width(cr_, node.rectangle.lineWidth);
                cairo_stroke_preserve(cr_);
            }
            cairo_new_path(cr_);
            break;
        case gauge::NodeKind::Image:
            if (cairo_surface_t* s = images.find(node.image)) {
                cairo_set_source_surface(cr_, s, 0, 0);
                cairo_paint(cr_);
            }
            break;
        case gauge::NodeKind::Text:
            drawText(node, st.text);
            break;
        case gauge::NodeKind::CustomDraw:
            if (const sim::Canvas* canvas = gauge.displayCanvas(node.id)) {
                const sim::Image pixels = canvas->snapshot();
                cairo_surface_t* s =
                    cairo_image_surface_create(CAIRO_FORMAT_RGB24, pixels.width, pixels.height);
                cairo_surface_flush(s);
                unsigned char* data = cairo_image_surface_get_data(s);
                const int stride = cairo_image_surface_get_stride(s);
                for (int y = 0; data != nullptr && y < pixels.height; ++y) {
                    uint32_t* row =
                        reinterpret_cast<uint32_t*>(data + static_cast<long>(y) * stride);
                    for (int x = 0; x < pixels.width; ++x) {
                        const uint8_t* q =
                            &pixels.rgba[(static_cast<size_t>(y) * pixels.width + x) * 4];
                        row[x] = (uint32_t{q[0]} << 16) | (uint32_t{q[1]} << 8) | q[2];
                    }
                }
                cairo_surface_mark_dirty(s);
                cairo_scale(cr_, 1.0 / gauge.scaleX(), 1.0 / gauge.scaleY());
                cairo_set_source_surface(cr_, s, 0, 0);
                cairo_paint(cr_);
                cairo_surface_destroy(s);
            }
            break;
        default:
            break;
    }
    for (const gauge::Node& c : node.children) {
        drawNode(gauge, images, c);
    }
    cairo_restore(cr_);
}

void Compositor::drawText(const gauge::Node& node, const std::string& text) {
    const double w = node.width, h = node.height;
    cairo_rectangle(cr_, 0, 0, w, h);
    if (node.text.background.set) {
        setColour(cr_, node.text.background.rgb);
        cairo_fill_preserve(cr_);
    }
    cairo_clip(cr_);
    if (text.empty() || h <= 0) {
        return;
    }
    cairo_select_font_face(cr_, node.text.font.c_str(), CAIRO_FONT_SLANT_NORMAL,
                           CAIRO_FONT_WEIGHT_NORMAL);
    // The box's height is the line's height (ascent plus descent).
    cairo_set_font_size(cr_, h / 1.15);
    cairo_font_extents_t font;
    cairo_font_extents(cr_, &font);
    cairo_text_extents_t extents;
    cairo_text_extents(cr_, text.c_str(), &extents);
    double x = 0.0;
    if (node.text.adjust == gauge::Adjust::Center) {
        x = (w - extents.x_advance) / 2.0;
    } else if (node.text.adjust == gauge::Adjust::End) {
        x = w - extents.x_advance;
    }
    const double lineHeight = font.ascent + font.descent;
    double top = 0.0;
    if (node.text.verticalAdjust == gauge::Adjust::Center) {
        top = (h - lineHeight) / 2.0;
    } else if (node.text.verticalAdjust == gauge::Adjust::End) {
        top = h - lineHeight;
    }
    setColour(cr_, node.text.colour.rgb);
    cairo_move_to(cr_, x, top + font.ascent);
    cairo_show_text(cr_, text.c_str());
}

sim::Image Compositor::image() const {
    cairo_surface_flush(surface_);
    return sim::imageFromBgra(
        cairo_image_surface_get_data(surface_), cairo_image_surface_get_width(surface_),
        cairo_image_surface_get_height(surface_), cairo_image_surface_get_stride(surface_), true);
}

}  // namespace cs::workbench
