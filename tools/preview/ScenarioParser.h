// Reading scenario files: JSON with units, checked field by field so that a
// mistake gets one message naming the file, the line, the field and what was
// expected. Names of draw parameters and gauge properties are checked in a
// second step against the vocabulary the loaded module declares.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/preview/ScenarioModel.h"

namespace cs::preview {

// A mistake in the input. what() is the whole message:
//   "<file>:<line>: <field>: <problem>" (the line when it is known).
class InputError : public std::runtime_error {
  public:
    InputError(std::string file, int line, std::string field, std::string problem);
    const std::string& file() const { return file_; }
    int line() const { return line_; }
    const std::string& field() const { return field_; }
    const std::string& problem() const { return problem_; }

  private:
    std::string file_;
    int line_;
    std::string field_;
    std::string problem_;
};

// Parses a scenario text; `file` names it in messages and gives the default
// scenario name (its stem). Throws InputError.
PreviewScenario parseScenario(const std::string& text, const std::string& file);

// Reads and parses a file. Throws InputError (also when it cannot be read).
PreviewScenario loadScenarioFile(const std::string& path);

// What the module offers by name: the draw parameters it declares when a
// drawable is created, and its property catalogue.
struct ModuleVocabulary {
    struct Parameter {
        std::string name;
        int32_t id = 0;
        int32_t type = 0;  // 2 Real, 3 Integer, 4 String
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

// The closest of `candidates` to `word` (ignoring case) when it is a likely
// misspelling, else empty.
std::string closestName(const std::string& word, const std::vector<std::string>& candidates);

}  // namespace cs::preview
