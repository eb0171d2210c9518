// The gauge language's operators on texts, as one table the compiler looks
// words up in and the evaluator calls through. Operands are taken in the
// order they were pushed: "'abcd' 1 3 ssub" gives 'bc'. Positions count
// characters from 0; a position outside the text gives an empty text, and a
// search that finds nothing gives -1. Codes and letter case are those of the
// simulator's Windows-1252 texts: ord of an e acute is 233, "128 chr" is the
// euro sign, and uc knows the accented letters.
//   scat  a b -> a followed by b
//   scmp  a b -> -1, 0 or 1 as a sorts before, with or after b
//   scmi  a b -> the same, ignoring the case of letters
//   ssub  s from to -> the characters from `from` up to, not including, `to`
//   sstr  s part -> where `part` first starts in s
//   schr  s c -> where the character c (a text's first, or a code) first is
//   symb  s i -> the character at i
//   chr   n -> the character with code n;  ord  s -> the code of s's first
//   lc uc cap -> lower case, upper case, the first letter upper and the rest lower
#pragma once

#include <span>

#include "tools/gauge/Value.h"

namespace cs::gauge {

struct StringOperator {
    const char* word;
    int operands;                                // 1 to 3
    void (*apply)(const Value* in, Value& out);  // in[0] pushed first
};

std::span<const StringOperator> stringOperators();

// The index of `word` in the table, or -1.
int stringOperator(const char* word);

}  // namespace cs::gauge
