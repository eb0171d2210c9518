#include "tools/workbench/Compositor.h"

#include <algorithm>

namespace cs::workbench {

Affine Affine::after(const Affine& inner) const {
    return Affine{xx * inner.xx + xy * inner.yx,      yx * inner.xx + yy * inner.yx,
                  xx * inner.xy + xy * inner.yy,      yx * inner.xy + yy * inner.yy,
                  xx * inner.dx + xy * inner.dy + dx, yx * inner.dx + yy * inner.dy + dy};
}

PixelRect PixelRect::intersect(const PixelRect& o) const {
    const double left = std::max(x, o.x), top = std::max(y, o.y);
    const double right = std::min(x + width, o.x + o.width);
    const double bottom = std::min(y + height, o.y + o.height);
    return PixelRect{left, top, std::max(right - left, 0.0), std::max(bottom - top, 0.0)};
}

namespace {

// The box of an element's own units under `t`, in picture pixels (the
// transforms so far only translate and scale).
PixelRect boxOf(const Affine& t, double width, double height) {
    const double x0 = t.mapX(0, 0), y0 = t.mapY(0, 0);
    const double x1 = t.mapX(width, height), y1 = t.mapY(width, height);
    return PixelRect{std::min(x0, x1), std::min(y0, y1), std::abs(x1 - x0), std::abs(y1 - y0)};
}

struct Walk {
    DrawList& list;
    const GaugeRuntime& gauge;
    const GaugeImages& images;

    DrawCommand command(DrawOp op, const gauge::Node& node, const Affine& t,
                        const PixelRect& clip) const {
        DrawCommand c;
        c.op = op;
        c.line = node.line;
        c.transform = t;
        c.clip = clip;
        c.width = node.width;
        c.height = node.height;
        return c;
    }

    void node(const gauge::Node& node, Affine t, const PixelRect& clip) {
        const NodeState& st = gauge.states()[static_cast<size_t>(node.id)];
        if (!st.visible) {
            return;
        }
        switch (node.kind) {
            case gauge::NodeKind::Element:
                t = t.after(Affine::translation(node.x, node.y));
                break;
            case gauge::NodeKind::Rectangle: {
                DrawCommand c = command(DrawOp::Rectangle, node, t, clip);
                c.rectangle = node.rectangle;
                list.commands.push_back(std::move(c));
                break;
            }
            case gauge::NodeKind::Image:
                image(node.image, node.line, t, clip);
                break;
            case gauge::NodeKind::Text: {
                // The text box clips its text (and what the element nests).
                DrawCommand c = command(DrawOp::Text, node, t, clip);
                c.text = st.text;
                c.style = node.text;
                list.commands.push_back(std::move(c));
                break;
            }
            case gauge::NodeKind::CustomDraw:
                if (const sim::Canvas* canvas = gauge.displayCanvas(node.id)) {
                    // The module drew at the gauge's scale: one canvas pixel
                    // is one picture pixel.
                    DrawCommand c = command(DrawOp::Canvas, node, t, clip);
                    c.canvas = canvas;
                    list.commands.push_back(std::move(c));
                }
                break;
            default:
                break;
        }
        const PixelRect inner = node.kind == gauge::NodeKind::Text
                                    ? clip.intersect(boxOf(t, node.width, node.height))
                                    : clip;
        for (const gauge::Node& child : node.children) {
            this->node(child, t, inner);
        }
    }

    void image(const std::string& name, int line, const Affine& t, const PixelRect& clip) {
        const GaugeImage* bitmap = images.find(name);
        if (bitmap == nullptr) {
            return;
        }
        DrawCommand c;
        c.op = DrawOp::Image;
        c.line = line;
        c.transform = t;
        c.clip = clip;
        c.width = bitmap->width;
        c.height = bitmap->height;
        c.image = bitmap;
        list.commands.push_back(std::move(c));
    }
};

}  // namespace

void beginPicture(DrawList& list, int width, int height) {
    list.width = width;
    list.height = height;
    list.commands.clear();
}

void composeGauge(DrawList& list, const GaugeRuntime& gauge, const GaugeImages& images) {
    const Placement& p = gauge.placement();
    const gauge::GaugeFile& file = gauge.file();
    const Affine t =
        Affine::translation(p.x, p.y).after(Affine::scaling(gauge.scaleX(), gauge.scaleY()));
    const PixelRect clip =
        PixelRect{0, 0, static_cast<double>(list.width), static_cast<double>(list.height)}
            .intersect(boxOf(t, file.width, file.height));
    Walk walk{list, gauge, images};
    walk.image(file.background, file.backgroundLine, t, clip);
    for (const gauge::Node& n : file.elements) {
        walk.node(n, t, clip);
    }
}

}  // namespace cs::workbench
