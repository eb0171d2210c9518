#include "tools/gauge/Macros.h"

#include <algorithm>
#include <cctype>

namespace cs::gauge {

namespace {

// Uses nested deeper than this are taken for a runaway expansion.
constexpr size_t kMaxMacroDepth = 16;

bool nameStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_';
}

bool nameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

std::string trimmed(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) {
        return std::string();
    }
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

// The arguments of a use, from the '(' at `open`; false when it is not
// closed. `end` is the index just past the ')'.
bool readArguments(const std::string& text, size_t open, std::vector<std::string>& args,
                   size_t* end) {
    int depth = 0;
    bool quoted = false;
    std::string current;
    for (size_t i = open + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\'') {
            quoted = !quoted;
        } else if (!quoted && c == '(') {
            ++depth;
        } else if (!quoted && c == ')') {
            if (depth == 0) {
                args.push_back(trimmed(current));
                *end = i + 1;
                return true;
            }
            --depth;
        } else if (!quoted && depth == 0 && c == ',') {
            args.push_back(trimmed(current));
            current.clear();
            continue;
        }
        current += c;
    }
    return false;
}

// The macro's text with @1, @2, ... replaced by the arguments and its line
// breaks by spaces.
std::string substitute(const std::string& body, const std::vector<std::string>& args) {
    std::string out;
    for (size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c == '@' && i + 1 < body.size() && body[i + 1] >= '1' && body[i + 1] <= '9') {
            const size_t n = static_cast<size_t>(body[i + 1] - '1');
            for (char a : n < args.size() ? args[n] : std::string()) {
                out += (a == '\n' || a == '\r') ? ' ' : a;
            }
            ++i;
        } else {
            out += (c == '\n' || c == '\r') ? ' ' : c;
        }
    }
    return out;
}

// The highest @N a macro's text uses (0: none).
size_t highestArgument(const std::string& body) {
    size_t highest = 0;
    for (size_t i = 0; i + 1 < body.size(); ++i) {
        if (body[i] == '@' && body[i + 1] >= '1' && body[i + 1] <= '9') {
            highest = std::max(highest, static_cast<size_t>(body[i + 1] - '0'));
        }
    }
    return highest;
}

}  // namespace

void Macros::define(const std::string& name, std::string text, const Origin& at, Diagnostics& d) {
    if (name.empty() || !nameStart(name[0]) || !std::all_of(name.begin(), name.end(), nameChar)) {
        d.error(at, "Name=\"" + name + "\" is not a macro name (letters, digits and _)");
        return;
    }
    if (macros_.count(name) != 0) {
        d.warn(at, "macro @" + name + " defined again; this definition is used");
    }
    macros_[name] = std::move(text);
}

std::vector<std::string> Macros::names() const {
    std::vector<std::string> out;
    for (const auto& [name, text] : macros_) {
        out.push_back(name);
    }
    return out;
}

std::string Macros::expand(const std::string& text, const Origin& at, Diagnostics& d) const {
    if (text.find('@') == std::string::npos) {
        return text;
    }
    std::vector<std::string> using_;
    return expandIn(text, at, at.line, using_, d);
}

std::string Macros::expandIn(const std::string& text, const Origin& at, int line,
                             std::vector<std::string>& using_, Diagnostics& d) const {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '@' || i + 1 >= text.size() || !nameStart(text[i + 1])) {
            out += c;
            line += c == '\n' ? 1 : 0;
            continue;
        }
        size_t end = i + 1;
        while (end < text.size() && nameChar(text[end])) {
            ++end;
        }
        const std::string name = text.substr(i + 1, end - i - 1);
        std::vector<std::string> args;
        Origin here = at;
        here.line = line;
        if (end < text.size() && text[end] == '(' && !readArguments(text, end, args, &end)) {
            d.error(here, "@" + name + "( not closed with )");
            return out;
        }
        i = end - 1;
        auto found = macros_.find(name);
        if (found == macros_.end()) {
            d.error(here, "undefined macro @" + name + didYouMean(name, names()));
            continue;
        }
        if (std::find(using_.begin(), using_.end(), name) != using_.end() ||
            using_.size() >= kMaxMacroDepth) {
            std::string chain;
            for (const std::string& u : using_) {
                chain += "@" + u + " -> ";
            }
            d.error(here,
                    "macro @" + name + " uses itself (" + chain + "@" + name + "); not expanded");
            continue;
        }
        const size_t wanted = highestArgument(found->second);
        if (!args.empty() && args.size() < wanted) {
            d.warn(here, "@" + name + " uses @" + std::to_string(wanted) + " but is given " +
                             std::to_string(args.size()) +
                             " argument(s); the missing ones stand in as nothing");
        }
        // Arguments are expanded where they are written, before they stand in.
        for (std::string& a : args) {
            a = expandIn(a, at, line, using_, d);
        }
        using_.push_back(name);
        out += expandIn(substitute(found->second, args), at, line, using_, d);
        using_.pop_back();
    }
    return out;
}

}  // namespace cs::gauge
