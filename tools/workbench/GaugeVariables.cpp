#include "tools/workbench/GaugeVariables.h"

#include <cmath>
#include <cstring>

#include "simhost/SimHost.h"
#include "tools/session/ModuleCatalogue.h"
#include "tools/workbench/Units.h"

namespace cs::workbench {

namespace {

// G:Var1 to G:Var9: nine numbers of each gauge's own.
int gaugeVariable(const std::string& name) {
    return name.size() == 4 && gauge::lowerAscii(name.substr(0, 3)) == "var" && name[3] >= '1' &&
                   name[3] <= '9'
               ? name[3] - '1'
               : -1;
}

}  // namespace

size_t LocalVariables::index(const std::string& name) {
    for (size_t i = 0; i < names.size(); ++i) {
        if (gauge::equalIgnoringCase(names[i], name)) {
            return i;
        }
    }
    names.push_back(name);
    values.push_back(0.0);
    return names.size() - 1;
}

GaugeVariables::GaugeVariables(sim::SimHost& host, LocalVariables& locals,
                               const AircraftInputs& inputs,
                               const preview::ModuleCatalogue& catalogue, CallbackSource callbacks)
    : host_(host),
      locals_(locals),
      inputs_(inputs),
      catalogue_(catalogue),
      callbacks_(std::move(callbacks)) {}

int32_t GaugeVariables::share(Binding binding) {
    for (size_t i = 0; i < bindings_.size(); ++i) {
        if (bindings_[i].key == binding.key) {
            return static_cast<int32_t>(i);
        }
    }
    bindings_.push_back(std::move(binding));
    return static_cast<int32_t>(bindings_.size() - 1);
}

int32_t GaugeVariables::bind(const gauge::VarRef& ref, const gauge::Origin& at,
                             gauge::Diagnostics& d) {
    const std::string shown = "(" + ref.text + ")";
    if (ref.kind == 'C') {
        return bindProperty(ref, at, d);
    }
    if (ref.kind == 'M') {
        const bool x = gauge::equalIgnoringCase(ref.name, "X");
        const bool y = gauge::equalIgnoringCase(ref.name, "Y");
        const bool event = gauge::equalIgnoringCase(ref.name, "Event");
        if (ref.write || !(x || y || event)) {
            d.error(at, shown + ": the mouse offers (M:X), (M:Y) and (M:Event), read only");
            return -1;
        }
        Binding b;
        b.kind = x ? Kind::MouseX : y ? Kind::MouseY : Kind::MouseEvent;
        b.key = "M:" + gauge::lowerAscii(ref.name);
        return share(b);
    }
    if (ref.kind == 'K') {
        return bindEvent(ref, at, d);
    }
    if (ref.kind == 'G' && gaugeVariable(ref.name) < 0) {
        d.error(at, shown + ": a gauge's own variables are (G:Var1) to (G:Var9)");
        return -1;
    }
    if (ref.kind != 'A' && ref.kind != 'E' && ref.kind != 'P' && ref.kind != 'L' &&
        ref.kind != 'G') {
        d.warn(at, shown + ": " + std::string(1, ref.kind) +
                       ": variables are not simulated by the workbench; reads 0, writes are "
                       "ignored");
        return -1;
    }
    // An L: variable keeps its value in a base unit, so a unit the workbench
    // cannot convert would read back wrong in any other: refused, as for A:.
    const Unit* unit = findUnit(ref.unit);
    if (unit == nullptr && ref.unit.empty() && (ref.kind == 'L' || ref.kind == 'G')) {
        if (ref.kind == 'L') {
            d.warn(at, shown + ": no unit; taken as a plain number");
        }
        unit = findUnit("number");
    }
    if (unit == nullptr) {
        const std::string problem =
            ref.unit.empty() ? "no unit" : "unknown unit \"" + ref.unit + "\"";
        d.error(at, shown + ": " + problem + gauge::didYouMean(ref.unit, unitNames()));
        return -1;
    }
    Binding b;
    b.unit = unit;
    b.key = std::string(1, ref.kind) + ":" + gauge::lowerAscii(ref.name) + "," + unit->name;
    if (ref.kind == 'L' || ref.kind == 'G') {
        b.kind = ref.kind == 'L' ? Kind::Local : Kind::Gauge;
        b.variable =
            ref.kind == 'L' ? static_cast<int>(locals_.index(ref.name)) : gaugeVariable(ref.name);
        return share(b);
    }
    if (ref.write) {
        d.error(at, shown + ": " + std::string(1, ref.kind) + ": variables cannot be written");
        return -1;
    }
    return bindInput(ref, *unit, std::move(b), at, d);
}

// An aircraft or clock variable: found, and its unit fits.
int32_t GaugeVariables::bindInput(const gauge::VarRef& ref, const Unit& unit, Binding b,
                                  const gauge::Origin& at, gauge::Diagnostics& d) {
    const std::string shown = "(" + ref.text + ")";
    if (!inputs_.find(ref.kind, ref.name, &b.source)) {
        d.warn(at, shown +
                       (ref.kind == 'A'
                            ? ": no scenario gives a value for this aircraft variable (see "
                              "\"aircraftVariables\"); reads 0"
                            : ": the workbench supplies SIMULATION TIME, ABSOLUTE TIME, LOCAL "
                              "TIME and ZULU TIME here; reads 0") +
                       gauge::didYouMean(ref.name, inputs_.names(ref.kind)));
        return -1;
    }
    b.kind = Kind::Input;
    const Dimension dimension = b.source.dimension;
    if (unit.dimension == Dimension::Plain && dimension != Dimension::Plain &&
        b.source.natural != nullptr) {
        b.unit = b.source.natural;
    }
    if (unit.dimension != Dimension::Plain && dimension != Dimension::Plain &&
        unit.dimension != dimension) {
        d.warn(at, shown + ": unit \"" + ref.unit + "\" does not fit " + ref.name + ", " +
                       dimensionName(dimension) + "; reads 0");
        return -1;
    }
    return share(b);
}

// (>K:EVENT): a key event the simulator would act on; logged, not simulated.
int32_t GaugeVariables::bindEvent(const gauge::VarRef& ref, const gauge::Origin& at,
                                  gauge::Diagnostics& d) {
    if (!ref.write) {
        d.warn(at, "(" + ref.text + "): key events are sent with (>K:...), not read; reads 0");
        return -1;
    }
    Binding b;
    b.kind = Kind::Event;
    b.name = ref.name;
    b.key = "K:" + ref.name;
    return share(b);
}

int32_t GaugeVariables::bindProperty(const gauge::VarRef& ref, const gauge::Origin& at,
                                     gauge::Diagnostics& d) {
    const std::string shown = "(" + ref.text + ")";
    IPanelCCallback* panel = catalogue_.panel(ref.panel);
    if (panel == nullptr) {
        d.error(at, shown + ": no panel callback \"" + ref.panel + "\" is registered" +
                        gauge::didYouMean(ref.panel, catalogue_.panelNames()));
        return -1;
    }
    const preview::PropertyInfo* p = catalogue_.find(panel, ref.name);
    if (p == nullptr) {
        d.error(at, shown + ": \"" + ref.panel + "\" has no property \"" + ref.name + "\"" +
                        gauge::didYouMean(ref.name, catalogue_.names()));
        return -1;
    }
    if (!p->readable) {
        d.error(at, shown + ": \"" + p->name + "\" names a display for <CustomDraw>, not a value");
        return -1;
    }
    if (ref.write && !p->writable) {
        d.error(at,
                shown + ": \"" + p->name + "\" is read-only" + (p->isText() ? " (a text)" : ""));
        return -1;
    }
    IGaugeCCallback* gauge = callbacks_(ref.panel);
    if (gauge == nullptr) {
        d.error(at, shown + ": the module gave no gauge callback for \"" + ref.panel + "\"");
        return -1;
    }
    Binding b;
    b.kind = Kind::Property;
    b.gauge = gauge;
    b.id = p->id;
    b.text = p->isText();
    b.name = ref.panel + ":" + p->name;
    b.key = "C:" + gauge::lowerAscii(b.name);
    return share(b);
}

void GaugeVariables::read(int32_t handle, gauge::Value& out) {
    Binding& b = bindings_[static_cast<size_t>(handle)];
    out.isText = false;
    switch (b.kind) {
        case Kind::Input:
            inputs_.read(b.source, host_, out);
            if (!out.isText) {
                out.number = b.unit->fromBase(out.number);
            }
            return;
        case Kind::Gauge:
            out.number = b.unit->fromBase(own_[static_cast<size_t>(b.variable)]);
            return;
        case Kind::Event:
            out.number = 0.0;
            return;
        case Kind::Local:
            out.number = b.unit->fromBase(locals_.values[static_cast<size_t>(b.variable)]);
            return;
        case Kind::MouseX:
            out.number = mouseX_;
            return;
        case Kind::MouseY:
            out.number = mouseY_;
            return;
        case Kind::MouseEvent:
            out.isText = true;
            out.text = mouseEvent_;
            return;
        case Kind::Property:
            if (b.text) {
                const char* t = nullptr;
                if (!b.gauge->getTextProperty(b.id, &t) || t == nullptr) {
                    t = "";
                }
                // Converted only when the module's text changed.
                const size_t length = strnlen(t, preview::kMaxModuleText + 1);
                if (!b.last.isText || b.raw.compare(0, std::string::npos, t, length) != 0) {
                    b.raw.assign(t, length);
                    b.last = gauge::Value::ofText(preview::utf8FromModuleText(t));
                }
                out.isText = true;
                out.text = b.last.text;
            } else {
                double v = 0.0;
                out.number = b.gauge->getNumberProperty(b.id, &v) ? v : 0.0;
                b.last.isText = false;
                b.last.number = out.number;
            }
            b.touched = true;
            return;
    }
}

void GaugeVariables::write(int32_t handle, const gauge::Value& value) {
    Binding& b = bindings_[static_cast<size_t>(handle)];
    if (b.kind == Kind::Local) {
        locals_.values[static_cast<size_t>(b.variable)] = b.unit->toBase(value.asNumber());
    } else if (b.kind == Kind::Gauge) {
        own_[static_cast<size_t>(b.variable)] = b.unit->toBase(value.asNumber());
    } else if (b.kind == Kind::Event) {
        events_.push_back(SentEvent{host_.time(), b.name, value.asNumber()});
    } else if (b.kind == Kind::Property) {
        b.gauge->setNumberProperty(b.id, value.asNumber());
        b.last = gauge::Value::of(value.asNumber());
        b.touched = true;
        b.written = true;
    }
}

std::vector<SentEvent> GaugeVariables::takeEvents() {
    std::vector<SentEvent> out;
    out.swap(events_);
    return out;
}

std::vector<PropertyAccess> GaugeVariables::takeAccesses() {
    std::vector<PropertyAccess> out;
    for (Binding& b : bindings_) {
        if (b.kind == Kind::Property && b.touched) {
            out.push_back(PropertyAccess{b.name, b.last, b.written});
            b.touched = false;
            b.written = false;
        }
    }
    return out;
}

}  // namespace cs::workbench
