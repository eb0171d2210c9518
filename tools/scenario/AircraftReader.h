// Reading the own aircraft and the traffic of a scenario file.
#pragma once

#include <string>

#include "tools/scenario/JsonFields.h"
#include "tools/scenario/ScenarioModel.h"

namespace cs::preview {

// The own aircraft at `path` ("own"): absolute start, id 1 and "OWNSHIP"
// unless given.
AircraftPlan readOwnAircraft(const FieldReader& in, const Json& j, const std::string& path);

// One traffic aircraft at `path` ("traffic[2]"): an id of its own, a start
// absolute or relative to the own aircraft.
AircraftPlan readTrafficAircraft(const FieldReader& in, const Json& j, const std::string& path);

}  // namespace cs::preview
