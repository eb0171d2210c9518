#include "tools/scenario/JsonFields.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace cs::preview {

namespace {

// The units of each quantity, compared ignoring case ("NM" is "nm").
struct UnitInfo {
    const char* what;
    const char* example;
    struct Unit {
        const char* name;
        double factor;  // to the module's unit
    };
    std::vector<Unit> units;
};

const UnitInfo& unitInfo(Written written) {
    static const UnitInfo distance{"a distance", "\"8 nm\"", {{"nm", 1.0}, {"nmi", 1.0}}};
    static const UnitInfo altitude{"an altitude", "\"10000 ft\"", {{"ft", 1.0}, {"feet", 1.0}}};
    static const UnitInfo speed{
        "a speed", "\"250 kt\"", {{"kt", 1.0}, {"kts", 1.0}, {"knots", 1.0}}};
    static const UnitInfo vs{"a vertical speed", "\"-1500 fpm\"", {{"fpm", 1.0}, {"ft/min", 1.0}}};
    static const UnitInfo time{"a time", "\"90 s\"", {{"s", 1.0}, {"sec", 1.0}, {"min", 60.0}}};
    switch (written) {
        case Written::Distance:
            return distance;
        case Written::Altitude:
            return altitude;
        case Written::Speed:
            return speed;
        case Written::VerticalSpeed:
            return vs;
        default:
            return time;
    }
}

// A limit as a message writes it: "3600", "0.125".
std::string limitText(double v) {
    char text[32];
    std::snprintf(text, sizeof text, v == std::floor(v) && std::fabs(v) < 1e15 ? "%.0f" : "%g", v);
    return text;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
}

}  // namespace

// The number at the start of `text` and what follows it, leading spaces
// removed; false when the text does not start with a number.
bool splitValue(const std::string& text, double* value, std::string* unit) {
    const char* begin = text.c_str();
    char* end = nullptr;
    *value = std::strtod(begin, &end);
    *unit = end;
    unit->erase(0, unit->find_first_not_of(' '));
    return end != begin;
}

std::string describe(const char* text, const NumberField& field) {
    std::string out = text != nullptr ? text : "";
    replaceAll(out, "{min}", limitText(field.min));
    replaceAll(out, "{max}", limitText(field.max));
    return out;
}

std::string lowerCase(std::string word) {
    for (char& c : word) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return word;
}

const char* typeName(const Json& j) {
    if (j.is_number()) {
        return "a number";
    }
    if (j.is_string()) {
        return "a text";
    }
    if (j.is_boolean()) {
        return "true/false";
    }
    if (j.is_array()) {
        return "a list";
    }
    if (j.is_object()) {
        return "an object";
    }
    return "null";
}

void FieldReader::expectObject(const Json& j, const std::string& path) const {
    if (!j.is_object()) {
        fail(path, std::string("expected an object {...}, found ") + typeName(j));
    }
}

void FieldReader::checkKeys(const Json& object, const std::string& path,
                            const std::vector<std::string>& allowed) const {
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (std::find(allowed.begin(), allowed.end(), it.key()) != allowed.end()) {
            continue;
        }
        std::string problem = "unknown field \"" + it.key() + "\"";
        const std::string guess = closestName(it.key(), allowed);
        if (!guess.empty()) {
            problem += " (did you mean \"" + guess + "\"?)";
        }
        std::string list;
        for (const std::string& a : allowed) {
            list += (list.empty() ? "" : ", ") + a;
        }
        fail(fieldPath(path, it.key()), problem + "; expected one of: " + list);
    }
}

