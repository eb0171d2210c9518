// Reading scenario files: JSON with units, checked field by field so that a
// mistake gets one message naming the file, the line, the field and what was
// expected. Names of draw parameters and gauge properties are checked in a
// second step against the vocabulary the loaded module declares
// (NameResolution.h).
#pragma once

#include <string>

#include "tools/scenario/InputError.h"
#include "tools/scenario/JsonFields.h"
#include "tools/scenario/NameResolution.h"
#include "tools/scenario/ScenarioModel.h"

namespace cs::preview {

// Parses a scenario text; `file` names it in messages and gives the default
// scenario name (its stem). Throws InputError.
PreviewScenario parseScenario(const std::string& text, const std::string& file);

// Reads and parses a file. Throws InputError (also when it cannot be read).
PreviewScenario loadScenarioFile(const std::string& path);

}  // namespace cs::preview
