// Text that goes into the report pages: HTML-escaped texts, JSON that can sit
// inside a <script> element, and colours as CSS writes them.
#pragma once

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

namespace cs::preview {

// `text` with &, <, >, " and ' as character references, safe in element
// content and in quoted attribute values.
std::string htmlEscape(const std::string& text);

// The JSON text of `value` for a <script type="application/json"> element:
// <, > and & written as \u escapes, so no text inside (a title such as
// "</script>") can close the element. Invalid UTF-8 becomes U+FFFD.
std::string jsonForScript(const nlohmann::ordered_json& value);

// 0xRRGGBB as "#rrggbb" (the top byte is ignored).
std::string cssColour(int32_t rgb);

// A command line as one line a POSIX shell would read back: arguments with
// anything but letters, digits and -_./=:,+@% are single-quoted.
std::string shellCommandLine(int argc, const char* const* argv);

}  // namespace cs::preview
