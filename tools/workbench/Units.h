// The simulator's units, one table: each name with its family and how it
// converts to and from the family's base unit (feet, degrees, knots, seconds,
// hertz, inches of mercury, degrees Celsius, a fraction of one, revolutions a
// minute, volts, amps, pounds, gallons). A value is kept in the base unit, so
// one written in meters reads in feet.
#pragma once

#include <string>
#include <vector>

namespace cs::workbench {

enum class Dimension {
    Length,
    Angle,
    Speed,
    Time,
    Frequency,
    Pressure,
    Temperature,
    Fraction,
    AngularRate,
    Potential,
    Current,
    Mass,
    Volume,
    Acceleration,
    MassRate,
    VolumeRate,
    Plain
};

struct Unit {
    const char* name;
    Dimension dimension;
    double perBase;       // this unit's value of one base unit
    double offset = 0.0;  // this unit's value of the base unit's zero
    // Units that are encodings (a transponder code as BCD digits, a radio
    // frequency as BCD): after the linear step on the way out, before it on
    // the way in.
    double (*encode)(double) = nullptr;
    double (*decode)(double) = nullptr;
    double fromBase(double base) const {
        const double v = base * perBase + offset;
        return encode != nullptr ? encode(v) : v;
    }
    double toBase(double value) const {
        return ((decode != nullptr ? decode(value) : value) - offset) / perBase;
    }
};

// The unit of a name, ignoring case; null when the table has none.
const Unit* findUnit(const std::string& name);
// Every name of the table, for did-you-mean.
std::vector<std::string> unitNames();
// A family in words, with two of its units.
const char* dimensionName(Dimension d);
// Feet per minute in a knot.
inline constexpr double kFeetPerMinutePerKnot = 6076.115486 / 60.0;

}  // namespace cs::workbench
