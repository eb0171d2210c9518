#include "tools/scenario/WorkbenchInputs.h"

#include <cmath>
#include <cstdio>

#include "tools/scenario/ScenarioFields.h"

namespace cs::preview {

namespace {

constexpr size_t kMaxVariables = 1000;
constexpr size_t kMaxKeys = 10000;
constexpr size_t kMaxNameLength = 256;

// A value as written: a number, a number with a unit ("28 volts"), or a text.
void readValue(const FieldReader& in, const Json& j, const std::string& path, VariableKey& key) {
    if (j.is_boolean()) {
        key.number = j.get<bool>() ? 1.0 : 0.0;
        return;
    }
    if (j.is_number()) {
        key.number = in.finiteNumber(j, path, "a number");
        return;
    }
    const std::string text = in.text(j, path, kMaxNameLength);
    double v = 0.0;
    std::string unit;
    if (splitValue(text, &v, &unit)) {
        unit.erase(unit.find_last_not_of(' ') + 1);
        if (!std::isfinite(v)) {
            in.fail(path, "\"" + text + "\" is not a finite value");
        }
        key.number = v;
        key.unit = unit;
        return;
    }
    key.isText = true;
    key.text = text;
}

VariableKey readKey(const FieldReader& in, const Json& k, const std::string& path, double last) {
    in.expectObject(k, path);
    in.checkKeys(k, path, {"at", "value", "ramp"});
    VariableKey key;
    key.atS = in.required(k, path, fields::kMouseAt);
    if (key.atS < last) {
        in.fail(fieldPath(path, "at"), "times must not decrease from one key to the next");
    }
    readValue(in, in.require(k, path, "value", "a value such as \"28 volts\""),
              fieldPath(path, "value"), key);
    if (const Json* ramp = FieldReader::find(k, "ramp")) {
        key.ramp = in.flag(*ramp, fieldPath(path, "ramp"));
    }
    return key;
}

}  // namespace

std::vector<NamedValue> readLocalVariables(const FieldReader& in, const Json& j,
                                           const std::string& path) {
    if (!j.is_object()) {
        in.fail(path, "expected an object such as {\"ContactScope range\": 6}");
    }
    std::vector<NamedValue> out;
    for (auto it = j.begin(); it != j.end(); ++it) {
        NamedValue v;
        v.name = it.key();
        v.path = fieldPath(path, it.key());
        v.number = in.finiteNumber(it.value(), v.path, "a number");
        out.push_back(std::move(v));
    }
    return out;
}

std::vector<GivenVariable> readAircraftVariables(const FieldReader& in, const Json& j,
                                                 const std::string& path) {
    if (!j.is_object()) {
        in.fail(path, "expected an object such as {\"ELECTRICAL MAIN BUS VOLTAGE\": \"28 volts\"}");
    }
    if (j.size() > kMaxVariables) {
        in.fail(path, "more than " + std::to_string(kMaxVariables) + " variables");
    }
    std::vector<GivenVariable> out;
    for (auto it = j.begin(); it != j.end(); ++it) {
        GivenVariable v;
        v.name = it.key();
        v.path = fieldPath(path, it.key());
        v.line = in.document().lineOf(v.path);
        if (v.name.empty() || v.name.size() > kMaxNameLength) {
            in.fail(v.path, "expected a variable's name such as \"ELECTRICAL MAIN BUS VOLTAGE\"");
        }
        const Json& value = it.value();
        if (value.is_array()) {
            if (value.empty() || value.size() > kMaxKeys) {
                in.fail(v.path, "expected from 1 to " + std::to_string(kMaxKeys) +
                                    " keys {\"at\": time, \"value\": value}");
            }
            double last = -kUnlimited;
            for (size_t i = 0; i < value.size(); ++i) {
                v.keys.push_back(readKey(in, value[i], itemPath(v.path, i), last));
                last = v.keys.back().atS;
            }
        } else {
            VariableKey key;
            readValue(in, value, v.path, key);
            v.keys.push_back(key);
        }
        out.push_back(std::move(v));
    }
    return out;
}

double readTimeOfDay(const FieldReader& in, const Json& j, const std::string& path) {
    const std::string text = in.text(j, path, 16);
    int h = -1, m = -1, s = 0;
    char end = 0;
    const int n = std::sscanf(text.c_str(), "%2d:%2d:%2d%c", &h, &m, &s, &end);
    const int n2 = n == 2 ? std::sscanf(text.c_str(), "%2d:%2d%c", &h, &m, &end) : 0;
    const bool ok =
        (n == 3 || (n == 2 && n2 == 2)) && h >= 0 && h < 24 && m >= 0 && m < 60 && s >= 0 && s < 60;
    if (!ok) {
        in.fail(path, "\"" + text + "\" is not a time of day; expected \"hh:mm\" or \"hh:mm:ss\"");
    }
    return h * 3600.0 + m * 60.0 + s;
}

}  // namespace cs::preview
