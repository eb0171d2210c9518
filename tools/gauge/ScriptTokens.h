// The words of a gauge script. The simulator's gauge scripts are reverse
// Polish: numbers, single-quoted texts, variables in parentheses
// ("(A:PLANE ALTITUDE, feet)", "(>L:range, number)") and operator words
// separated by white space. "if{" and "els{" open a block, "}" closes it
// even when written against the word before it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/gauge/Diagnostics.h"

namespace cs::gauge {

enum class TokenKind { Number, Text, Variable, Word };

struct Token {
    TokenKind kind = TokenKind::Word;
    std::string text;  // the word, the text without quotes, the variable without parentheses
    double number = 0.0;
    int line = 0;
};

// Splits `source`, whose first character is on origin.line. Unterminated
// texts and variables are reported as errors; false when any was found.
bool tokenize(std::string_view source, const Origin& origin, Diagnostics& diagnostics,
              std::vector<Token>& tokens);

// A number as the script language writes it: decimal (with sign, fraction
// and exponent) or hexadecimal "0x1F"; false for anything else.
bool parseNumber(std::string_view word, double* value);

}  // namespace cs::gauge
