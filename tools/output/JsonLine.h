// A JSON value as one line of a log (JSON Lines). Texts from gauge files
// and the module are not always whole UTF-8 (a character cut short by a
// fixed-size field); such bytes are written as U+FFFD rather than losing
// the whole log.
#pragma once

#include <string>

namespace cs::output {

template <class Json>
std::string jsonLine(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace cs::output