const Json* FieldReader::find(const Json& object, const std::string& key) {
    auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

const Json& FieldReader::require(const Json& object, const std::string& path,
                                 const std::string& key, const std::string& what) const {
    const Json* j = find(object, key);
    if (j == nullptr) {
        fail(fieldPath(path, key), "missing required field \"" + key + "\"; expected " + what);
    }
    return *j;
}

double FieldReader::number(const Json& j, const std::string& path, const NumberField& field) const {
    const double v = read(j, path, field);
    checkLimits(path, v, field);
    return v;
}

std::optional<double> FieldReader::optional(const Json& object, const std::string& path,
                                            const NumberField& field) const {
    if (const Json* j = find(object, field.key)) {
        return number(*j, fieldPath(path, field.key), field);
    }
    return std::nullopt;
}

double FieldReader::required(const Json& object, const std::string& path,
                             const NumberField& field) const {
    const Json& j = require(object, path, field.key, describe(field.missing, field));
    return number(j, fieldPath(path, field.key), field);
}

double FieldReader::read(const Json& j, const std::string& path, const NumberField& field) const {
    switch (field.written) {
        case Written::Number:
            return finiteNumber(j, path, describe(field.kind ? field.kind : field.allowed, field));
        case Written::WholeNumber:
            return wholeNumber(j, path, field);
        case Written::Angle:
            return angle(j, path);
        default:
            return quantity(j, path, field.written);
    }
}

void FieldReader::checkLimits(const std::string& path, double v, const NumberField& field) const {
    if (!(v >= field.min && v <= field.max)) {
        std::ostringstream s;
        s << v << " is impossible; expected " << describe(field.allowed, field);
        fail(path, s.str());
    }
}

double FieldReader::finiteNumber(const Json& j, const std::string& path,
                                 const std::string& what) const {
    if (!j.is_number()) {
        fail(path, std::string("expected ") + what + ", found " + typeName(j));
    }
    const double v = j.get<double>();
    if (!std::isfinite(v)) {
        fail(path, "expected a finite number");
    }
    return v;
}

double FieldReader::wholeNumber(const Json& j, const std::string& path,
                                const NumberField& field) const {
    const std::string what = describe(field.allowed, field);
    const double v = finiteNumber(j, path, what);
    if (v != std::floor(v)) {
        fail(path, j.dump() + " is not a whole number; expected " + what);
    }
    return v;
}

double FieldReader::quantity(const Json& j, const std::string& path, Written written) const {
    const UnitInfo& info = unitInfo(written);
    const std::string expected = std::string(info.what) + " with its unit, such as " + info.example;
    if (j.is_number()) {
        fail(path, j.dump() + " has no unit; expected " + expected);
    }
    if (!j.is_string()) {
        fail(path, std::string("expected ") + expected + ", found " + typeName(j));
    }
    const std::string text = j.get<std::string>();
    double v = 0.0;
    std::string unit;
    if (!splitValue(text, &v, &unit)) {
        fail(path, "\"" + text + "\" is not " + expected);
    }
    unit.erase(unit.find_last_not_of(' ') + 1);
    if (unit.empty()) {
        fail(path, "\"" + text + "\" has no unit; expected " + expected);
    }
    for (const UnitInfo::Unit& u : info.units) {
        if (lowerCase(unit) == u.name) {
            if (!std::isfinite(v)) {
                fail(path, "\"" + text + "\" is not a finite value");
            }
            return v * u.factor;
        }
    }
    std::string list;
    for (const UnitInfo::Unit& u : info.units) {
        list += (list.empty() ? "\"" : " or \"") + std::string(u.name) + "\"";
    }
    fail(path, "unknown unit \"" + unit + "\"; expected " + list + ", such as " + info.example);
}

double FieldReader::angle(const Json& j, const std::string& path) const {
    if (j.is_number()) {
        return finiteNumber(j, path, "an angle in degrees");
    }
    if (!j.is_string()) {
        fail(path, std::string("expected an angle in degrees, found ") + typeName(j));
    }
    const std::string text = j.get<std::string>();
    double v = 0.0;
    std::string unit;
    if (!splitValue(text, &v, &unit) || lowerCase(unit) != "deg" || !std::isfinite(v)) {
        fail(path, "\"" + text + "\" is not an angle; expected degrees such as 270 or \"270 deg\"");
    }
    return v;
}

std::string FieldReader::text(const Json& j, const std::string& path, size_t maxLength) const {
    if (!j.is_string()) {
        fail(path, std::string("expected a text, found ") + typeName(j));
    }
    std::string s = j.get<std::string>();
    if (s.size() > maxLength) {
        fail(path, "text of " + std::to_string(s.size()) + " characters; expected at most " +
                       std::to_string(maxLength));
    }
    return s;
}

bool FieldReader::flag(const Json& j, const std::string& path) const {
    if (!j.is_boolean()) {
        fail(path, std::string("expected true or false, found ") + typeName(j));
    }
    return j.get<bool>();
}

std::string closestName(const std::string& word, const std::vector<std::string>& candidates) {
    const std::string w = lowerCase(word);
    std::string best;
    size_t bestDistance = 3;  // at most two edits count as a misspelling
    for (const std::string& c : candidates) {
        const std::string l = lowerCase(c);
        std::vector<size_t> row(l.size() + 1);
        for (size_t k = 0; k <= l.size(); ++k) {
            row[k] = k;
        }
        for (size_t i = 1; i <= w.size(); ++i) {
            size_t diagonal = row[0];
            row[0] = i;
            for (size_t k = 1; k <= l.size(); ++k) {
                const size_t above = row[k];
                row[k] = std::min(
                    {row[k] + 1, row[k - 1] + 1, diagonal + (w[i - 1] == l[k - 1] ? 0 : 1)});
                diagonal = above;
            }
        }
        if (row[l.size()] < bestDistance) {
            bestDistance = row[l.size()];
            best = c;
        }
    }
    return best;
}

}  // namespace cs::preview
