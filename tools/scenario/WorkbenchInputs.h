// Reading what a scenario gives the gauge workbench beyond the module's
// inputs: start values of L: variables, aircraft variables over time, and
// the time of day.
#pragma once

#include <string>
#include <vector>

#include "tools/scenario/JsonFields.h"
#include "tools/scenario/ScenarioModel.h"

namespace cs::preview {

// {"ContactScope range": 6}
std::vector<NamedValue> readLocalVariables(const FieldReader& in, const Json& j,
                                           const std::string& path);

// {"ELECTRICAL MAIN BUS VOLTAGE": "28 volts", "ATC ID": "N123",
//  "COM1 ACTIVE FREQUENCY": [{"at": "0 s", "value": "118.5 MHz"}, ...]}
std::vector<GivenVariable> readAircraftVariables(const FieldReader& in, const Json& j,
                                                 const std::string& path);

// "14:30" or "14:30:15": seconds after midnight.
double readTimeOfDay(const FieldReader& in, const Json& j, const std::string& path);

}  // namespace cs::preview
