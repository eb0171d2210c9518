// Fuzzes the gauge language: the input read as a gauge file (FS9 or FSX
// schema), as a script, as a <String> text, as a click's Kind list and as a
// panel.cfg, and everything that reads evaluated twice against a host that
// accepts every variable and answers with what the scripts wrote (texts and
// numbers alike, NaN and infinities included); every click of every area is
// looked up for every mouse action.
//
// The elements' rotations and shifts are put through the workbench's
// arithmetic with the values their scripts give, and every element's scope
// (transform about its pivot, clips, masks) composed down the tree.
//
// Checks: every problem names the file and a line within the input, a Kind
// list gives only the actions there are, a turn keeps lengths, a delay
// never overshoots, and nothing crashes, loops for ever, reads out of bounds
// or overflows (ASan, UBSan).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "tools/gauge/GaugeReader.h"
#include "tools/gauge/MouseKinds.h"
#include "tools/gauge/PanelConfig.h"
#include "tools/workbench/ElementScope.h"
#include "tools/workbench/Motion.h"

namespace {

using namespace cs::gauge;
using cs::fuzz::check;

class AnyVariables final : public Environment {
  public:
    int32_t bind(const VarRef& ref, const Origin&, Diagnostics&) override {
        if (ref.kind == 'K') {
            return -1;  // as a host that has no such variable
        }
        values_.emplace_back();
        values_.back().number = static_cast<double>(values_.size()) * 0.5 - 3.0;
        return static_cast<int32_t>(values_.size() - 1);
    }
    void read(int32_t handle, Value& out) override { out = values_[static_cast<size_t>(handle)]; }
    void write(int32_t handle, const Value& value) override {
        values_[static_cast<size_t>(handle)] = value;
    }

  private:
    std::vector<Value> values_;
};

void evaluateStrings(Node& node, AnyVariables& env, Evaluator& e, Diagnostics& d) {
    if (node.kind == NodeKind::Text) {
        node.string.evaluate(env, e, &d);
    }
    for (Node& c : node.children) {
        evaluateStrings(c, env, e, d);
    }
}

void evaluateTooltips(Area& area, AnyVariables& env, Evaluator& e, Diagnostics& d) {
    if (area.hasTooltip) {
        area.tooltip.evaluate(env, e, &d);
    }
    for (const MouseKind& k : mouseKinds()) {
        if (const Click* c = area.clickFor(k.bits)) {
            check((c->kinds & k.bits) != 0, "a click found answers the action");
        }
    }
    for (Area& c : area.children) {
        evaluateTooltips(c, env, e, d);
    }
}

// One step of each motion of `node` to the value its script gives now, as
// the runtime takes it, and the scopes of everything it nests.
void move(const Node& node, const cs::workbench::ElementScope& outer, AnyVariables& env,
          Evaluator& e, Diagnostics& d) {
    namespace wb = cs::workbench;
    wb::ElementScope scope = outer;
    if (node.kind == NodeKind::Element) {
        wb::Pose pose;
        auto valueOf = [&](const Motion& m) {
            const double v = e.number(m.value, env, &d);
            return std::isfinite(v) ? v : 0.0;
        };
        if (node.rotate.present) {
            const double target =
                wb::rotationAngle(node.rotate, valueOf(node.rotate), node.x, node.y);
            check(std::isfinite(target), "a finite angle");
            const double step = std::fabs(node.rotate.rate) / 18.0;
            pose.angle = wb::follow(0.5, target, step);
            check(std::fabs(pose.angle - 0.5) <= step + 1e-9 || pose.angle == target,
                  "a delayed turn within its step");
        }
        if (node.shift.present) {
            const wb::Offset to = wb::shiftOffset(node.shift, valueOf(node.shift));
            const double step = std::fabs(node.shift.rate) / 18.0;
            const wb::Offset at = wb::follow(wb::Offset{}, to, step);
            check(std::hypot(at.x, at.y) <= step * (1 + 1e-9) + 1e-9 ||
                      (at.x == to.x && at.y == to.y),
                  "a delayed shift within its step");
            pose.shiftX = at.x;
            pose.shiftY = at.y;
        }
        // No bitmaps here: a mask clips nothing, its axis still moves the pivot.
        scope = wb::elementScope(node, pose, outer, outer.transform, nullptr);
        if (node.rotate.present && std::isfinite(pose.angle)) {
            const wb::Affine& t = scope.transform;
            const double length = std::hypot(t.xx, t.yx);
            const double outerLength = std::hypot(outer.transform.xx, outer.transform.yx);
            check(std::fabs(length - outerLength) <= 1e-6 * (1 + outerLength),
                  "a turn keeps lengths");
        }
    }
    for (const Node& c : node.children) {
        move(c, scope, env, e, d);
    }
}

// Lines as XML counts them: a line ends at LF, CRLF or a CR alone.
int xmlLines(std::string_view text) {
    int lines = 1;
    for (size_t i = 0; i < text.size(); ++i) {
        lines +=
            text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
    }
    return lines;
}

void checkLines(const Diagnostics& d, const std::string& file, std::string_view text) {
    const int lines = xmlLines(text);
    for (const Problem& p : d.problems()) {
        if (p.file == file) {
            check(p.line >= 0 && p.line <= lines + 1, "problem line within the input", p.line);
        }
    }
    check(d.problems().size() <= Diagnostics::kKept, "problems kept bounded");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Evaluator evaluator;
    {
        Diagnostics d;
        GaugeFile gauge;
        readGaugeText(text, "fuzz.xml", ".", gauge, d);
        AnyVariables env;
        for (Script* s : allScripts(gauge)) {
            bindScript(*s, env, d);
        }
        for (int round = 0; round < 2; ++round) {
            for (Script* s : allScripts(gauge)) {
                evaluator.evaluate(*s, env, &d);
            }
            for (Node& n : gauge.elements) {
                evaluateStrings(n, env, evaluator, d);
            }
            for (Area& a : gauge.areas) {
                evaluateTooltips(a, env, evaluator, d);
            }
            cs::workbench::ElementScope scope;
            scope.clip = cs::workbench::PixelRect{0, 0, 4096, 4096};
            for (const Node& n : gauge.elements) {
                move(n, scope, env, evaluator, d);
            }
        }
        checkLines(d, "fuzz.xml", text);
    }
    {
        Diagnostics d;
        AnyVariables env;
        const Origin origin{"fuzz.txt", 1, "Value"};
        Script script = compileScript(text, origin, d);
        bindScript(script, env, d);
        FormattedString string = FormattedString::parse(text, origin, d);
        for (Script& s : string.scripts()) {
            bindScript(s, env, d);
        }
        for (int round = 0; round < 2; ++round) {
            evaluator.evaluate(script, env, &d);
            string.evaluate(env, evaluator, &d);
        }
        checkLines(d, "fuzz.txt", text);
    }
    {
        uint32_t all = 0;
        for (const MouseKind& k : mouseKinds()) {
            all |= k.bits;
        }
        std::vector<std::string> unknown;
        const uint32_t bits = mouseKinds(std::string(text), unknown);
        check((bits & ~all) == 0, "a Kind list gives only known actions", static_cast<int>(bits));
    }
    {
        Diagnostics d;
        PanelWindow window;
        readPanelWindow(text, "fuzz.cfg", 9, window, d);
        checkLines(d, "fuzz.cfg", text);
    }
    return 0;
}
