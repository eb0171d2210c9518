// The runtime's displays: each <CustomDraw> made into a drawable of this
// gauge's own gauge callback, with a drawing area of its own and its
// parameter children matched to what the drawable declares; and the
// parameters evaluated into its draw-parameters object each tick.
#include "tools/workbench/GaugeRuntime.h"

#include <cmath>

#include "simhost/SimHost.h"

namespace cs::workbench {

void GaugeRuntime::prepareDisplay(gauge::Node& node, gauge::Diagnostics& d) {
    Display slot;
    slot.node = &node;
    if (!attachDisplay(slot, d) || !makeCanvas(slot, d)) {
        return;
    }
    sim::DrawParameterValues& values = slot.display->parameters();
    values.recordReads = false;
    values.setScale(scaleX(), scaleY());
    std::vector<std::string> declared;
    for (const sim::ParameterDeclaration& p : slot.display->declarations().declarations()) {
        declared.push_back(p.name);
    }
    for (gauge::DrawParameter& p : node.parameters) {
        prepareParameter(slot, p, declared, d);
    }
    displays_.push_back(std::move(slot));
}

// The node's display, created by its panel callback.
bool GaugeRuntime::attachDisplay(Display& slot, gauge::Diagnostics& d) {
    const gauge::Node& node = *slot.node;
    const gauge::Origin at{file_.file, node.line, "CustomDraw"};
    const std::string name = node.panel + ":" + node.display;
    if (callbacksFor(node.panel) == nullptr) {
        d.error(at, "Name=\"" + name + "\": no panel callback \"" + node.panel +
                        "\" is registered" +
                        gauge::didYouMean(node.panel, catalogue_.panelNames()));
        return false;
    }
    sim::GaugeHost& callbacks = *callbacks_[gauge::lowerAscii(node.panel)];
    slot.display = callbacks.addDisplay(node.display);
    if (slot.display == nullptr) {
        const std::string elsewhere = catalogue_.displayElsewhere(node.panel, node.display);
        d.error(at, "Name=\"" + name + "\": \"" + node.panel + "\" creates no display named \"" +
                        node.display + "\"" +
                        (elsewhere.empty() ? gauge::didYouMean(node.display, catalogue_.names())
                                           : elsewhere));
        return false;
    }
    return true;
}

// The display's drawing area, the node's size at the gauge's scale.
bool GaugeRuntime::makeCanvas(Display& slot, gauge::Diagnostics& d) {
    const gauge::Node& node = *slot.node;
    const int w = static_cast<int>(std::lround(node.width * scaleX()));
    const int h = static_cast<int>(std::lround(node.height * scaleY()));
    slot.canvas = std::make_unique<sim::Canvas>(std::max(w, 1), std::max(h, 1), 0xFF000000u);
    if (!slot.canvas->valid()) {
        d.error(gauge::Origin{file_.file, node.line, "CustomDraw"},
                "cannot make a drawing area of " + std::to_string(w) + " x " + std::to_string(h) +
                    " pixels");
        return false;
    }
    slot.canvas->clear(0xFF000000u);
    return true;
}

// One <CustomDraw> parameter against the display's declarations: a literal
// text or a constant is given once, a script is kept for every draw.
void GaugeRuntime::prepareParameter(Display& slot, gauge::DrawParameter& p,
                                    const std::vector<std::string>& declared,
                                    gauge::Diagnostics& d) {
    const std::string name = slot.node->panel + ":" + slot.node->display;
    sim::DrawParameterValues& values = slot.display->parameters();
    const gauge::Origin pat{file_.file, p.line, "CustomDraw/" + p.name};
    const sim::ParameterDeclaration* decl = slot.display->declarations().find(p.name);
    if (decl == nullptr) {
        d.error(pat, "\"" + name + "\" declares no parameter \"" + p.name + "\"" +
                         gauge::didYouMean(p.name, declared));
        return;
    }
    Parameter param;
    param.id = decl->id;
    param.type = decl->type;
    const bool scripted = !p.text.empty() && (p.text[0] == '(' || p.text[0] == '\'');
    if (decl->type == sim::kParameterTypeString && !scripted) {
        param.text = p.text;
    } else {
        if (!p.script.ok() || p.script.empty()) {
            // Compiled quietly by the reader; now the type says it is a script.
            p.script = gauge::compileScript(p.text, p.script.origin(), d);
            if (p.text.empty()) {
                d.error(pat, "no value");
            }
            if (!p.script.ok() || p.text.empty()) {
                return;
            }
        }
        param.script = &p.script;
        const std::vector<gauge::Instruction>& code = p.script.code();
        if (code.size() == 1 && code[0].op == gauge::Op::Number) {
            // A constant: given once, the draw-parameters object keeps it.
            if (decl->type == sim::kParameterTypeInteger) {
                values.setInteger(decl->id, sim::integerParameterFromReal(code[0].number));
            } else if (decl->type == sim::kParameterTypeReal) {
                values.setReal(decl->id, code[0].number);
            } else {
                values.setString(decl->id, gauge::Value::of(code[0].number).asText());
            }
            return;
        }
    }
    if (param.script == nullptr) {
        values.setString(param.id, param.text);  // a literal text, given once
        return;
    }
    slot.parameters.push_back(std::move(param));
}

void GaugeRuntime::setParameters(Display& slot, gauge::Diagnostics& d) {
    sim::DrawParameterValues& values = slot.display->parameters();
    for (const Parameter& p : slot.parameters) {
        const gauge::Value& v = evaluator_.evaluate(*p.script, variables_, &d);
        if (p.type == sim::kParameterTypeString) {
            values.setString(p.id, v.asText());
        } else if (p.type == sim::kParameterTypeInteger) {
            values.setInteger(p.id, sim::integerParameterFromReal(v.asNumber()));
        } else {
            values.setReal(p.id, v.asNumber());
        }
    }
}

const sim::Canvas* GaugeRuntime::displayCanvas(int node) const {
    for (const Display& slot : displays_) {
        if (slot.node->id == node) {
            return slot.canvas.get();
        }
    }
    return nullptr;
}

}  // namespace cs::workbench
