// The runtime's moving parts: each element's rotation and shift evaluated
// where the other element scripts run, and the warning for the parts whose
// drawing under a rotation the workbench does not know.
#include <algorithm>
#include <cmath>

#include "tools/workbench/GaugeRuntime.h"
#include "tools/workbench/Motion.h"

namespace cs::workbench {

namespace {

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

}  // namespace

// What the simulator makes of a module's picture or a text inside a turning
// element is not established: such a part is drawn upright where its corner
// turns to, and the designer is told.
void GaugeRuntime::warnUnrotated(const gauge::Node& node, int rotation,
                                 gauge::Diagnostics& d) const {
    const bool draw = node.kind == gauge::NodeKind::CustomDraw;
    if (!draw && node.kind != gauge::NodeKind::Text) {
        return;
    }
    const char* what = draw ? "CustomDraw" : "Text";
    d.warn(gauge::Origin{file_.file, node.line, what},
           std::string("not rotated: this <") + what + "> is inside the rotation at line " +
               std::to_string(rotation) +
               "; the workbench draws it upright at the place its corner turns to");
}

void GaugeRuntime::move(const gauge::Node& node, NodeState& st, gauge::Diagnostics& d) {
    auto valueOf = [&](const gauge::Motion& m) {
        const double v = evaluator_.number(m.value, variables_, &d);
        return std::isfinite(v) ? v : 0.0;
    };
    // A delay follows the value at its rate from where the part was shown;
    // the first evaluation puts the part straight there.
    auto step = [&](const gauge::Motion& m, double unit) {
        return st.moved && m.rate > 0.0 ? m.rate * unit * std::max(step_, 0.0) : HUGE_VAL;
    };
    if (node.rotate.present) {
        const double pivotX = node.x + node.mask.axisX, pivotY = node.y + node.mask.axisY;
        const double target = rotationAngle(node.rotate, valueOf(node.rotate), pivotX, pivotY);
        st.angle = follow(st.angle, target, step(node.rotate, kRadiansPerDegree));
    }
    if (node.shift.present) {
        const Offset at =
            follow(Offset{st.shiftX, st.shiftY}, shiftOffset(node.shift, valueOf(node.shift)),
                   step(node.shift, 1.0));
        st.shiftX = at.x;
        st.shiftY = at.y;
    }
    st.moved = true;
}

}  // namespace cs::workbench
