#include "tools/gauge/StringOperators.h"

#include <cmath>
#include <cstring>
#include <string>

namespace cs::gauge {

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// A position given as a number, or -1 when it is none a text can have.
long position(const Value& v) {
    const double x = std::trunc(v.asNumber());
    return x >= 0.0 && x < 1e9 ? static_cast<long>(x) : -1;
}

double found(size_t at) {
    return at == std::string::npos ? -1.0 : static_cast<double>(at);
}

int compare(const std::string& a, const std::string& b, bool ignoreCase) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(ignoreCase ? lower(a[i]) : a[i]);
        const auto y = static_cast<unsigned char>(ignoreCase ? lower(b[i]) : b[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void text(Value& out, std::string t) {
    out.isText = true;
    out.number = 0.0;
    out.text = std::move(t);
}

void number(Value& out, double n) {
    out.isText = false;
    out.number = n;
}

void substring(const Value* in, Value& out) {
    const std::string s = in[0].asText();
    const long from = position(in[1]);
    long to = position(in[2]);
    to = to > static_cast<long>(s.size()) ? static_cast<long>(s.size()) : to;
    text(out, from >= 0 && to > from
                  ? s.substr(static_cast<size_t>(from), static_cast<size_t>(to - from))
                  : std::string());
}

void findCharacter(const Value* in, Value& out) {
    const std::string s = in[0].asText();
    char c = 0;
    if (in[1].isText) {
        c = in[1].text.empty() ? '\0' : in[1].text[0];
    } else {
        const long code = position(in[1]);
        c = static_cast<char>(code >= 0 && code < 256 ? code : 0);
    }
    number(out, c == '\0' ? -1.0 : found(s.find(c)));
}

void symbol(const Value* in, Value& out) {
    const std::string s = in[0].asText();
    const long at = position(in[1]);
    text(out, at >= 0 && at < static_cast<long>(s.size()) ? s.substr(static_cast<size_t>(at), 1)
                                                          : std::string());
}

void character(const Value* in, Value& out) {
    const long code = position(in[0]);
    text(out, code > 0 && code < 256 ? std::string(1, static_cast<char>(code)) : std::string());
}

void capitalise(const Value* in, Value& out) {
    std::string s = in[0].asText();
    for (size_t i = 0; i < s.size(); ++i) {
        s[i] = i == 0 ? upper(s[i]) : lower(s[i]);
    }
    text(out, std::move(s));
}

constexpr StringOperator kOperators[] = {
    {"scat", 2, [](const Value* in, Value& out) { text(out, in[0].asText() + in[1].asText()); }},
    {"scmp", 2,
     [](const Value* in, Value& out) {
         number(out, compare(in[0].asText(), in[1].asText(), false));
     }},
    {"scmi", 2,
     [](const Value* in, Value& out) {
         number(out, compare(in[0].asText(), in[1].asText(), true));
     }},
    {"ssub", 3, substring},
    {"sstr", 2,
     [](const Value* in, Value& out) { number(out, found(in[0].asText().find(in[1].asText()))); }},
    {"schr", 2, findCharacter},
    {"symb", 2, symbol},
    {"chr", 1, character},
    {"ord", 1,
     [](const Value* in, Value& out) {
         const std::string s = in[0].asText();
         number(out, s.empty() ? 0.0 : static_cast<unsigned char>(s[0]));
     }},
    {"lc", 1,
     [](const Value* in, Value& out) {
         std::string s = in[0].asText();
         for (char& c : s) {
             c = lower(c);
         }
         text(out, std::move(s));
     }},
    {"uc", 1,
     [](const Value* in, Value& out) {
         std::string s = in[0].asText();
         for (char& c : s) {
             c = upper(c);
         }
         text(out, std::move(s));
     }},
    {"cap", 1, capitalise},
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
