// A value on a gauge script's stack: a number or a text. Operators on
// numbers read a text as the number it spells; operators on texts print a
// number the way the simulator's string formatting does by default.
#pragma once

#include <string>

namespace cs::gauge {

struct Value {
    double number = 0.0;
    std::string text;
    bool isText = false;

    static Value of(double n) { return Value{n, std::string(), false}; }
    static Value ofText(std::string t) { return Value{0.0, std::move(t), true}; }
    // A text reads as the number it spells (0 when it spells none).
    double asNumber() const;
    // A number prints as an integer when whole, else with six digits.
    std::string asText() const;
    bool truth() const { return asNumber() != 0.0; }
};

}  // namespace cs::gauge
