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

// A command line as one line to paste into a Command Prompt: arguments with
// spaces, double quotes or characters cmd.exe acts on (& | < > ^ ( ) % !)
// are double-quoted the way the C runtime splits them again (\" for a quote,
// backslashes before a quote doubled); plain words, Windows paths included,
// stay bare. What cmd.exe would still act on outside the quotes gets a ^.
// (Inside quotes cmd.exe still expands %NAME% of a variable it has; no
// quoting prevents that on a pasted line.) Texts are UTF-8.
std::string cmdCommandLine(int argc, const char* const* argv);

// The command line as this platform's usual shell takes it: cmd.exe on
// Windows, a POSIX shell elsewhere.
std::string nativeCommandLine(int argc, const char* const* argv);

}  // namespace cs::preview
