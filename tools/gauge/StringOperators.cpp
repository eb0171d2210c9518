#include "tools/gauge/StringOperators.h"

#include <cmath>
#include <cstring>
#include <string>

#include "tools/gauge/TextEncoding.h"

namespace cs::gauge {

namespace {

// Case as the simulator's Windows-1252 texts have it: ASCII and the
// accented Latin letters, with the few of them outside Latin-1.
constexpr struct {
    char32_t upper, lower;
} kOtherCases[] = {{0x160, 0x161}, {0x152, 0x153}, {0x17D, 0x17E}, {0x178, 0xFF}};

char32_t lower(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return c + 0x20;
    }
    for (const auto& pair : kOtherCases) {
        c = c == pair.upper ? pair.lower : c;
    }
    return c;
}

char32_t upper(char32_t c) {
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return c - 0x20;
    }
    for (const auto& pair : kOtherCases) {
        c = c == pair.lower ? pair.upper : c;
    }
    return c;
}

// A value's text as characters: positions and codes count characters, not
// the bytes of their UTF-8.
std::u32string chars(const Value& v) {
    return characters(v.asText());
}

// A position given as a number, or -1 when it is none a text can have.
long position(const Value& v) {
    const double x = std::trunc(v.asNumber());
    return x >= 0.0 && x < 1e9 ? static_cast<long>(x) : -1;
}

double found(size_t at) {
    return at == std::u32string::npos ? -1.0 : static_cast<double>(at);
}

int compare(const std::u32string& a, const std::u32string& b, bool ignoreCase) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const char32_t x = ignoreCase ? lower(a[i]) : a[i];
        const char32_t y = ignoreCase ? lower(b[i]) : b[i];
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void text(Value& out, const std::u32string& t) {
    out.isText = true;
    out.number = 0.0;
    out.text = utf8Of(t);
}

void number(Value& out, double n) {
    out.isText = false;
    out.number = n;
}

// The character of a code, as chr takes it: 1 to 255, Windows-1252.
char32_t ofCode(const Value& v) {
    const long code = position(v);
    return code > 0 && code < 256 ? windows1252Character(static_cast<unsigned>(code)) : 0;
}

void substring(const Value* in, Value& out) {
    const std::u32string s = chars(in[0]);
    const long from = position(in[1]);
    long to = position(in[2]);
    to = to > static_cast<long>(s.size()) ? static_cast<long>(s.size()) : to;
    text(out, from >= 0 && to > from
                  ? s.substr(static_cast<size_t>(from), static_cast<size_t>(to - from))
                  : std::u32string());
}

void findCharacter(const Value* in, Value& out) {
    const std::u32string s = chars(in[0]);
    char32_t c = 0;
    if (in[1].isText) {
        const std::u32string t = chars(in[1]);
        c = t.empty() ? 0 : t[0];
    } else {
        c = ofCode(in[1]);
    }
    number(out, c == 0 ? -1.0 : found(s.find(c)));
}

void symbol(const Value* in, Value& out) {
    const std::u32string s = chars(in[0]);
    const long at = position(in[1]);
    text(out, at >= 0 && at < static_cast<long>(s.size()) ? s.substr(static_cast<size_t>(at), 1)
                                                          : std::u32string());
}

void character(const Value* in, Value& out) {
    const char32_t c = ofCode(in[0]);
    text(out, c == 0 ? std::u32string() : std::u32string(1, c));
}

void caseOf(const Value* in, Value& out, char32_t (*first)(char32_t), char32_t (*rest)(char32_t)) {
    std::u32string s = chars(in[0]);
    for (size_t i = 0; i < s.size(); ++i) {
        s[i] = i == 0 ? first(s[i]) : rest(s[i]);
    }
    text(out, s);
}

constexpr StringOperator kOperators[] = {
    {"scat", 2, [](const Value* in, Value& out) { text(out, chars(in[0]) + chars(in[1])); }},
    {"scmp", 2,
     [](const Value* in, Value& out) { number(out, compare(chars(in[0]), chars(in[1]), false)); }},
    {"scmi", 2,
     [](const Value* in, Value& out) { number(out, compare(chars(in[0]), chars(in[1]), true)); }},
    {"ssub", 3, substring},
    {"sstr", 2,
     [](const Value* in, Value& out) { number(out, found(chars(in[0]).find(chars(in[1])))); }},
    {"schr", 2, findCharacter},
    {"symb", 2, symbol},
    {"chr", 1, character},
    {"ord", 1,
     [](const Value* in, Value& out) {
         const std::u32string s = chars(in[0]);
         number(out, s.empty() ? 0.0 : windows1252Code(s[0]));
     }},
    {"lc", 1, [](const Value* in, Value& out) { caseOf(in, out, lower, lower); }},
    {"uc", 1, [](const Value* in, Value& out) { caseOf(in, out, upper, upper); }},
    {"cap", 1, [](const Value* in, Value& out) { caseOf(in, out, upper, lower); }},
};

}  // namespace

std::span<const StringOperator> stringOperators() {
    return kOperators;
}

int stringOperator(const char* word) {
    for (size_t i = 0; i < std::size(kOperators); ++i) {
        if (std::strcmp(kOperators[i].word, word) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace cs::gauge
