#include "tools/gauge/GaugeModel.h"

namespace cs::gauge {

namespace {

void collect(Node& node, std::vector<Script*>& out) {
    if (node.hasVisible) {
        out.push_back(&node.visible);
    }
    for (Motion* m : {&node.rotate, &node.shift}) {
        if (m->present) {
            out.push_back(&m->value);
        }
    }
    if (node.kind == NodeKind::Select) {
        out.push_back(&node.value);
    }
    if (node.kind == NodeKind::Text) {
        for (Script& s : node.string.scripts()) {
            out.push_back(&s);
        }
    }
    for (DrawParameter& p : node.parameters) {
        out.push_back(&p.script);
    }
    for (Node& c : node.children) {
        collect(c, out);
    }
}

void collect(Area& area, std::vector<Script*>& out) {
    for (Click& c : area.clicks) {
        out.push_back(&c.script);
    }
    if (area.hasTooltip) {
        for (Script& s : area.tooltip.scripts()) {
            out.push_back(&s);
        }
    }
    for (Area& c : area.children) {
        collect(c, out);
    }
}

}  // namespace

const Click* Area::clickFor(uint32_t wanted) const {
    for (const Click& c : clicks) {
        if (c.kinds & wanted) {
            return &c;
        }
    }
    return nullptr;
}

std::vector<Script*> allScripts(GaugeFile& gauge) {
    std::vector<Script*> out;
    if (gauge.hasUpdate) {
        out.push_back(&gauge.update);
    }
    for (Script& s : gauge.elementUpdates) {
        out.push_back(&s);
    }
    for (Node& n : gauge.elements) {
        collect(n, out);
    }
    for (Area& a : gauge.areas) {
        collect(a, out);
    }
    for (Script& s : gauge.notModelledScripts) {
        out.push_back(&s);
    }
    return out;
}

}  // namespace cs::gauge
