// A gauge script compiled once into a flat list of instructions, so each
// evaluation only walks the list. "if{ a } els{ b }" becomes jumps. The
// variables a script names are collected for the host to bind (see
// ScriptEvaluator.h); the script itself knows no variable's meaning.
//
// The operators of the language, as the simulator's gauges use them:
//   arithmetic  + - * / % neg abs flr ceil near min max sqrt pi dgrd rddg rng
//   comparison  == != > < >= <=  (also eq ne gt lt ge le, and &gt; &lt; ...)
//   logic       and or !  (also && || not)
//   stack       d (duplicate) p (pop) r (swap the top two) c (clear)
//   registers   s0..s49 (store, keep) sp0..sp49 (store, pop) l0..l49 (load)
//   control     if{ ... } els{ ... }, quit, labels :1 and jumps g1 (either
//               way), c a b ? (a when c is true, else b), v0 ... vn-1 n i case
//               (the value i places below n: 0 is vn-1)
// and the tables of NumberOperators.h and StringOperators.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/gauge/Diagnostics.h"

namespace cs::gauge {

constexpr int kRegisters = 50;
constexpr int kMaxBlockDepth = 32;
// An evaluation stops after this many instructions: a jump back to a label
// can loop for ever.
constexpr long kMaxSteps = 20000;

// One variable as written: "(>L:ContactScope range, number)" gives kind 'L',
// write true, name "ContactScope range", unit "number". "(C:panel:name)"
// gives kind 'C', panel "panel", name "name".
struct VarRef {
    char kind = 0;  // upper-case letter before the first colon
    bool write = false;
    std::string panel;  // C: only
    std::string name;
    std::string unit;  // after the last comma, trimmed; may be empty
    std::string text;  // as written, without the parentheses
    int line = 0;
};

// Parses the inside of a variable's parentheses; false (with `problem` set)
// when it is not a variable at all.
bool parseVariable(const std::string& text, VarRef& ref, std::string& problem);

enum class Op : uint8_t {
    Number,
    Text,
    Read,
    Write,
    Pi,
    Range,
    Eq,
    Ne,
    JumpIfFalse,
    Jump,
    Dup,
    Pop,
    Swap,
    Clear,
    Store,
    StorePop,
    Load,
    Quit,
    Unary,    // arg: the operator's index in NumberOperators' one-operand table
    Binary,   // arg: its index in the two-operand table
    Strings,  // arg: its index in StringOperators' table
    Choose,   // c a b ?
    Case,     // values, count, index case
};

struct Instruction {
    Op op = Op::Number;
    int32_t arg = 0;  // text, variable or register index; jump target
    double number = 0.0;
    int line = 0;
};

class Script {
  public:
    // False when the script did not compile; it then evaluates to 0.
    bool ok() const { return ok_; }
    const Origin& origin() const { return origin_; }
    const std::string& source() const { return source_; }
    bool empty() const { return code_.empty(); }

    const std::vector<Instruction>& code() const { return code_; }
    const std::vector<std::string>& texts() const { return texts_; }
    const std::vector<VarRef>& variables() const { return variables_; }
    // The host's handle of each variable, parallel to variables(); -1 unbound.
    std::vector<int32_t>& bindings() { return bindings_; }
    const std::vector<int32_t>& bindings() const { return bindings_; }

    // The one warning per script about missing operands (see the evaluator).
    mutable bool underflowReported = false;
    mutable bool loopReported = false;

  private:
    friend Script compileScript(std::string_view, const Origin&, Diagnostics&);
    bool ok_ = true;
    Origin origin_;
    std::string source_;
    std::vector<Instruction> code_;
    std::vector<std::string> texts_;
    std::vector<VarRef> variables_;
    std::vector<int32_t> bindings_;
};

// Compiles `source`, whose first character is on origin.line. Unknown
// operators (with a did-you-mean), malformed variables and unbalanced
// blocks are errors.
Script compileScript(std::string_view source, const Origin& origin, Diagnostics& diagnostics);

// Every word the language has for an operator, for did-you-mean and the
// docs; registers, labels and jumps appear once each ("s0", ":1", "g1").
std::vector<std::string> operatorWords();

// The word an instruction is written with, for messages ("+", "min", "if{").
const char* instructionWord(const Instruction& in);

}  // namespace cs::gauge
