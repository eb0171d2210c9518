// The names a scenario gives to draw parameters and gauge properties,
// resolved against what the loaded module offers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/scenario/ScenarioModel.h"

namespace cs::preview {

// What the module offers by name: the draw parameters it declares when a
// drawable is created, and its property catalogue.
struct ModuleVocabulary {
    struct Parameter {
        std::string name;
        int32_t id = 0;
        int32_t type = 0;  // sim::kParameterTypeReal, ...Integer or ...String
    };
    std::vector<Parameter> parameters;
    // Property name to id; false for a name the module does not know.
    std::function<bool(const std::string& name, int32_t* id)> propertyId;
    // Whether a number can be written to the property.
    std::function<bool(int32_t id)> propertyWritable;
};

// Resolves every parameter and property name of the scenario to its id and
// type and checks that each value suits its type. Throws InputError.
void resolveNames(PreviewScenario& scenario, const ModuleVocabulary& vocabulary);

}  // namespace cs::preview
