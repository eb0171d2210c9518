#include "tools/scenario/NameResolution.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "simhost/GaugeHost.h"
#include "tools/scenario/InputError.h"
#include "tools/scenario/JsonFields.h"

namespace cs::preview {

namespace {

using sim::kParameterTypeInteger;
using sim::kParameterTypeString;

const ModuleVocabulary::Parameter& findParameter(const std::string& file, const NamedValue& v,
                                                 const ModuleVocabulary& vocabulary) {
    std::vector<std::string> names;
    for (const ModuleVocabulary::Parameter& p : vocabulary.parameters) {
        if (lowerCase(p.name) == lowerCase(v.name)) {
            return p;
        }
        names.push_back(p.name);
    }
    std::string problem = "unknown draw parameter \"" + v.name + "\"";
    const std::string guess = closestName(v.name, names);
    if (!guess.empty()) {
        problem += " (did you mean \"" + guess + "\"?)";
    }
    throw InputError(file, v.line, v.path,
                     problem +
                         "; expected one of the module's parameter names, such "
                         "as \"Range\" or \"TADetail\" (docs/kit/reference.md)");
}

// Colours read best in hexadecimal: "0xFFFF00", taken as its 32-bit pattern.
void readHexadecimal(const std::string& file, const ModuleVocabulary::Parameter& parameter,
                     NamedValue& v) {
    const std::string& t = v.text;
    const bool hex = parameter.type == kParameterTypeInteger && t.size() > 2 && t.size() <= 10 &&
                     t[0] == '0' && (t[1] == 'x' || t[1] == 'X') &&
                     std::all_of(t.begin() + 2, t.end(), [](char c) {
                         return std::isxdigit(static_cast<unsigned char>(c));
                     });
    if (!hex) {
        throw InputError(
            file, v.line, v.path,
            "\"" + parameter.name + "\" takes a number" +
                (parameter.type == kParameterTypeInteger ? " (colours may be written \"0xRRGGBB\")"
                                                         : "") +
                ", found the text \"" + t + "\"");
    }
    v.kind = NamedValue::Kind::Number;
    v.number = static_cast<double>(std::strtoul(t.c_str() + 2, nullptr, 16));
    if (v.number > 2147483647.0) {
        v.number -= 4294967296.0;  // the 32-bit pattern as a signed integer
    }
}

void resolveParameter(const std::string& file, NamedValue& v, const ModuleVocabulary& vocabulary) {
    const ModuleVocabulary::Parameter& match = findParameter(file, v, vocabulary);
    v.id = match.id;
    v.type = match.type;
    if (match.type == kParameterTypeString) {
        if (v.kind != NamedValue::Kind::Text) {
            throw InputError(
                file, v.line, v.path,
                "\"" + match.name + "\" is a text parameter; expected a text such as \"Arial\"");
        }
        return;
    }
    if (v.kind == NamedValue::Kind::Text) {
        readHexadecimal(file, match, v);
    }
    if (match.type == kParameterTypeInteger &&
        (v.number != std::floor(v.number) || v.number < -2147483648.0 || v.number > 2147483647.0)) {
        std::ostringstream s;
        s << "\"" << match.name << "\" is a 32-bit integer parameter; " << v.number
          << " is not a whole number in its range";
        throw InputError(file, v.line, v.path, s.str());
    }
}

void resolveProperty(const std::string& file, NamedValue& v, const ModuleVocabulary& vocabulary) {
    int32_t id = -1;
    if (!vocabulary.propertyId || !vocabulary.propertyId(v.name, &id)) {
        throw InputError(file, v.line, v.path,
                         "unknown gauge property \"" + v.name +
                             "\"; expected a writable property such as \"range\", "
                             "\"brightness\" or \"timeSeparationTA\"");
    }
    if (!vocabulary.propertyWritable || !vocabulary.propertyWritable(id)) {
        throw InputError(file, v.line, v.path,
                         "property \"" + v.name +
                             "\" is read-only; expected a writable property such as "
                             "\"range\" or \"altSeparationRA\"");
    }
    int32_t mouseX = -1, mouseY = -1;
    vocabulary.propertyId("mouseRelPosX", &mouseX);
    vocabulary.propertyId("mouseRelPosY", &mouseY);
    if (id == mouseX || id == mouseY) {
        throw InputError(file, v.line, v.path,
                         "the mouse position is given over time in \"mouse\"; expected "
                         "[{\"at\": \"0 s\", \"x\": 0.5, \"y\": 0.5}]");
    }
    v.id = id;
}

}  // namespace

void resolveNames(PreviewScenario& scenario, const ModuleVocabulary& vocabulary) {
    for (NamedValue& v : scenario.parameters) {
        resolveParameter(scenario.file, v, vocabulary);
    }
    for (DisplayPlan& d : scenario.displays) {
        for (NamedValue& v : d.parameters) {
            resolveParameter(scenario.file, v, vocabulary);
        }
    }
    for (NamedValue& v : scenario.gauge) {
        resolveProperty(scenario.file, v, vocabulary);
    }
}

}  // namespace cs::preview
