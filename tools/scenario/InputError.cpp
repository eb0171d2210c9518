#include "tools/scenario/InputError.h"

namespace cs::preview {

namespace {

std::string formatMessage(const std::string& file, int line, const std::string& field,
                          const std::string& problem) {
    std::string text = file;
    if (line > 0) {
        text += ':';
        text += std::to_string(line);
    }
    text += ": ";
    if (!field.empty()) {
        text += field + ": ";
    }
    return text + problem;
}

}  // namespace

InputError::InputError(std::string file, int line, std::string field, std::string problem)
    : std::runtime_error(formatMessage(file, line, field, problem)),
      file_(std::move(file)),
      line_(line),
      field_(std::move(field)),
      problem_(std::move(problem)) {}

}  // namespace cs::preview
