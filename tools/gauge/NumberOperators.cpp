#include "tools/gauge/NumberOperators.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace cs::gauge {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Bitwise operators work on the operands' whole parts as 32-bit integers.
int64_t whole(double x) {
    if (!(std::fabs(x) < 9.2e18)) {
        return 0;
    }
    return static_cast<int64_t>(x);
}
double bits(int64_t v) {
    return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(v)));
}

// Normalised into one turn, 0 inclusive.
double turn(double x, double full) {
    if (!std::isfinite(x)) {
        return 0.0;
    }
    const double r = std::fmod(x, full);
    return r < 0.0 ? r + full : r;
}

double truth(bool b) {
    return b ? 1.0 : 0.0;
}

constexpr UnaryOperator kUnary[] = {
    {"neg", [](double x) { return -x; }},
    {"/-/", [](double x) { return -x; }},
    {"abs", [](double x) { return std::fabs(x); }},
    {"flr", [](double x) { return std::floor(x); }},
    {"ceil", [](double x) { return std::ceil(x); }},
    {"near", [](double x) { return std::round(x); }},
    {"sqrt", [](double x) { return std::sqrt(x); }},
    {"dgrd", [](double x) { return x * kPi / 180.0; }},
    {"rddg", [](double x) { return x * 180.0 / kPi; }},
    {"!", [](double x) { return truth(x == 0.0); }},
    {"not", [](double x) { return truth(x == 0.0); }},
    {"int", [](double x) { return std::trunc(x); }},
    {"sqr", [](double x) { return x * x; }},
    {"++", [](double x) { return x + 1.0; }},
    {"--", [](double x) { return x - 1.0; }},
    {"sin", [](double x) { return std::sin(x); }},
    {"cos", [](double x) { return std::cos(x); }},
    {"tan", [](double x) { return std::tan(x); }},
    {"asin", [](double x) { return std::asin(x); }},
    {"acos", [](double x) { return std::acos(x); }},
    {"atg", [](double x) { return std::atan(x); }},
    {"atan", [](double x) { return std::atan(x); }},
    {"ctg", [](double x) { return std::tan(x) == 0.0 ? 0.0 : 1.0 / std::tan(x); }},
    {"log", [](double x) { return x > 0.0 ? std::log10(x) : 0.0; }},
    {"ln", [](double x) { return x > 0.0 ? std::log(x) : 0.0; }},
    {"exp", [](double x) { return std::exp(x); }},
    {"dnor", [](double x) { return turn(x, 360.0); }},
    {"d360", [](double x) { return turn(x, 360.0); }},
    {"rnor", [](double x) { return turn(x, 2.0 * kPi); }},
    {"~", [](double x) { return bits(~whole(x)); }},
};

constexpr BinaryOperator kBinary[] = {
    {"+", [](double a, double b) { return a + b; }},
    {"-", [](double a, double b) { return a - b; }},
    {"*", [](double a, double b) { return a * b; }},
    // Division and remainder by zero give 0, as in the simulator.
    {"/", [](double a, double b) { return b == 0.0 ? 0.0 : a / b; }},
    {"%", [](double a, double b) { return b == 0.0 ? 0.0 : std::fmod(a, b); }},
    {"min", [](double a, double b) { return std::fmin(a, b); }},
    {"max", [](double a, double b) { return std::fmax(a, b); }},
    {">", [](double a, double b) { return truth(a > b); }},
    {"gt", [](double a, double b) { return truth(a > b); }},
    {"&gt;", [](double a, double b) { return truth(a > b); }},
    {"<", [](double a, double b) { return truth(a < b); }},
    {"lt", [](double a, double b) { return truth(a < b); }},
    {"&lt;", [](double a, double b) { return truth(a < b); }},
    {">=", [](double a, double b) { return truth(a >= b); }},
    {"ge", [](double a, double b) { return truth(a >= b); }},
    {"&gt;=", [](double a, double b) { return truth(a >= b); }},
    {"<=", [](double a, double b) { return truth(a <= b); }},
    {"le", [](double a, double b) { return truth(a <= b); }},
    {"&lt;=", [](double a, double b) { return truth(a <= b); }},
    {"and", [](double a, double b) { return truth(a != 0.0 && b != 0.0); }},
    {"&&", [](double a, double b) { return truth(a != 0.0 && b != 0.0); }},
    {"&amp;&amp;", [](double a, double b) { return truth(a != 0.0 && b != 0.0); }},
    {"or", [](double a, double b) { return truth(a != 0.0 || b != 0.0); }},
    {"||", [](double a, double b) { return truth(a != 0.0 || b != 0.0); }},
    {"pow", [](double a, double b) { return std::pow(a, b); }},
    {"atg2", [](double a, double b) { return std::atan2(a, b); }},
    {"div", [](double a, double b) { return b == 0.0 ? 0.0 : std::trunc(a / b); }},
    {"&", [](double a, double b) { return bits(whole(a) & whole(b)); }},
    {"&amp;", [](double a, double b) { return bits(whole(a) & whole(b)); }},
    {"|", [](double a, double b) { return bits(whole(a) | whole(b)); }},
    {"^", [](double a, double b) { return bits(whole(a) ^ whole(b)); }},
    {"<<", [](double a, double b) { return bits(whole(a) << (whole(b) & 31)); }},
    {"&lt;&lt;", [](double a, double b) { return bits(whole(a) << (whole(b) & 31)); }},
    {">>", [](double a, double b) { return bits((whole(a) & 0xFFFFFFFF) >> (whole(b) & 31)); }},
    {"&gt;&gt;",
     [](double a, double b) { return bits((whole(a) & 0xFFFFFFFF) >> (whole(b) & 31)); }},
};

template <class T, size_t N>
int find(const T (&table)[N], const char* word) {
    for (size_t i = 0; i < N; ++i) {
        if (std::strcmp(table[i].word, word) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

const UnaryOperator* unaryOperators(size_t* count) {
    *count = std::size(kUnary);
    return kUnary;
}

const BinaryOperator* binaryOperators(size_t* count) {
    *count = std::size(kBinary);
    return kBinary;
}

int unaryOperator(const char* word) {
    return find(kUnary, word);
}

int binaryOperator(const char* word) {
    return find(kBinary, word);
}

}  // namespace cs::gauge
