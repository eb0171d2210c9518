// The encounter library compiled into the program, so that it runs with no
// files at all. Generated from scenarios/*.json at build time.
#pragma once

#include <cstddef>

namespace cs::preview {

struct BuiltinScenario {
    const char* name;  // the file's stem, e.g. "head-on"
    const char* file;  // how messages name it, e.g. "builtin:head-on.json"
    const char* text;  // the JSON
};

extern const BuiltinScenario kBuiltinScenarios[];
extern const size_t kBuiltinScenarioCount;

}  // namespace cs::preview
