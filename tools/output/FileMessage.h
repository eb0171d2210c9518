// The one shape of every message about a user's file, scenario or gauge:
// "file:line: part: message", a warning as "file:line: warning: part:
// message"; the line left out when 0 (the file as a whole), the part (a
// scenario field, a gauge element) when empty.
#pragma once

#include <string>

namespace cs::output {

inline std::string fileMessage(const std::string& file, int line, const std::string& part,
                               const std::string& message, bool warning = false) {
    std::string text = file;
    if (line > 0) {
        text += ':';
        text += std::to_string(line);
    }
    text += ": ";
    if (warning) {
        text += "warning: ";
    }
    if (!part.empty()) {
        text += part;
        text += ": ";
    }
    text += message;
    return text;
}

}  // namespace cs::output
