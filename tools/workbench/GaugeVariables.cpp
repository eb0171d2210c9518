#include "tools/workbench/GaugeVariables.h"

#include <cmath>
#include <cstring>

#include "simhost/SimHost.h"
#include "tools/session/ModuleCatalogue.h"
#include "tools/workbench/Units.h"

namespace cs::workbench {

namespace {

enum AircraftVariable {
    Altitude,
    Indicated,
    AboveGround,
    Heading,
    VerticalSpeed,
    GroundSpeed,
    OnGround
};

struct AircraftInfo {
    const char* name;
    Dimension dimension;
    const char* natural;  // what "number" gives
};

constexpr AircraftInfo kAircraft[] = {
    {"PLANE ALTITUDE", Dimension::Length, "feet"},
    {"INDICATED ALTITUDE", Dimension::Length, "feet"},
    {"PLANE ALT ABOVE GROUND", Dimension::Length, "feet"},
    {"PLANE HEADING DEGREES TRUE", Dimension::Angle, "degrees"},
    {"VERTICAL SPEED", Dimension::Speed, "feet per minute"},
    {"GROUND VELOCITY", Dimension::Speed, "knots"},
    {"SIM ON GROUND", Dimension::Plain, "bool"},
};

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

std::vector<std::string> GaugeVariables::aircraftVariables() {
    std::vector<std::string> v;
    for (const AircraftInfo& a : kAircraft) {
        v.emplace_back(a.name);
    }
    return v;
}

GaugeVariables::GaugeVariables(sim::SimHost& host, LocalVariables& locals,
                               const preview::ModuleCatalogue& catalogue, CallbackSource callbacks)
    : host_(host), locals_(locals), catalogue_(catalogue), callbacks_(std::move(callbacks)) {}

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
        if (ref.write || (ref.name != "X" && ref.name != "Y")) {
            d.error(at, shown + ": the mouse offers (M:X) and (M:Y), read only");
            return -1;
        }
        Binding b;
        b.kind = ref.name == "X" ? Kind::MouseX : Kind::MouseY;
        b.key = "M:" + ref.name;
        return share(b);
    }
    if (ref.kind != 'A' && ref.kind != 'E' && ref.kind != 'L') {
        d.warn(at, shown + ": " + std::string(1, ref.kind) +
                       ": variables are not simulated by the workbench; reads 0, writes are "
                       "ignored");
        return -1;
    }
    // An L: variable keeps its value in a base unit, so a unit the workbench
    // cannot convert would read back wrong in any other: refused, as for A:.
    const Unit* unit = findUnit(ref.unit);
    if (unit == nullptr && ref.unit.empty() && ref.kind == 'L') {
        d.warn(at, shown + ": no unit; taken as a plain number");
        unit = findUnit("number");
    }
    if (unit == nullptr) {
        const std::string problem =
            ref.unit.empty() ? "no unit" : "unknown unit \"" + ref.unit + "\"";
        d.error(at, shown + ": " + problem + gauge::didYouMean(ref.unit, unitNames()));
        return -1;
    }
    Binding b;
    b.perBase = unit->perBase;
    b.offset = unit->offset;
    b.key = std::string(1, ref.kind) + ":" + gauge::lowerAscii(ref.name) + "," + unit->name;
    if (ref.kind == 'L') {
        b.kind = Kind::Local;
        b.variable = static_cast<int>(locals_.index(ref.name));
        return share(b);
    }
    if (ref.write) {
        d.error(at, shown + ": " + std::string(1, ref.kind) + ": variables cannot be written");
        return -1;
    }
    Dimension dimension = Dimension::Time;
    if (ref.kind == 'E') {
        if (!gauge::equalIgnoringCase(ref.name, "SIMULATION TIME")) {
            d.warn(at, shown +
                           ": the workbench supplies only (E:SIMULATION TIME, seconds); "
                           "reads 0");
            return -1;
        }
        b.kind = Kind::Time;
    } else {
        int found = -1;
        for (size_t i = 0; i < std::size(kAircraft); ++i) {
            if (gauge::equalIgnoringCase(ref.name, kAircraft[i].name)) {
                found = static_cast<int>(i);
            }
        }
        if (found < 0) {
            d.warn(at, shown +
                           ": the scenario gives no value for this aircraft variable; "
                           "reads 0" +
                           gauge::didYouMean(ref.name, aircraftVariables()));
            return -1;
        }
        b.kind = Kind::Aircraft;
        b.variable = found;
        dimension = kAircraft[found].dimension;
        if (unit->dimension == Dimension::Plain && dimension != Dimension::Plain) {
            b.perBase = findUnit(kAircraft[found].natural)->perBase;
        }
    }
    if (unit->dimension != Dimension::Plain && unit->dimension != dimension) {
        d.warn(at, shown + ": unit \"" + ref.unit + "\" does not fit " + ref.name + ", " +
                       dimensionName(dimension) + "; reads 0");
        return -1;
    }
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

double GaugeVariables::aircraftValue(int variable) const {
    const sim::Aircraft& own = host_.scenario().own();
    switch (variable) {
        case Altitude:
            return own.trueAltitude;
        case Indicated:
            return own.indicatedAltitude;
        case AboveGround:
            return own.altAboveGround;
        case Heading:
            return own.headingTrue;
        case VerticalSpeed:
            return own.verticalSpeed / kFeetPerMinutePerKnot;
        case GroundSpeed:
            return std::hypot(own.velocityNorth, own.velocityEast);
        default:
            return own.altAboveGround <= 0.0 ? 1.0 : 0.0;
    }
}

void GaugeVariables::read(int32_t handle, gauge::Value& out) {
    Binding& b = bindings_[static_cast<size_t>(handle)];
    out.isText = false;
    switch (b.kind) {
        case Kind::Aircraft:
            out.number = aircraftValue(b.variable) * b.perBase;
            return;
        case Kind::Time:
            out.number = host_.time() * b.perBase;
            return;
        case Kind::Local:
            out.number = locals_.values[static_cast<size_t>(b.variable)] * b.perBase + b.offset;
            return;
        case Kind::MouseX:
            out.number = mouseX_;
            return;
        case Kind::MouseY:
            out.number = mouseY_;
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
        locals_.values[static_cast<size_t>(b.variable)] = (value.asNumber() - b.offset) / b.perBase;
    } else if (b.kind == Kind::Property) {
        b.gauge->setNumberProperty(b.id, value.asNumber());
        b.last = gauge::Value::of(value.asNumber());
        b.touched = true;
        b.written = true;
    }
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
