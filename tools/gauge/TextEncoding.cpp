#include "tools/gauge/TextEncoding.h"

#include <cstdint>
#include <cstdio>

#include "tools/gauge/Diagnostics.h"

namespace cs::gauge {

namespace {

// Windows-1252's 0x80-0x9F, where it differs from Latin-1; the five bytes
// it leaves undefined become U+FFFD.
constexpr char32_t kUndefined = 0xFFFD;
constexpr char32_t kWindows1252High[32] = {
    0x20AC,     kUndefined, 0x201A, 0x0192, 0x201E, 0x2026,     0x2020, 0x2021,
    0x02C6,     0x2030,     0x0160, 0x2039, 0x0152, kUndefined, 0x017D, kUndefined,
    kUndefined, 0x2018,     0x2019, 0x201C, 0x201D, 0x2022,     0x2013, 0x2014,
    0x02DC,     0x2122,     0x0161, 0x203A, 0x0153, kUndefined, 0x017E, 0x0178};

enum class Encoding { Utf8, Ascii, Windows1252, Latin1, LeftToParser };

struct EncodingName {
    const char* name;
    Encoding encoding;
};

constexpr EncodingName kNames[] = {
    {"utf-8", Encoding::Utf8},
    {"utf8", Encoding::Utf8},
    {"us-ascii", Encoding::Ascii},
    {"ascii", Encoding::Ascii},
    {"windows-1252", Encoding::Windows1252},
    {"cp1252", Encoding::Windows1252},
    {"iso-8859-1", Encoding::Latin1},
    {"iso8859-1", Encoding::Latin1},
    {"iso_8859-1", Encoding::Latin1},
    {"latin1", Encoding::Latin1},
    {"l1", Encoding::Latin1},
};

void appendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The length of the well-formed UTF-8 sequence at `at`, or 0.
size_t utf8Sequence(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char b = byte(at);
    size_t n = 0;
    uint32_t code = 0, least = 0;
    if (b < 0x80) {
        return 1;
    } else if (b >= 0xC2 && b <= 0xDF) {
        n = 2, code = b & 0x1F, least = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3, code = b & 0x0F, least = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4, code = b & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (at + n > text.size()) {
        return 0;
    }
    for (size_t i = 1; i < n; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < least || code > 0x10FFFF || surrogate ? 0 : n;
}

DecodedText badByte(std::string_view xml, size_t at, const std::string& encoding) {
    DecodedText out;
    out.ok = false;
    out.offset = at;
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X",
                  static_cast<unsigned>(static_cast<unsigned char>(xml[at])));
    out.problem = "the byte ";
    out.problem += hex;
    out.problem += " is not " + encoding + " text";
    if (encoding != "US-ASCII") {
        out.problem +=
            "; a file saved as Windows-1252 says so in its first line: <?xml version=\"1.0\" "
            "encoding=\"Windows-1252\"?>";
    }
    return out;
}

}  // namespace

std::string declaredEncoding(std::string_view xml) {
    if (xml.substr(0, 3) == "\xEF\xBB\xBF") {
        xml.remove_prefix(3);
    }
    if (xml.substr(0, 5) != "<?xml") {
        return "";
    }
    const std::string_view declaration = xml.substr(0, xml.find("?>"));
    const size_t key = declaration.find("encoding");
    if (key == std::string_view::npos) {
        return "";
    }
    size_t i = key + 8;
    while (i < declaration.size() && (declaration[i] == ' ' || declaration[i] == '=')) {
        ++i;
    }
    if (i >= declaration.size() || (declaration[i] != '"' && declaration[i] != '\'')) {
        return "";
    }
    const size_t end = declaration.find(declaration[i], i + 1);
    return end == std::string_view::npos ? "" : std::string(declaration.substr(i + 1, end - i - 1));
}

DecodedText decodeGaugeText(std::string_view xml) {
    const bool wideBom = xml.substr(0, 2) == "\xFF\xFE" || xml.substr(0, 2) == "\xFE\xFF" ||
                         xml.substr(0, 4) == std::string_view("\0\0\xFE\xFF", 4);
    const bool utf8Bom = xml.substr(0, 3) == "\xEF\xBB\xBF";
    Encoding encoding = wideBom ? Encoding::LeftToParser : Encoding::Utf8;
    const std::string declared = lowerAscii(declaredEncoding(xml));
    for (const EncodingName& n : kNames) {
        if (!wideBom && !utf8Bom && declared == n.name) {
            encoding = n.encoding;
        }
    }
    DecodedText out;
    if (encoding == Encoding::LeftToParser) {
        out.text = xml;
        out.wide = true;
        return out;
    }
    out.text.reserve(xml.size());
    for (size_t i = 0; i < xml.size();) {
        const auto b = static_cast<unsigned char>(xml[i]);
        if (b < 0x80) {
            out.text += xml[i++];
        } else if (encoding == Encoding::Windows1252 || encoding == Encoding::Latin1) {
            appendUtf8(out.text,
                       encoding == Encoding::Windows1252 ? windows1252Character(b) : char32_t{b});
            ++i;
        } else if (const size_t n = encoding == Encoding::Utf8 ? utf8Sequence(xml, i) : 0) {
            out.text.append(xml.substr(i, n));
            i += n;
        } else {
            return badByte(xml, i, encoding == Encoding::Utf8 ? "UTF-8" : "US-ASCII");
        }
    }
    return out;
}

std::u32string characters(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const size_t n = utf8Sequence(utf8, i);
        if (n == 0) {
            out += U'\uFFFD';
            ++i;
            continue;
        }
        const auto lead = static_cast<unsigned char>(utf8[i]);
        char32_t c = n == 1 ? lead : lead & (0x7F >> n);
        for (size_t k = 1; k < n; ++k) {
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        out += c;
        i += n;
    }
    return out;
}

std::string utf8Of(std::u32string_view characters) {
    std::string out;
    out.reserve(characters.size());
    for (char32_t c : characters) {
        appendUtf8(out, c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) ? 0xFFFD : c);
    }
    return out;
}

std::string utf8FromWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char b : bytes) {
        appendUtf8(out, windows1252Character(static_cast<unsigned char>(b)));
    }
    return out;
}

unsigned windows1252Code(char32_t c) {
    for (unsigned i = 0; i < 32 && c != kUndefined; ++i) {
        if (kWindows1252High[i] == c) {
            return 0x80 + i;
        }
    }
    return static_cast<unsigned>(c);
}

char32_t windows1252Character(unsigned code) {
    return code >= 0x80 && code < 0xA0 ? kWindows1252High[code - 0x80] : char32_t{code};
}

}  // namespace cs::gauge
