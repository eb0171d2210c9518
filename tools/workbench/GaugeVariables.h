// The variables a gauge's scripts reach, as the workbench provides them:
//   (A:name, unit)   the own aircraft's motion, or what the scenario gives,
//                    unit-converted (see AircraftInputs.h)
//   (E:name), (P:name)  the clock: SIMULATION, ABSOLUTE, LOCAL, ZULU TIME
//   (G:Var1)..(G:Var9)  nine numbers of this gauge's own
//   (>K:EVENT)       a key event, logged with its value and time
//   (L:name, unit)   shared by every gauge of the run, stored in the unit's
//                    base (feet, degrees, knots, seconds) so that writing in
//                    one unit and reading in another converts
//   (M:X), (M:Y)     the mouse in gauge units, relative to the mouse area;
//   (M:Event)        the click being handled ("LeftSingle")
//   (C:callback:property)  through the named panel callback's name-to-id and
//                    this gauge's own gauge callback, as the simulator does
// Other kinds read 0 and ignore writes, with a warning.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host/PanelInterfaces.h"
#include "tools/gauge/ScriptEvaluator.h"
#include "tools/session/ModuleCatalogue.h"
#include "tools/workbench/AircraftInputs.h"

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

// A key event a script sent: (>K:name) with the value it took.
struct SentEvent {
    double time = 0.0;
    std::string name;
    double value = 0.0;
};

class GaugeVariables final : public gauge::Environment {
  public:
    // `callbacks` gives this gauge's own gauge callback for a panel callback
    // name (created on first use); null when the module has none.
    using CallbackSource = std::function<IGaugeCCallback*(const std::string& panel)>;

    GaugeVariables(sim::SimHost& host, LocalVariables& locals, const AircraftInputs& inputs,
                   const preview::ModuleCatalogue& catalogue, CallbackSource callbacks);

    int32_t bind(const gauge::VarRef& ref, const gauge::Origin& at,
                 gauge::Diagnostics& diagnostics) override;
    void read(int32_t handle, gauge::Value& out) override;
    void write(int32_t handle, const gauge::Value& value) override;

    // The mouse relative to the area under it, and the click being handled
    // ("LeftSingle"; empty for a move), for (M:X), (M:Y) and (M:Event).
    void setMouse(double x, double y, const char* event = "") {
        mouseX_ = x;
        mouseY_ = y;
        mouseEvent_ = event;
    }
    // The C: values touched since the last call, each property once.
    std::vector<PropertyAccess> takeAccesses();
    // The key events sent since the last call, in order.
    std::vector<SentEvent> takeEvents();

  private:
    enum class Kind { Input, Local, Gauge, Event, MouseX, MouseY, MouseEvent, Property };
    struct Binding {
        Kind kind = Kind::Local;
        std::string key;                // for sharing: kind, name and unit
        AircraftInputs::Source source;  // Input
        int variable = 0;               // L: index, G: number
        const Unit* unit = nullptr;     // L:, G:, A:, E:, P: values: read and written in it
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
    int32_t bindInput(const gauge::VarRef& ref, const Unit& unit, Binding b,
                      const gauge::Origin& at, gauge::Diagnostics& d);
    int32_t bindEvent(const gauge::VarRef& ref, const gauge::Origin& at, gauge::Diagnostics& d);

    sim::SimHost& host_;
    LocalVariables& locals_;
    const AircraftInputs& inputs_;
    const preview::ModuleCatalogue& catalogue_;
    CallbackSource callbacks_;
    std::vector<Binding> bindings_;
    double mouseX_ = 0.0, mouseY_ = 0.0;
    std::string mouseEvent_;
    double own_[9] = {};  // G:Var1..9
    std::vector<SentEvent> events_;
};

}  // namespace cs::workbench
