// The bytes of a gauge file as UTF-8 text. Gauges written on Windows are
// often Windows-1252 (a degree sign is the byte 0xB0) and say so in their
// XML declaration; the simulator's XML reader decodes them by it, and
// refuses bytes that are not text in the file's encoding.
#pragma once

#include <string>
#include <string_view>

namespace cs::gauge {

struct DecodedText {
    std::string text;     // UTF-8, line ends untouched
    bool wide = false;    // UTF-16 or UTF-32 with a byte order mark: left as it was
    bool ok = true;       // false: `problem` says which byte, `offset` where
    std::string problem;  //
    size_t offset = 0;    // in the bytes given
};

// `encoding="..."` of the XML declaration at the start, or "" without one.
std::string declaredEncoding(std::string_view xml);

// Windows-1252 and ISO-8859-1 (by any of their usual names) become UTF-8;
// UTF-8 (declared or not, or with its byte order mark whatever is
// declared) and US-ASCII are checked byte by byte; text with a UTF-16 or
// UTF-32 byte order mark is left to the XML parser.
DecodedText decodeGaugeText(std::string_view xml);

// UTF-8 text as characters and back; a byte that is not UTF-8 becomes
// U+FFFD.
std::u32string characters(std::string_view utf8);
std::string utf8Of(std::u32string_view characters);

// The simulator's texts are Windows-1252 on a Western Windows: the code a
// character has there (0x80 for the euro sign, 0xE9 for e acute), and the
// character of such a code; characters outside it keep their own number,
// and an undefined code is U+FFFD.
unsigned windows1252Code(char32_t c);
// Windows-1252 bytes (the module's narrow texts too) as UTF-8; the five
// bytes the code page leaves undefined become U+FFFD.
std::string utf8FromWindows1252(std::string_view bytes);
char32_t windows1252Character(unsigned code);

}  // namespace cs::gauge
