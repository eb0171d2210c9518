#include "tools/scenario/InputError.h"

#include "tools/output/FileMessage.h"

namespace cs::preview {

InputError::InputError(std::string file, int line, std::string field, std::string problem)
    : std::runtime_error(output::fileMessage(file, line, field, problem)),
      file_(std::move(file)),
      line_(line),
      field_(std::move(field)),
      problem_(std::move(problem)) {}

}  // namespace cs::preview
