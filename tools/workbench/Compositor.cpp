#include "tools/workbench/Compositor.h"

#include <algorithm>

#include "tools/workbench/ElementScope.h"
#include "tools/workbench/GaugeRuntime.h"

namespace cs::workbench {

namespace {

struct Walk {
    DrawList& list;
    const GaugeRuntime& gauge;
    const GaugeImages& images;
    Affine gaugeTransform;

    DrawCommand command(DrawOp op, const gauge::Node& node, const Affine& t,
                        const ElementScope& scope) const {
        DrawCommand c;
        c.op = op;
        c.line = node.line;
        c.transform = t;
        c.clip = scope.clip;
        c.masks = scope.masks;
        c.width = node.width;
        c.height = node.height;
        c.rectangle = node.rectangle;
        return c;
    }

    void shape(const gauge::Node& node, const ElementScope& scope) {
        const bool ellipse = node.shape.kind == gauge::ShapeKind::Ellipse;
        DrawCommand c =
            command(ellipse ? DrawOp::Ellipse : DrawOp::Path, node, scope.transform, scope);
        for (const gauge::ShapePoint& p : node.shape.points) {
            c.points.push_back(PathPoint{p.x, p.y});
        }
        c.closed = node.shape.kind == gauge::ShapeKind::Polygon;
        if (ellipse || c.points.size() >= 2) {
            list.commands.push_back(std::move(c));
        }
    }

    void node(const gauge::Node& node, const ElementScope& outer) {
        const NodeState& st = gauge.states()[static_cast<size_t>(node.id)];
        if (!st.visible) {
            return;
        }
        ElementScope scope = outer;
        // A module's picture and a text are drawn upright under a turn (the
        // runtime warned about them).
        const Affine flat = turns(outer.transform) ? upright(outer.transform) : outer.transform;
        switch (node.kind) {
            case gauge::NodeKind::Element:
                scope =
                    elementScope(node, Pose{st.angle, st.shiftX, st.shiftY}, outer, gaugeTransform,
                                 node.mask.present ? images.find(node.mask.image) : nullptr);
                break;
            case gauge::NodeKind::Rectangle:
                list.commands.push_back(command(DrawOp::Rectangle, node, outer.transform, outer));
                break;
            case gauge::NodeKind::Shape:
                shape(node, outer);
                break;
            case gauge::NodeKind::Image:
                image(node.image, node.line,
                      outer.transform.after(Affine::translation(outer.pivotX - node.axisX,
                                                                outer.pivotY - node.axisY)),
                      outer);
                break;
            case gauge::NodeKind::Text: {
                DrawCommand c = command(DrawOp::Text, node, flat, outer);
                c.text = st.text;
                c.style = node.text;
                list.commands.push_back(std::move(c));
                // The text box clips its text (and what the element nests).
                clipToBox(scope, flat, node.width, node.height, node.line);
                break;
            }
            case gauge::NodeKind::CustomDraw:
                if (const sim::Canvas* canvas = gauge.displayCanvas(node.id)) {
                    // The module drew at the gauge's scale: one canvas pixel
                    // is one picture pixel.
                    DrawCommand c = command(DrawOp::Canvas, node, flat, outer);
                    c.canvas = canvas;
                    list.commands.push_back(std::move(c));
                }
                break;
            default:
                break;
        }
        for (const gauge::Node& child : node.children) {
            this->node(child, scope);
        }
    }

    void image(const std::string& name, int line, const Affine& t, const ElementScope& scope) {
        const GaugeImage* bitmap = images.find(name);
        if (bitmap == nullptr) {
            return;
        }
        DrawCommand c;
        c.op = DrawOp::Image;
        c.line = line;
        c.transform = t;
        c.clip = scope.clip;
        c.masks = scope.masks;
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
    ElementScope scope;
    scope.transform = t;
    scope.clip = PixelRect{0, 0, static_cast<double>(list.width), static_cast<double>(list.height)};
    clipToBox(scope, t, file.width, file.height, 0);
    Walk walk{list, gauge, images, t};
    walk.image(file.background, file.backgroundLine, t, scope);
    for (const gauge::Node& n : file.elements) {
        walk.node(n, scope);
    }
}

}  // namespace cs::workbench
