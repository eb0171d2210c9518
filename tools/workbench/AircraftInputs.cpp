#include "tools/workbench/AircraftInputs.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "simhost/SimHost.h"
#include "tools/gauge/Diagnostics.h"
#include "tools/scenario/InputError.h"

namespace cs::workbench {

namespace {

struct MotionInfo {
    const char* name;
    Dimension dimension;
    const char* natural;  // what "number" gives
};

enum Motion { Altitude, Indicated, AboveGround, Heading, VerticalSpeed, GroundSpeed, OnGround };

constexpr MotionInfo kMotion[] = {
    {"PLANE ALTITUDE", Dimension::Length, "feet"},
    {"INDICATED ALTITUDE", Dimension::Length, "feet"},
    {"PLANE ALT ABOVE GROUND", Dimension::Length, "feet"},
    {"PLANE HEADING DEGREES TRUE", Dimension::Angle, "degrees"},
    {"VERTICAL SPEED", Dimension::Speed, "feet per minute"},
    {"GROUND VELOCITY", Dimension::Speed, "knots"},
    {"SIM ON GROUND", Dimension::Plain, "bool"},
};

enum Clock { SimulationTime, AbsoluteTime, LocalTime, ZuluTime };

constexpr const char* kClock[] = {"SIMULATION TIME", "ABSOLUTE TIME", "LOCAL TIME", "ZULU TIME"};

// ABSOLUTE TIME counts seconds from 1 January of year 1; a run starts on
// 1 January 2000 at its local time, and the workbench's zone is UTC.
constexpr double kSecondsTo2000 = 730119.0 * 86400.0;

std::string canonical(const std::string& name) {
    std::string out;
    for (char c : name) {
        if (c == ' ' && (out.empty() || out.back() == ' ' || out.back() == ':')) {
            continue;
        }
        if (c == ':' && !out.empty() && out.back() == ' ') {
            out.pop_back();
        }
        out += c;
    }
    while (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    return gauge::lowerAscii(out);
}

[[noreturn]] void refuse(const preview::PreviewScenario& s, const preview::GivenVariable& v,
                         const std::string& problem) {
    throw preview::InputError(s.file, v.line, v.path, problem);
}

}  // namespace

bool sameVariableName(const std::string& a, const std::string& b) {
    return canonical(a) == canonical(b);
}

void AircraftInputs::admit(const preview::PreviewScenario& scenario) {
    for (const preview::GivenVariable& v : scenario.aircraftVariables) {
        for (const MotionInfo& m : kMotion) {
            if (sameVariableName(v.name, m.name)) {
                refuse(scenario, v,
                       std::string(m.name) +
                           " follows the own aircraft of the scenario (\"own\"), "
                           "as the module sees it; it cannot be given here");
            }
        }
        Given given{v.name, Dimension::Plain, nullptr};
        bool text = false;
        for (const preview::VariableKey& k : v.keys) {
            text = text || k.isText;
            if (k.unit.empty()) {
                continue;
            }
            const Unit* unit = findUnit(k.unit);
            if (unit == nullptr) {
                refuse(scenario, v,
                       "unknown unit \"" + k.unit + "\"" + gauge::didYouMean(k.unit, unitNames()));
            }
            if (given.natural != nullptr && unit->dimension != given.dimension) {
                refuse(scenario, v,
                       "the keys mix units of different kinds (\"" +
                           std::string(given.natural->name) + "\" and \"" + k.unit + "\")");
            }
            if (given.natural == nullptr) {
                given.natural = unit;
                given.dimension = unit->dimension;
            }
        }
        if (text && given.natural != nullptr) {
            refuse(scenario, v, "the keys mix texts and numbers");
        }
        bool known = false;
        for (Given& g : given_) {
            if (sameVariableName(g.name, v.name)) {
                known = true;
                if (g.natural != nullptr && given.natural != nullptr &&
                    g.dimension != given.dimension) {
                    refuse(scenario, v,
                           "given as " + std::string(dimensionName(g.dimension)) +
                               " in another scenario");
                }
                g.natural = g.natural != nullptr ? g.natural : given.natural;
                g.dimension = g.natural != nullptr ? g.natural->dimension : g.dimension;
            }
        }
        if (!known) {
            given_.push_back(given);
        }
    }
}

void AircraftInputs::use(const preview::PreviewScenario& scenario) {
    localTimeS_ = scenario.localTimeS;
    values_.assign(given_.size(), {});
    for (const preview::GivenVariable& v : scenario.aircraftVariables) {
        for (size_t i = 0; i < given_.size(); ++i) {
            if (!sameVariableName(given_[i].name, v.name)) {
                continue;
            }
            for (const preview::VariableKey& k : v.keys) {
                Key key{k.atS, gauge::Value::ofText(k.text), k.ramp};
                if (!k.isText) {
                    const Unit* unit = k.unit.empty() ? given_[i].natural : findUnit(k.unit);
                    key.value =
                        gauge::Value::of(unit != nullptr ? unit->toBase(k.number) : k.number);
                }
                values_[i].push_back(std::move(key));
            }
        }
    }
}

bool AircraftInputs::find(char kind, const std::string& name, Source* out) const {
    if (kind == 'A') {
        for (size_t i = 0; i < std::size(kMotion); ++i) {
            if (sameVariableName(name, kMotion[i].name)) {
                *out = Source{Kind::Motion, static_cast<int>(i), kMotion[i].dimension,
                              findUnit(kMotion[i].natural)};
                return true;
            }
        }
        for (size_t i = 0; i < given_.size(); ++i) {
            if (sameVariableName(name, given_[i].name)) {
                *out = Source{Kind::Given, static_cast<int>(i), given_[i].dimension,
                              given_[i].natural};
                return true;
            }
        }
        return false;
    }
    if (kind == 'E' || kind == 'P') {
        for (size_t i = 0; i < std::size(kClock); ++i) {
            if (sameVariableName(name, kClock[i])) {
                *out =
                    Source{Kind::Clock, static_cast<int>(i), Dimension::Time, findUnit("seconds")};
                return true;
            }
        }
    }
    return false;
}

std::vector<std::string> AircraftInputs::names(char kind) const {
    std::vector<std::string> out;
    if (kind == 'A') {
        for (const MotionInfo& m : kMotion) {
            out.emplace_back(m.name);
        }
        for (const Given& g : given_) {
            out.push_back(g.name);
        }
    } else {
        out.assign(std::begin(kClock), std::end(kClock));
    }
    return out;
}

double AircraftInputs::motion(int index, sim::SimHost& host) {
    const sim::Aircraft& own = host.scenario().own();
    switch (index) {
        case Altitude:
            return own.trueAltitude;
        case Indicated:
            return own.indicatedAltitude;
        case AboveGround:
            return own.altAboveGround;
        case Heading:
            return own.headingTrue;
        case VerticalSpeed:
            return own.verticalSpeed / kFeetPerMinutePerKnot;
        case GroundSpeed:
            return std::hypot(own.velocityNorth, own.velocityEast);
        default:
            return own.altAboveGround <= 0.0 ? 1.0 : 0.0;
    }
}

double AircraftInputs::clock(int index, double t) const {
    const double day = std::fmod(localTimeS_ + t, 86400.0);
    switch (index) {
        case SimulationTime:
            return t;
        case AbsoluteTime:
            return kSecondsTo2000 + localTimeS_ + t;
        default:  // local and zulu alike
            return day;
    }
}

void AircraftInputs::read(const Source& source, sim::SimHost& host, gauge::Value& out) const {
    out.isText = false;
    if (source.kind == Kind::Motion) {
        out.number = motion(source.index, host);
        return;
    }
    if (source.kind == Kind::Clock) {
        out.number = clock(source.index, host.time());
        return;
    }
    out.number = 0.0;
    const size_t i = static_cast<size_t>(source.index);
    if (i >= values_.size() || values_[i].empty()) {
        return;  // given by another scenario, not this one
    }
    const std::vector<Key>& keys = values_[i];
    const double t = host.time();
    // The first key still to come (keys are in time order).
    const size_t next =
        static_cast<size_t>(std::upper_bound(keys.begin(), keys.end(), t + 1e-9,
                                             [](double now, const Key& k) { return now < k.atS; }) -
                            keys.begin());
    if (next < keys.size() && next > 0 && keys[next].ramp && !keys[next].value.isText) {
        const Key& a = keys[next - 1];
        const Key& b = keys[next];
        const double f = b.atS > a.atS ? (t - a.atS) / (b.atS - a.atS) : 1.0;
        out.number = a.value.number + (b.value.number - a.value.number) * f;
        return;
    }
    const Key& held = keys[next > 0 ? next - 1 : 0];
    out.isText = held.value.isText;
    out.number = held.value.number;
    if (held.value.isText) {
        out.text = held.value.text;
    }
}

}  // namespace cs::workbench
