// The words of the gauge language's operators, as the compiler looks them up:
// the table of those without an argument (the number and text operators are
// in NumberOperators.h and StringOperators.h), registers ("s12", "sp3",
// "l49"), labels (":1") and jumps ("g1").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/gauge/Script.h"

namespace cs::gauge {

// The instruction of an operator without an argument ("d", "==", "case");
// false when the word is none.
bool plainWord(const std::string& w, Op* op);

// "s12" -> Store 12, "sp3" -> StorePop 3, "l49" -> Load 49.
bool registerWord(const std::string& w, Op* op, int32_t* index);

// ":12" -> 12 for a label, "g12" -> 12 for a jump to it; -1 otherwise.
int labelNumber(const std::string& w, char lead);

}  // namespace cs::gauge
