#include "tools/gauge/StringFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "tools/gauge/TextEncoding.h"

namespace cs::gauge {

namespace {

constexpr int kMaxWidth = 64;

int linesIn(std::string_view text) {
    int n = 0;
    for (char c : text) {
        n += c == '\n';
    }
    return n;
}

// "12" or "-3": a case label.
bool parseLabel(const std::string& text, double* value) {
    if (text.empty() || text.size() > 10) {
        return false;
    }
    size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size() || text.find_first_not_of("0123456789", i) != std::string::npos) {
        return false;
    }
    *value = std::strtod(text.c_str(), nullptr);
    return true;
}

// %!s! with a width or precision, counted in characters rather than the
// bytes of their UTF-8: "%!.1s!" of a degree sign is the whole sign.
std::string formatText(const std::string& text, const Conversion& conversion) {
    std::u32string chars = characters(text);
    if (conversion.precision >= 0 && chars.size() > static_cast<size_t>(conversion.precision)) {
        chars.resize(static_cast<size_t>(conversion.precision));
    }
    const size_t width = conversion.width > 0 ? static_cast<size_t>(conversion.width) : 0;
    const std::u32string pad(width > chars.size() ? width - chars.size() : 0, U' ');
    const bool left = conversion.flags.find('-') != std::string::npos;
    return utf8Of(left ? chars + pad : pad + chars);
}

}  // namespace

bool parseConversion(std::string_view text, Conversion& conversion) {
    conversion = Conversion{};
    size_t i = 0;
    while (i < text.size() && std::string_view("-+ 0#").find(text[i]) != std::string_view::npos) {
        if (conversion.flags.size() >= 5) {
            return false;
        }
        conversion.flags += text[i++];
    }
    auto readNumber = [&](int* out) {
        int n = 0;
        size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            n = n * 10 + (text[i++] - '0');
            if (n > kMaxWidth) {
                return false;
            }
        }
        if (i > start) {
            *out = n;
        }
        return true;
    };
    if (!readNumber(&conversion.width)) {
        return false;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        conversion.precision = 0;
        if (!readNumber(&conversion.precision)) {
            return false;
        }
    }
    if (i + 1 != text.size() || (text[i] != 'd' && text[i] != 'f' && text[i] != 's')) {
        return false;
    }
    conversion.letter = text[i];
    return true;
}

std::string formatValue(const Value& value, const Conversion& conversion) {
    if (conversion.letter == 0) {
        return value.asText();
    }
    if (conversion.letter == 's') {
        return formatText(value.asText(), conversion);
    }
    std::string format = "%" + conversion.flags;
    if (conversion.width >= 0) {
        format += std::to_string(conversion.width);
    }
    if (conversion.precision >= 0) {
        format += '.';
        format += std::to_string(conversion.precision);
    }
    char buffer[256];
    if (conversion.letter == 'd') {
        double n = std::round(value.asNumber());
        if (std::isnan(n)) {
            n = 0.0;
        }
        n = std::fmax(std::fmin(n, 9.2e18), -9.2e18);
        std::snprintf(buffer, sizeof buffer, (format + "lld").c_str(), static_cast<long long>(n));
    } else {
        const double n = value.asNumber();
        // Beyond this a fixed format would print hundreds of digits.
        if (std::fabs(n) > 1e30) {
            std::snprintf(buffer, sizeof buffer, (format + "g").c_str(), n);
        } else {
            std::snprintf(buffer, sizeof buffer, (format + "f").c_str(), n);
        }
    }
    return buffer;
}

