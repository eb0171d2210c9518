// The aircraft and clock variables a gauge's scripts read, as the workbench
// gives them:
//   - the own aircraft's motion (altitudes, heading, vertical and ground
//     speed, on ground), derived from the scenario's own aircraft and never
//     given otherwise, so that a gauge cannot show what the module does not see;
//   - any other (A:name) a scenario gives in "aircraftVariables", held from
//     each key to the next or ramped into it;
//   - the clock: SIMULATION TIME, ABSOLUTE TIME, LOCAL TIME and ZULU TIME, as
//     E: and P: variables, from the run's time and the scenario's "localTime".
// Values are kept in the base unit of their family (see Units.h).
#pragma once

#include <string>
#include <vector>

#include "tools/gauge/Value.h"
#include "tools/scenario/ScenarioModel.h"
#include "tools/workbench/Units.h"

namespace cs::sim {
class SimHost;
}

namespace cs::workbench {

class AircraftInputs {
  public:
    // Checks a scenario's aircraft variables (units known, one family per
    // variable, the own aircraft's motion left alone) and learns their
    // names for binding. Throws preview::InputError.
    void admit(const preview::PreviewScenario& scenario);
    // The scenario whose values and clock are read from now on.
    void use(const preview::PreviewScenario& scenario);

    enum class Kind { Motion, Given, Clock };
    struct Source {
        Kind kind = Kind::Motion;
        int index = 0;
        Dimension dimension = Dimension::Plain;
        const Unit* natural = nullptr;  // what the unit "number" reads in
    };
    // Where (A:name), (E:name) or (P:name) comes from; false when nothing gives it.
    bool find(char kind, const std::string& name, Source* out) const;
    // The names of a kind, for did-you-mean.
    std::vector<std::string> names(char kind) const;
    // How many given variables are known (grows as scenarios are admitted).
    size_t givenCount() const { return given_.size(); }
    // The value now, in the base unit of its family, or a text.
    void read(const Source& source, sim::SimHost& host, gauge::Value& out) const;

  private:
    struct Given {
        std::string name;
        Dimension dimension = Dimension::Plain;
        const Unit* natural = nullptr;
    };
    struct Key {
        double atS = 0.0;
        gauge::Value value;  // numbers in base units
        bool ramp = false;
    };
    static double motion(int index, sim::SimHost& host);
    double clock(int index, double t) const;

    std::vector<Given> given_;              // every scenario's names
    std::vector<std::vector<Key>> values_;  // the scenario in use, parallel to given_
    double localTimeS_ = 12 * 3600.0;
};

// Two names of a variable are the same regardless of case and of spaces
// around an index: "transponder code : 1" is "TRANSPONDER CODE:1".
bool sameVariableName(const std::string& a, const std::string& b);

}  // namespace cs::workbench
