#include "tools/workbench/ElementScope.h"

#include <algorithm>
#include <cmath>

#include "tools/workbench/GaugeImage.h"

namespace cs::workbench {

namespace {

// Below this a transform's cross terms are rounding, not a turn.
constexpr double kUpright = 1e-9;

}  // namespace

Affine rotation(double radians) {
    const double c = std::cos(radians), s = std::sin(radians);
    return Affine{c, s, -s, c, 0.0, 0.0};
}

bool turns(const Affine& t) {
    return std::fabs(t.xy) > kUpright || std::fabs(t.yx) > kUpright;
}

Affine upright(const Affine& t) {
    return Affine{std::hypot(t.xx, t.yx), 0.0, 0.0, std::hypot(t.xy, t.yy), t.dx, t.dy};
}

void clipToBox(ElementScope& scope, const Affine& t, double width, double height, int line) {
    if (turns(t)) {
        scope.masks.push_back(ClipMask{t, width, height, nullptr, line});
        return;
    }
    const double x0 = t.mapX(0, 0), y0 = t.mapY(0, 0);
    const double x1 = t.mapX(width, height), y1 = t.mapY(width, height);
    scope.clip = scope.clip.intersect(
        PixelRect{std::min(x0, x1), std::min(y0, y1), std::fabs(x1 - x0), std::fabs(y1 - y0)});
}

ElementScope elementScope(const gauge::Node& element, const Pose& pose, const ElementScope& outer,
                          const Affine& gauge, const GaugeImage* mask) {
    ElementScope scope = outer;
    const Affine placed = outer.transform.after(Affine::translation(element.x, element.y));
    if (element.clip.present) {
        const gauge::ClipPart& c = element.clip;
        const Affine from = c.relative ? placed : gauge;
        clipToBox(scope, from.after(Affine::translation(c.left, c.top)), c.width, c.height, c.line);
    }
    scope.pivotX = scope.pivotY = 0.0;
    if (element.mask.present) {
        scope.pivotX = element.mask.axisX;
        scope.pivotY = element.mask.axisY;
        if (mask != nullptr) {
            scope.masks.push_back(ClipMask{placed, static_cast<double>(mask->width),
                                           static_cast<double>(mask->height), mask,
                                           element.mask.line});
        }
    }
    Affine motion;
    if (element.rotate.present) {
        motion = rotation(pose.angle - element.rotate.pointsTo);
    }
    if (element.shift.present) {
        motion = motion.after(Affine::translation(pose.shiftX, pose.shiftY));
    }
    scope.transform = placed.after(Affine::translation(scope.pivotX, scope.pivotY))
                          .after(motion)
                          .after(Affine::translation(-scope.pivotX, -scope.pivotY));
    return scope;
}

}  // namespace cs::workbench