FormattedString FormattedString::parse(std::string_view text, const Origin& origin,
                                       Diagnostics& diagnostics) {
    FormattedString out;
    auto fail = [&](size_t at, const std::string& message) {
        Origin where = origin;
        where.line = origin.line + linesIn(text.substr(0, at));
        diagnostics.error(where, message);
        out.ok_ = false;
    };
    std::vector<size_t> open;   // indices of If / Else / Case pieces not yet closed
    bool pendingValue = false;  // a %(...) waits for %!fmt! or %{if}
    auto flushPending = [&] {
        pendingValue = false;  // printed with the default format
    };
    std::string literal;
    auto flushLiteral = [&] {
        if (!literal.empty()) {
            Piece p;
            p.text = std::move(literal);
            out.pieces_.push_back(std::move(p));
            literal.clear();
        }
    };
    size_t i = 0;
    while (i < text.size() && out.ok_) {
        if (text[i] != '%' || i + 1 >= text.size()) {
            literal += text[i++];
            flushPending();
            continue;
        }
        const char next = text[i + 1];
        if (next == '(') {
            // Find the matching parenthesis, skipping quoted texts.
            size_t j = i + 2;
            int depth = 1;
            bool quoted = false;
            for (; j < text.size(); ++j) {
                if (text[j] == '\'') {
                    quoted = !quoted;
                } else if (!quoted && text[j] == '(') {
                    ++depth;
                } else if (!quoted && text[j] == ')' && --depth == 0) {
                    break;
                }
            }
            if (j >= text.size()) {
                fail(i, "%( not closed with )");
                break;
            }
            flushLiteral();
            Origin at = origin;
            at.line = origin.line + linesIn(text.substr(0, i + 2));
            out.scripts_.push_back(compileScript(text.substr(i + 2, j - i - 2), at, diagnostics));
            if (!out.scripts_.back().ok()) {
                out.ok_ = false;
            }
            Piece p;
            p.kind = Piece::Kind::Print;
            p.script = static_cast<int>(out.scripts_.size()) - 1;
            out.pieces_.push_back(std::move(p));
            pendingValue = true;
            i = j + 1;
            continue;
        }
        if (next == '!') {
            const size_t end = text.find('!', i + 2);
            Conversion conversion;
            if (end == std::string_view::npos ||
                !parseConversion(text.substr(i + 2, end - i - 2), conversion)) {
                fail(i, "unsupported format \"" +
                            std::string(
                                text.substr(i, end == std::string_view::npos ? 8 : end - i + 1)) +
                            "\"; expected %!d!, %!f!, %!s! with flags, width and precision");
                break;
            }
            if (!pendingValue) {
                fail(i, "format %!" + std::string(text.substr(i + 2, end - i - 2)) +
                            "! without a %( ) before it");
                break;
            }
            out.pieces_.back().conversion = conversion;
            pendingValue = false;
            i = end + 1;
            continue;
        }
        if (next == '{') {
            const size_t end = text.find('}', i + 2);
            const std::string word =
                end == std::string_view::npos ? "" : std::string(text.substr(i + 2, end - i - 2));
            const bool inCase = !open.empty() && out.pieces_[open.back()].kind == Piece::Kind::Case;
            if (word == "if" || word == "case") {
                if (!pendingValue) {
                    fail(i, "%{" + word + "} without a %( " +
                                (word == "if" ? "condition" : "value") + " ) before it");
                    break;
                }
                if (open.size() >= static_cast<size_t>(kMaxBlockDepth)) {
                    fail(i, "%{" + word + "} nested too deep");
                    break;
                }
                out.pieces_.back().kind = word == "if" ? Piece::Kind::If : Piece::Kind::Case;
                open.push_back(out.pieces_.size() - 1);
            } else if (!word.empty() && word[0] == ':') {
                double label = 0.0;
                if (!inCase) {
                    fail(i, "%{" + word + "} outside a %{case}");
                    break;
                }
                if (!parseLabel(word.substr(1), &label)) {
                    fail(i, "%{" + word + "}: a %{case} label is a whole number, such as %{:2}");
                    break;
                }
                flushLiteral();
                Piece p;
                p.kind = Piece::Kind::Label;
                p.label = label;
                out.pieces_.push_back(std::move(p));
                out.pieces_[open.back()].labels.push_back(out.pieces_.size() - 1);
            } else if (word == "else" || word == "end") {
                flushLiteral();
                if (open.empty() || (word == "else" && (inCase || out.pieces_[open.back()].kind ==
                                                                      Piece::Kind::Else))) {
                    fail(i, "%{" + word + "} without a matching %{if}" +
                                (word == "end" ? " or %{case}" : ""));
                    break;
                }
                Piece p;
                p.kind = word == "else" ? Piece::Kind::Else : Piece::Kind::End;
                out.pieces_.push_back(std::move(p));
                const size_t here = out.pieces_.size() - 1;
                Piece& opener = out.pieces_[open.back()];
                opener.jump = here + 1;
                for (size_t label : opener.labels) {
                    out.pieces_[label].jump = here + 1;
                }
                open.pop_back();
                if (word == "else") {
                    open.push_back(here);
                }
            } else {
                fail(i, "unsupported \"%{" + word +
                            "}\"; expected %{if}, %{else}, %{case}, %{:N} or %{end}");
                break;
            }
            pendingValue = false;
            i = end + 1;
            continue;
        }
        literal += text[i++];
        flushPending();
    }
    flushLiteral();
    if (out.ok_ && !open.empty()) {
        fail(text.size(), out.pieces_[open.back()].kind == Piece::Kind::Case
                              ? "%{case} not closed with %{end}"
                              : "%{if} not closed with %{end}");
    }
    return out;
}

std::string FormattedString::evaluate(Environment& environment, Evaluator& evaluator,
                                      Diagnostics* diagnostics) const {
    std::string out;
    if (!ok_) {
        return out;
    }
    size_t i = 0;
    while (i < pieces_.size()) {
        const Piece& p = pieces_[i];
        switch (p.kind) {
            case Piece::Kind::Literal:
                out += p.text;
                ++i;
                break;
            case Piece::Kind::Print:
                out += formatValue(evaluator.evaluate(scripts_[static_cast<size_t>(p.script)],
                                                      environment, diagnostics),
                                   p.conversion);
                ++i;
                break;
            case Piece::Kind::If:
                i = evaluator.number(scripts_[static_cast<size_t>(p.script)], environment,
                                     diagnostics) != 0.0
                        ? i + 1
                        : p.jump;
                break;
            case Piece::Kind::Case:
                i = caseArm(p, evaluator.number(scripts_[static_cast<size_t>(p.script)],
                                                environment, diagnostics));
                break;
            case Piece::Kind::Else:   // reached from the true branch: skip the false one
            case Piece::Kind::Label:  // reached from the arm before: the case is done
                i = p.jump;
                break;
            case Piece::Kind::End:
                ++i;
                break;
        }
    }
    return out;
}

// The piece after the first label equal to `value`, or after the %{end}.
size_t FormattedString::caseArm(const Piece& casePiece, double value) const {
    const double whole = std::trunc(value);
    for (size_t label : casePiece.labels) {
        if (pieces_[label].label == whole) {
            return label + 1;
        }
    }
    return casePiece.jump;
}

}  // namespace cs::gauge
