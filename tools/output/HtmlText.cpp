#include "tools/output/HtmlText.h"

#include <cstdio>
#include <string_view>

namespace cs::preview {

std::string htmlEscape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string jsonForScript(const nlohmann::ordered_json& value) {
    const std::string text = value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    // Outside strings JSON has none of these characters, so every one found
    // is inside a string, where the \u form means the same.
    for (char c : text) {
        switch (c) {
            case '<':
                out += "\\u003c";
                break;
            case '>':
                out += "\\u003e";
                break;
            case '&':
                out += "\\u0026";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string cssColour(int32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(rgb) & 0xFFFFFFu);
    return text;
}

std::string shellCommandLine(int argc, const char* const* argv) {
    std::string out;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i] != nullptr ? argv[i] : "";
        if (i > 0) {
            out += ' ';
        }
        const bool plain = !arg.empty() && arg.find_first_not_of(
                                               "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVW"
                                               "XYZ0123456789-_./=:,+@%") == std::string::npos;
        if (plain) {
            out += arg;
            continue;
        }
        out += '\'';
        for (char c : arg) {
            if (c == '\'') {
                out += "'\\''";
            } else {
                out += c;
            }
        }
        out += '\'';
    }
    return out;
}

namespace {

// One argument as the C runtime's command-line splitter reads it back.
std::string runtimeQuoted(const std::string& arg) {
    // Letters of any script (UTF-8 bytes from 0x80 up) need no quotes.
    const auto plainChar = [](char c) {
        return static_cast<unsigned char>(c) >= 0x80 || (c >= 'a' && c <= 'z') ||
               (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               std::string_view("-_./\\:=,+@").find(c) != std::string_view::npos;
    };
    bool plain = !arg.empty();
    for (char c : arg) {
        plain = plain && plainChar(c);
    }
    if (plain) {
        return arg;
    }
    // Backslashes are literal except before a quote: there 2n (+1) of them
    // stand for n (and a literal quote), so those, and the ones before the
    // closing quote, are doubled.
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            out.append(2 * backslashes + 1, '\\');
        } else {
            out.append(backslashes, '\\');
        }
        backslashes = 0;
        out += c;
    }
    out.append(2 * backslashes, '\\');
    out += '"';
    return out;
}

}  // namespace

std::string cmdCommandLine(int argc, const char* const* argv) {
    std::string line;
    for (int i = 0; i < argc; ++i) {
        if (i > 0) {
            line += ' ';
        }
        line += runtimeQuoted(argv[i] != nullptr ? argv[i] : "");
    }
    // cmd.exe reads the line before the program does: every " switches its
    // quoting on or off, and outside it these characters are its own unless
    // escaped with ^. (An argument with quotes inside can leave parts of it
    // outside cmd.exe's quoting.)
    std::string out;
    bool quoted = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && std::string_view("&|<>^()").find(c) != std::string_view::npos) {
            out += '^';
        }
        out += c;
    }
    return out;
}

std::string nativeCommandLine(int argc, const char* const* argv) {
#if defined(_WIN32)
    return cmdCommandLine(argc, argv);
#else
    return shellCommandLine(argc, argv);
#endif
}

}  // namespace cs::preview
