#include "tools/gauge/ScriptTokens.h"

#include <cstdlib>

namespace cs::gauge {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

bool parseNumber(std::string_view word, double* value) {
    if (word.empty() || word.size() > 64) {
        return false;
    }
    size_t i = (word[0] == '-' || word[0] == '+') ? 1 : 0;
    if (i >= word.size() ||
        !(isDigit(word[i]) || (word[i] == '.' && i + 1 < word.size() && isDigit(word[i + 1])))) {
        return false;
    }
    const std::string text(word);
    char* end = nullptr;
    double v = 0.0;
    if (word.size() > i + 2 && word[i] == '0' && (word[i + 1] == 'x' || word[i + 1] == 'X')) {
        v = static_cast<double>(std::strtoull(text.c_str() + i + 2, &end, 16));
        if (end == text.c_str() + i + 2) {
            return false;
        }
        if (word[0] == '-') {
            v = -v;
        }
    } else {
        v = std::strtod(text.c_str(), &end);
    }
    if (end != text.c_str() + text.size()) {
        return false;
    }
    *value = v;
    return true;
}

bool tokenize(std::string_view source, const Origin& origin, Diagnostics& diagnostics,
              std::vector<Token>& tokens) {
    tokens.clear();
    int line = origin.line;
    bool ok = true;
    auto fail = [&](int at, const std::string& message) {
        Origin where = origin;
        where.line = at;
        diagnostics.error(where, message);
        ok = false;
    };
    size_t i = 0;
    while (i < source.size()) {
        const char c = source[i];
        if (isSpace(c)) {
            line += c == '\n';
            ++i;
            continue;
        }
        Token token;
        token.line = line;
        if (c == '\'' || c == '(') {
            const char close = c == '\'' ? '\'' : ')';
            size_t j = i + 1;
            int lines = 0;
            while (j < source.size() && source[j] != close && !(c == '(' && source[j] == '(')) {
                lines += source[j] == '\n';
                ++j;
            }
            if (j >= source.size() || source[j] != close) {
                fail(line, c == '\'' ? "text not closed with '" : "variable not closed with )");
                return false;
            }
            token.kind = c == '\'' ? TokenKind::Text : TokenKind::Variable;
            token.text = std::string(source.substr(i + 1, j - i - 1));
            line += lines;
            i = j + 1;
        } else if (c == '}') {
            token.text = "}";
            ++i;
        } else {
            size_t j = i;
            while (j < source.size() && !isSpace(source[j]) && source[j] != '(' &&
                   source[j] != '\'' && source[j] != '}') {
                if (source[j++] == '{') {
                    break;
                }
            }
            token.text = std::string(source.substr(i, j - i));
            i = j;
            if (parseNumber(token.text, &token.number)) {
                token.kind = TokenKind::Number;
            }
        }
        tokens.push_back(std::move(token));
    }
    return ok;
}

}  // namespace cs::gauge
