#include "tools/workbench/GaugeRuntime.h"

#include <cmath>

#include "simhost/SimHost.h"
#include "tools/gauge/MouseKinds.h"

namespace cs::workbench {

namespace {

// The innermost area containing (x, y) with a click answering `kinds` (0:
// with a tool-tip); the coordinates relative to it go to (ax, ay).
const gauge::Area* areaAt(const std::vector<gauge::Area>& areas, double x, double y, uint32_t kinds,
                          double* ax, double* ay) {
    const gauge::Area* found = nullptr;
    for (const gauge::Area& a : areas) {
        const double rx = x - a.left, ry = y - a.top;
        if (rx < 0 || ry < 0 || rx >= a.width || ry >= a.height) {
            continue;
        }
        if (const gauge::Area* inner = areaAt(a.children, rx, ry, kinds, ax, ay)) {
            found = inner;
        } else if (kinds != 0 ? a.clickFor(kinds) != nullptr : a.hasTooltip) {
            found = &a;
            *ax = rx;
            *ay = ry;
        }
    }
    return found;
}

}  // namespace

GaugeRuntime::GaugeRuntime(gauge::GaugeFile& file, sim::SimHost& host, LocalVariables& locals,
                           const AircraftInputs& inputs, const preview::ModuleCatalogue& catalogue,
                           const Placement& placement)
    : file_(file),
      host_(host),
      catalogue_(catalogue),
      placement_(placement),
      variables_(host, locals, inputs, catalogue,
                 [this](const std::string& panel) { return callbacksFor(panel); }) {
    states_.resize(static_cast<size_t>(file.nodeCount));
}

GaugeRuntime::~GaugeRuntime() {
    displays_.clear();
    callbacks_.clear();  // each releases its drawables, then its gauge callback
}

IGaugeCCallback* GaugeRuntime::callbacksFor(const std::string& panel) {
    const std::string key = gauge::lowerAscii(panel);
    auto it = callbacks_.find(key);
    if (it == callbacks_.end()) {
        auto callbacks = std::make_unique<sim::GaugeHost>(host_);
        if (!callbacks->attach(panel)) {
            return nullptr;
        }
        it = callbacks_.emplace(key, std::move(callbacks)).first;
    }
    return it->second->gauge();
}

std::vector<PropertyAccess> GaugeRuntime::properties() {
    const std::vector<PropertyAccess> accessed = variables_.takeAccesses();
    std::vector<PropertyAccess> out;
    for (const std::string& panel : catalogue_.panelNames()) {
        auto it = callbacks_.find(gauge::lowerAscii(panel));
        if (it == callbacks_.end() || it->second->gauge() == nullptr) {
            continue;
        }
        for (const preview::PropertyValue& p : catalogue_.read(it->second->gauge())) {
            PropertyAccess a;
            a.name = panel + ":" + p.name;
            a.value = p.isText ? gauge::Value::ofText(p.text) : gauge::Value::of(p.number);
            for (const PropertyAccess& w : accessed) {
                a.written = a.written || (w.written && gauge::equalIgnoringCase(w.name, a.name));
            }
            out.push_back(std::move(a));
        }
    }
    return out;
}

bool GaugeRuntime::prepare(gauge::Diagnostics& d) {
    const size_t errors = d.errorCount();
    for (gauge::Node& n : file_.elements) {
        prepareNode(n, d, 0);
    }
    for (gauge::Script* s : gauge::allScripts(file_)) {
        gauge::bindScript(*s, variables_, d);
    }
    return d.errorCount() == errors;
}

void GaugeRuntime::prepareNode(gauge::Node& node, gauge::Diagnostics& d, int rotation) {
    if (node.kind == gauge::NodeKind::CustomDraw) {
        prepareDisplay(node, d);
    }
    if (node.kind == gauge::NodeKind::Text) {
        texts_.push_back(TextShown{node.id, node.line, -1.0, std::string()});
    }
    if (node.rotate.present && rotation == 0) {
        rotation = node.rotate.line;
    }
    if (rotation != 0) {
        warnUnrotated(node, rotation, d);
    }
    for (gauge::Node& c : node.children) {
        prepareNode(c, d, rotation);
    }
}

void GaugeRuntime::setProperty(int32_t id, double value) {
    for (auto& [name, callbacks] : callbacks_) {
        callbacks->gauge()->setNumberProperty(id, value);
    }
}

void GaugeRuntime::mouse(double x, double y, bool moved, gauge::Diagnostics& d) {
    mouseX_ = x;
    mouseY_ = y;
    if (!moved) {
        return;
    }
    double ax = 0.0, ay = 0.0;
    if (const gauge::Area* a = areaAt(file_.areas, x, y, gauge::kMouseMove, &ax, &ay)) {
        variables_.setMouse(ax, ay);
        evaluator_.evaluate(a->clickFor(gauge::kMouseMove)->script, variables_, &d);
    }
}

int GaugeRuntime::click(double x, double y, uint32_t kind, gauge::Diagnostics& d) {
    double ax = 0.0, ay = 0.0;
    const gauge::Area* a = areaAt(file_.areas, x, y, kind, &ax, &ay);
    if (a == nullptr) {
        return 0;
    }
    const gauge::Click* c = a->clickFor(kind);
    variables_.setMouse(ax, ay, gauge::mouseKindName(kind));
    evaluator_.evaluate(c->script, variables_, &d);
    variables_.setMouse(ax, ay);
    if (!c->event.empty()) {
        clickEvents_.push_back(SentEvent{host_.time(), c->event, 0.0});
    }
    return c->line;
}

std::vector<SentEvent> GaugeRuntime::takeEvents() {
    std::vector<SentEvent> out = std::move(clickEvents_);
    clickEvents_.clear();
    for (SentEvent& e : variables_.takeEvents()) {
        out.push_back(std::move(e));
    }
    return out;
}

void GaugeRuntime::runUpdates(bool always, gauge::Diagnostics& d) {
    if (ticks_++ % file_.updateEvery != 0 && !always) {
        return;
    }
    if (file_.hasUpdate) {
        evaluator_.evaluate(file_.update, variables_, &d);
    }
    for (const gauge::Script& s : file_.elementUpdates) {
        evaluator_.evaluate(s, variables_, &d);
    }
}

void GaugeRuntime::tick(bool update, double time, gauge::Diagnostics& d) {
    runUpdates(false, d);
    if (update) {
        for (Display& slot : displays_) {
            slot.display->update();
        }
    }
    for (Display& slot : displays_) {
        // A display inside a hidden element is not drawn (visibility of the
        // previous tick: the elements' scripts run after the draws).
        if (states_[static_cast<size_t>(slot.node->id)].visible) {
            setParameters(slot, d);
            slot.display->draw(slot.canvas->width(), slot.canvas->height(), slot.canvas->dc());
        }
    }
    elementsAndTooltip(time, d);
}

void GaugeRuntime::evaluateScripts(double time, gauge::Diagnostics& d, bool alwaysUpdate) {
    runUpdates(alwaysUpdate, d);
    for (Display& slot : displays_) {
        setParameters(slot, d);
    }
    elementsAndTooltip(time, d);
}

void GaugeRuntime::elementsAndTooltip(double time, gauge::Diagnostics& d) {
    step_ = time - lastTime_;
    lastTime_ = time;
    for (gauge::Node& n : file_.elements) {
        walk(n, true, time, d);
    }
    double ax = 0.0, ay = 0.0;
    const gauge::Area* a = areaAt(file_.areas, mouseX_, mouseY_, 0, &ax, &ay);
    tooltip_ = a != nullptr ? a->tooltip.evaluate(variables_, evaluator_, &d) : std::string();
}

void GaugeRuntime::walk(gauge::Node& node, bool visible, double time, gauge::Diagnostics& d) {
    NodeState& st = states_[static_cast<size_t>(node.id)];
    st.visible = visible;
    switch (node.kind) {
        case gauge::NodeKind::Element:
            if (visible && node.hasVisible) {
                st.visible = evaluator_.evaluate(node.visible, variables_, &d).truth();
            }
            if (st.visible) {
                move(node, st, d);
            }
            break;
        case gauge::NodeKind::Text:
            if (visible) {
                st.text = node.string.evaluate(variables_, evaluator_, &d);
                if (!st.text.empty()) {
                    for (TextShown& t : texts_) {
                        if (t.node == node.id && t.time < 0.0) {
                            t.time = time;
                            t.text = st.text;
                        }
                    }
                }
            }
            break;
        case gauge::NodeKind::Select:
            if (visible) {
                const double v = evaluator_.number(node.value, variables_, &d);
                st.selected = -1;
                for (size_t i = 0; i < node.children.size() && st.selected < 0; ++i) {
                    if (node.children[i].caseValue == v) {
                        st.selected = static_cast<int>(i);
                    }
                }
                for (size_t i = 0; i < node.children.size() && st.selected < 0; ++i) {
                    if (node.children[i].caseValue == std::trunc(v)) {
                        st.selected = static_cast<int>(i);
                    }
                }
            }
            for (size_t i = 0; i < node.children.size(); ++i) {
                walk(node.children[i], visible && static_cast<int>(i) == st.selected, time, d);
            }
            return;
        default:
            break;
    }
    for (gauge::Node& c : node.children) {
        walk(c, st.visible, time, d);
    }
}

}  // namespace cs::workbench
