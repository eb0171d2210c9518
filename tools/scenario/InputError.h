// A mistake in what the user gave the preview tool: one message that names
// the file, the line, the field and what was expected.
#pragma once

#include <stdexcept>
#include <string>

namespace cs::preview {

// what() is the whole message: "<file>:<line>: <field>: <problem>" (the line
// when it is known, the field when there is one).
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

}  // namespace cs::preview
