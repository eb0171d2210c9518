#include "tools/gauge/ScriptWords.h"

#include "tools/gauge/NumberOperators.h"
#include "tools/gauge/StringOperators.h"

namespace cs::gauge {

namespace {

struct Word {
    const char* text;
    Op op;
};

// Every spelling of every operator without an argument.
constexpr Word kWords[] = {
    {"pi", Op::Pi},     {"rng", Op::Range}, {"==", Op::Eq},     {"eq", Op::Eq},  {"!=", Op::Ne},
    {"ne", Op::Ne},     {"d", Op::Dup},     {"p", Op::Pop},     {"r", Op::Swap}, {"c", Op::Clear},
    {"quit", Op::Quit}, {"?", Op::Choose},  {"case", Op::Case},
};

}  // namespace

bool plainWord(const std::string& w, Op* op) {
    for (const Word& entry : kWords) {
        if (w == entry.text) {
            *op = entry.op;
            return true;
        }
    }
    return false;
}

// "s12" -> Store 12, "sp3" -> StorePop 3, "l49" -> Load 49.
bool registerWord(const std::string& w, Op* op, int32_t* index) {
    size_t digits = 0;
    if (w.size() >= 2 && w[0] == 's' && w[1] == 'p') {
        *op = Op::StorePop;
        digits = 2;
    } else if (!w.empty() && (w[0] == 's' || w[0] == 'l')) {
        *op = w[0] == 's' ? Op::Store : Op::Load;
        digits = 1;
    } else {
        return false;
    }
    if (w.size() == digits || w.size() > digits + 2) {
        return false;
    }
    int32_t n = 0;
    for (size_t i = digits; i < w.size(); ++i) {
        if (w[i] < '0' || w[i] > '9') {
            return false;
        }
        n = n * 10 + (w[i] - '0');
    }
    if (n >= kRegisters) {
        return false;
    }
    *index = n;
    return true;
}

// ":12" -> 12 for a label, "g12" -> 12 for a jump to it; -1 otherwise.
int labelNumber(const std::string& w, char lead) {
    if (w.size() < 2 || w.size() > 6 || w[0] != lead) {
        return -1;
    }
    int n = 0;
    for (size_t i = 1; i < w.size(); ++i) {
        if (w[i] < '0' || w[i] > '9') {
            return -1;
        }
        n = n * 10 + (w[i] - '0');
    }
    return n;
}

std::vector<std::string> operatorWords() {
    std::vector<std::string> names;
    for (const Word& w : kWords) {
        names.emplace_back(w.text);
    }
    for (const StringOperator& o : stringOperators()) {
        names.emplace_back(o.word);
    }
    for (const char* w : {"if{", "els{", "s0", "sp0", "l0", "g1", ":1"}) {
        names.emplace_back(w);
    }
    size_t count = 0;
    const UnaryOperator* unary = unaryOperators(&count);
    for (size_t i = 0; i < count; ++i) {
        names.emplace_back(unary[i].word);
    }
    const BinaryOperator* binary = binaryOperators(&count);
    for (size_t i = 0; i < count; ++i) {
        names.emplace_back(binary[i].word);
    }
    return names;
}

const char* instructionWord(const Instruction& in) {
    size_t count = 0;
    if (in.op == Op::Unary) {
        return unaryOperators(&count)[in.arg].word;
    }
    if (in.op == Op::Binary) {
        return binaryOperators(&count)[in.arg].word;
    }
    if (in.op == Op::Strings) {
        return stringOperators()[static_cast<size_t>(in.arg)].word;
    }
    for (const Word& w : kWords) {
        if (w.op == in.op) {
            return w.text;
        }
    }
    switch (in.op) {
        case Op::Number:
            return "number";
        case Op::Text:
            return "text";
        case Op::Read:
            return "variable";
        case Op::Write:
            return "(>...)";
        case Op::JumpIfFalse:
            return "if{";
        case Op::Jump:
            return "els{";
        case Op::Store:
            return "s";
        case Op::StorePop:
            return "sp";
        case Op::Load:
            return "l";
        default:
            return "?";
    }
}

}  // namespace cs::gauge
