// The gauge language's operators on numbers that need no more than their
// operands - arithmetic, comparisons, logic, functions, bits - as two tables
// (one operand, two operands) that the compiler looks words up in and the
// evaluator calls through. A truth is 1 or 0. The operators with more to
// them (variables, texts, blocks, registers, the stack) are the compiler's
// own, and StringOperators.h has those on texts.
#pragma once

#include <cstddef>

namespace cs::gauge {

struct UnaryOperator {
    const char* word;
    double (*apply)(double);
};

struct BinaryOperator {
    const char* word;
    double (*apply)(double a, double b);  // a pushed first: "a b pow" is a to the b
};

const UnaryOperator* unaryOperators(size_t* count);
const BinaryOperator* binaryOperators(size_t* count);

// The index of `word` in its table, or -1.
int unaryOperator(const char* word);
int binaryOperator(const char* word);

}  // namespace cs::gauge
