// Reading scenario files: JSON with units, checked field by field so that a
// mistake gets one message naming the file, the line, the field and what was
// expected. Names of draw parameters and gauge properties are checked in a
// second step against the vocabulary the loaded module declares
// (NameResolution.h).
#pragma once

#include <string>

#include "tools/preview/InputError.h"
#include "tools/preview/JsonFields.h"
#include "tools/preview/NameResolution.h"
#include "tools/preview/ScenarioModel.h"

namespace cs::preview {

// Parses a scenario text; `file` names it in messages and gives the default
// scenario name (its stem). Throws InputError.
PreviewScenario parseScenario(const std::string& text, const std::string& file);

// Reads and parses a file. Throws InputError (also when it cannot be read).
PreviewScenario loadScenarioFile(const std::string& path);

}  // namespace cs::preview
