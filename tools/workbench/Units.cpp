#include "tools/workbench/Units.h"

#include "tools/gauge/Diagnostics.h"

namespace cs::workbench {

namespace {

constexpr double kMetresPerFoot = 0.3048;
constexpr double kPi = 3.14159265358979323846;

// Four decimal digits as four BCD nibbles: 1200 -> 0x1200 (the value is
// taken modulo 10000, as the four digits a 16-bit word holds).
double toBcd16(double v) {
    if (!(v >= 0.0 && v < 1e9)) {
        return 0.0;
    }
    long digits = static_cast<long>(v + 0.5) % 10000;
    long out = 0;
    for (int shift = 0; shift < 16; shift += 4, digits /= 10) {
        out |= (digits % 10) << shift;
    }
    return static_cast<double>(out);
}

double fromBcd16(double v) {
    if (!(v >= 0.0 && v < 65536.0)) {
        return 0.0;
    }
    const long word = static_cast<long>(v);
    long out = 0;
    for (int shift = 12; shift >= 0; shift -= 4) {
        out = out * 10 + ((word >> shift) & 0xF) % 10;
    }
    return static_cast<double>(out);
}

// A radio frequency in MHz as BCD of its four digits after the leading 1:
// 118.50 MHz -> 0x1850.
double frequencyToBcd16(double mhz) {
    return toBcd16((mhz - 100.0) * 100.0);
}
double frequencyFromBcd16(double bcd) {
    return 100.0 + fromBcd16(bcd) / 100.0;
}

// The simulator's unit names (compared ignoring case), each with how many of
// it make one base unit of its family, and for temperatures where its zero
// lies (value = base * perBase + offset).
constexpr Unit kUnits[] = {
    {"feet", Dimension::Length, 1.0},
    {"foot", Dimension::Length, 1.0},
    {"ft", Dimension::Length, 1.0},
    {"inches", Dimension::Length, 12.0},
    {"inch", Dimension::Length, 12.0},
    {"in", Dimension::Length, 12.0},
    {"yards", Dimension::Length, 1.0 / 3.0},
    {"yard", Dimension::Length, 1.0 / 3.0},
    {"meters", Dimension::Length, kMetresPerFoot},
    {"meter", Dimension::Length, kMetresPerFoot},
    {"m", Dimension::Length, kMetresPerFoot},
    {"centimeters", Dimension::Length, kMetresPerFoot * 100.0},
    {"centimeter", Dimension::Length, kMetresPerFoot * 100.0},
    {"cm", Dimension::Length, kMetresPerFoot * 100.0},
    {"millimeters", Dimension::Length, kMetresPerFoot * 1000.0},
    {"millimeter", Dimension::Length, kMetresPerFoot * 1000.0},
    {"mm", Dimension::Length, kMetresPerFoot * 1000.0},
    {"kilometers", Dimension::Length, kMetresPerFoot / 1000.0},
    {"kilometer", Dimension::Length, kMetresPerFoot / 1000.0},
    {"km", Dimension::Length, kMetresPerFoot / 1000.0},
    {"nautical miles", Dimension::Length, kMetresPerFoot / 1852.0},
    {"nautical mile", Dimension::Length, kMetresPerFoot / 1852.0},
    {"nmiles", Dimension::Length, kMetresPerFoot / 1852.0},
    {"nmile", Dimension::Length, kMetresPerFoot / 1852.0},
    {"decinmile", Dimension::Length, kMetresPerFoot / 185.2},
    {"decinmiles", Dimension::Length, kMetresPerFoot / 185.2},
    {"miles", Dimension::Length, 1.0 / 5280.0},
    {"mile", Dimension::Length, 1.0 / 5280.0},
    {"degrees", Dimension::Angle, 1.0},
    {"degree", Dimension::Angle, 1.0},
    {"radians", Dimension::Angle, kPi / 180.0},
    {"radian", Dimension::Angle, kPi / 180.0},
    {"knots", Dimension::Speed, 1.0},
    {"kts", Dimension::Speed, 1.0},
    {"knot", Dimension::Speed, 1.0},
    {"kilometers per hour", Dimension::Speed, 1.852},
    {"kilometer per hour", Dimension::Speed, 1.852},
    {"kph", Dimension::Speed, 1.852},
    {"miles per hour", Dimension::Speed, 1852.0 / 1609.344},
    {"mph", Dimension::Speed, 1852.0 / 1609.344},
    {"feet per minute", Dimension::Speed, kFeetPerMinutePerKnot},
    {"feet/minute", Dimension::Speed, kFeetPerMinutePerKnot},
    {"ft/min", Dimension::Speed, kFeetPerMinutePerKnot},
    {"feet per second", Dimension::Speed, kFeetPerMinutePerKnot / 60.0},
    {"feet/second", Dimension::Speed, kFeetPerMinutePerKnot / 60.0},
    {"meters per second", Dimension::Speed, 1852.0 / 3600.0},
    {"meters/second", Dimension::Speed, 1852.0 / 3600.0},
    {"m/s", Dimension::Speed, 1852.0 / 3600.0},
    {"meters per minute", Dimension::Speed, 1852.0 / 60.0},
    {"seconds", Dimension::Time, 1.0},
    {"second", Dimension::Time, 1.0},
    {"minutes", Dimension::Time, 1.0 / 60.0},
    {"minute", Dimension::Time, 1.0 / 60.0},
    {"hours", Dimension::Time, 1.0 / 3600.0},
    {"hour", Dimension::Time, 1.0 / 3600.0},
    {"number", Dimension::Plain, 1.0},
    {"numbers", Dimension::Plain, 1.0},
    {"bool", Dimension::Plain, 1.0},
    {"boolean", Dimension::Plain, 1.0},
    {"enum", Dimension::Plain, 1.0},
    {"hertz", Dimension::Frequency, 1.0},
    {"hz", Dimension::Frequency, 1.0},
    {"kilohertz", Dimension::Frequency, 1e-3},
    {"khz", Dimension::Frequency, 1e-3},
    {"megahertz", Dimension::Frequency, 1e-6},
    {"mhz", Dimension::Frequency, 1e-6},
    {"inches of mercury", Dimension::Pressure, 1.0},
    {"inhg", Dimension::Pressure, 1.0},
    {"millibars", Dimension::Pressure, 33.8639},
    {"millibar", Dimension::Pressure, 33.8639},
    {"mbar", Dimension::Pressure, 33.8639},
    {"hectopascals", Dimension::Pressure, 33.8639},
    {"hpa", Dimension::Pressure, 33.8639},
    {"pascals", Dimension::Pressure, 3386.39},
    {"pa", Dimension::Pressure, 3386.39},
    {"kilopascals", Dimension::Pressure, 3.38639},
    {"kpa", Dimension::Pressure, 3.38639},
    {"psi", Dimension::Pressure, 0.4911541},
    {"pounds per square inch", Dimension::Pressure, 0.4911541},
    {"atmospheres", Dimension::Pressure, 0.0334211},
    {"atm", Dimension::Pressure, 0.0334211},
    {"millimeters of mercury", Dimension::Pressure, 25.4},
    {"mmhg", Dimension::Pressure, 25.4},
    {"pounds per square foot", Dimension::Pressure, 70.7262},
    {"psf", Dimension::Pressure, 70.7262},
    {"percent over 100", Dimension::Fraction, 1.0},
    {"percent", Dimension::Fraction, 100.0},
    {"position", Dimension::Fraction, 16384.0},
    {"position 16k", Dimension::Fraction, 16384.0},
    {"position 32k", Dimension::Fraction, 32768.0},
    {"position 128", Dimension::Fraction, 128.0},
    {"rpm", Dimension::AngularRate, 1.0},
    {"revolutions per minute", Dimension::AngularRate, 1.0},
    {"degrees per second", Dimension::AngularRate, 6.0},
    {"radians per second", Dimension::AngularRate, kPi / 30.0},
    {"volts", Dimension::Potential, 1.0},
    {"volt", Dimension::Potential, 1.0},
    {"amps", Dimension::Current, 1.0},
    {"amperes", Dimension::Current, 1.0},
    {"ampere", Dimension::Current, 1.0},
    {"pounds", Dimension::Mass, 1.0},
    {"pound", Dimension::Mass, 1.0},
    {"lbs", Dimension::Mass, 1.0},
    {"kilograms", Dimension::Mass, 0.45359237},
    {"kilogram", Dimension::Mass, 0.45359237},
    {"kg", Dimension::Mass, 0.45359237},
    {"slugs", Dimension::Mass, 0.0310809502},
    {"gallons", Dimension::Volume, 1.0},
    {"gallon", Dimension::Volume, 1.0},
    {"liters", Dimension::Volume, 3.785411784},
    {"liter", Dimension::Volume, 3.785411784},
    {"litres", Dimension::Volume, 3.785411784},
    {"quarts", Dimension::Volume, 4.0},
    {"celsius", Dimension::Temperature, 1.0, 0.0},
    {"degrees celsius", Dimension::Temperature, 1.0, 0.0},
    {"fahrenheit", Dimension::Temperature, 1.8, 32.0},
    {"degrees fahrenheit", Dimension::Temperature, 1.8, 32.0},
    {"kelvin", Dimension::Temperature, 1.0, 273.15},
    {"rankine", Dimension::Temperature, 1.8, 491.67},
    {"feet per second squared", Dimension::Acceleration, 1.0},
    {"meters per second squared", Dimension::Acceleration, kMetresPerFoot},
    {"pounds per hour", Dimension::MassRate, 1.0},
    {"kilograms per hour", Dimension::MassRate, 0.45359237},
    {"gallons per hour", Dimension::VolumeRate, 1.0},
    {"liters per hour", Dimension::VolumeRate, 3.785411784},
    {"bco16", Dimension::Plain, 1.0, 0.0, toBcd16, fromBcd16},
    {"frequency bcd16", Dimension::Frequency, 1e-6, 0.0, frequencyToBcd16, frequencyFromBcd16},
};

// Each family, in messages: what it is and two of its units.
constexpr struct {
    Dimension dimension;
    const char* text;
} kDimensionNames[] = {
    {Dimension::Length, "a length (feet, meters)"},
    {Dimension::Angle, "an angle (degrees, radians)"},
    {Dimension::Speed, "a speed (knots, feet per minute)"},
    {Dimension::Time, "a time (seconds, minutes)"},
    {Dimension::Frequency, "a frequency (hertz, MHz)"},
    {Dimension::Pressure, "a pressure (inHg, millibars)"},
    {Dimension::Temperature, "a temperature (celsius, fahrenheit)"},
    {Dimension::Fraction, "a fraction (percent, position)"},
    {Dimension::AngularRate, "a turning rate (rpm, degrees per second)"},
    {Dimension::Potential, "a voltage (volts)"},
    {Dimension::Current, "a current (amps)"},
    {Dimension::Mass, "a mass (pounds, kilograms)"},
    {Dimension::Volume, "a volume (gallons, liters)"},
    {Dimension::Acceleration, "an acceleration (feet per second squared)"},
    {Dimension::MassRate, "a mass flow (pounds per hour)"},
    {Dimension::VolumeRate, "a volume flow (gallons per hour)"},
    {Dimension::Plain, "a plain number (number, bool)"},
};

}  // namespace

const Unit* findUnit(const std::string& name) {
    for (const Unit& u : kUnits) {
        if (gauge::equalIgnoringCase(name, u.name)) {
            return &u;
        }
    }
    return nullptr;
}

std::vector<std::string> unitNames() {
    std::vector<std::string> v;
    for (const Unit& u : kUnits) {
        v.emplace_back(u.name);
    }
    return v;
}

const char* dimensionName(Dimension d) {
    for (const auto& entry : kDimensionNames) {
        if (entry.dimension == d) {
            return entry.text;
        }
    }
    return "a plain number (number, bool)";
}

}  // namespace cs::workbench
