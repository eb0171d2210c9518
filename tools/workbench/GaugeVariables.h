// The variables a gauge's scripts reach, as the workbench provides them:
//   (A:name, unit)   the own aircraft of the scenario (altitudes, heading,
//                    vertical speed, ground speed, on ground), unit-converted
//   (E:SIMULATION TIME, seconds)
//   (L:name, unit)   shared by every gauge of the run, stored in the unit's
//                    base (feet, degrees, knots, seconds) so that writing in
//                    one unit and reading in another converts
//   (M:X), (M:Y)     the mouse in gauge units, relative to the mouse area
//   (C:callback:property)  through the named panel callback's name-to-id and
//                    this gauge's own gauge callback, as the simulator does
// Other kinds (K:, P:, G: ...) read 0 and ignore writes, with a warning.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host/PanelInterfaces.h"
#include "tools/gauge/ScriptEvaluator.h"
#include "tools/session/ModuleCatalogue.h"

namespace cs::sim {
class SimHost;
}

namespace cs::workbench {

// The L: variables of a run, by name (compared ignoring case).
struct LocalVariables {
    std::vector<std::string> names;  // as first written
    std::vector<double> values;      // in base units
    size_t index(const std::string& name);
    void set(const std::string& name, double value) { values[index(name)] = value; }
};

// One C: value read or written since the last take.
struct PropertyAccess {
    std::string name;  // "va9vedored:advisory"
    gauge::Value value;
    bool written = false;
};

class GaugeVariables final : public gauge::Environment {
  public:
    // `callbacks` gives this gauge's own gauge callback for a panel callback
    // name (created on first use); null when the module has none.
    using CallbackSource = std::function<IGaugeCCallback*(const std::string& panel)>;

    GaugeVariables(sim::SimHost& host, LocalVariables& locals,
                   const preview::ModuleCatalogue& catalogue, CallbackSource callbacks);

    int32_t bind(const gauge::VarRef& ref, const gauge::Origin& at,
                 gauge::Diagnostics& diagnostics) override;
    void read(int32_t handle, gauge::Value& out) override;
    void write(int32_t handle, const gauge::Value& value) override;

    void setMouse(double x, double y) {
        mouseX_ = x;
        mouseY_ = y;
    }
    // The C: values touched since the last call, each property once.
    std::vector<PropertyAccess> takeAccesses();

    // The A: variable names the workbench supplies.
    static std::vector<std::string> aircraftVariables();

  private:
    enum class Kind { Aircraft, Time, Local, MouseX, MouseY, Property };
    struct Binding {
        Kind kind = Kind::Local;
        std::string key;     // for sharing: kind, name and unit
        int variable = 0;    // A: variable, L: index
        double perBase = 1;  // unit per base unit
        double offset = 0;   // the unit's value of the base's zero (temperatures)
        IGaugeCCallback* gauge = nullptr;
        int32_t id = -1;
        bool text = false;
        std::string name;  // C: "panel:property" for the log
        gauge::Value last;
        std::string raw;  // a text property as the module gave it, before conversion
        bool touched = false, written = false;
    };
    int32_t share(Binding binding);
    int32_t bindProperty(const gauge::VarRef& ref, const gauge::Origin& at, gauge::Diagnostics& d);
    double aircraftValue(int variable) const;

    sim::SimHost& host_;
    LocalVariables& locals_;
    const preview::ModuleCatalogue& catalogue_;
    CallbackSource callbacks_;
    std::vector<Binding> bindings_;
    double mouseX_ = 0.0, mouseY_ = 0.0;
};

}  // namespace cs::workbench
