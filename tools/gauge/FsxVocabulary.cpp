#include "tools/gauge/FsxVocabulary.h"

#include "tools/gauge/GaugeReader.h"

namespace cs::gauge {

namespace {

constexpr Names kNotModelled = {"Arc", "Pie", "FailureTable"};

// Properties that switch something on or off.
constexpr Names kFlags = {"Bright",    "Transparent", "Luminous",  "NoBilinear", "Fixed",
                          "Multiline", "WidthFit",    "HeightFit", "Alpha"};

bool contains(Names names, std::string_view name) {
    for (const char* n : names) {
        if (name == n) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool isFsxNotModelled(std::string_view name) {
    return contains(kNotModelled, name);
}

std::string FsxVocabulary::text(const pugi::xml_node& n) {
    checkAttributes(n, {});
    int line = 0;
    return trim(content(n, &line));
}

bool FsxVocabulary::pair(const pugi::xml_node& n, double* x, double* y) {
    const std::string t = text(n);
    const size_t comma = t.find(',');
    double a = 0.0, b = 0.0;
    if (comma == std::string::npos || !parseNumber(trim(t.substr(0, comma)), &a) ||
        !parseNumber(trim(t.substr(comma + 1)), &b)) {
        d_.error(at(n, n.name()), "\"" + t + "\" is not two numbers of gauge units, as \"x,y\"");
        return false;
    }
    *x = a;
    *y = b;
    return true;
}

double FsxVocabulary::value(const pugi::xml_node& n, double fallback) {
    const std::string t = text(n);
    double v = 0.0;
    if (!parseNumber(t, &v)) {
        d_.error(at(n, n.name()), "\"" + t + "\" is not a number");
        return fallback;
    }
    return v;
}

Colour FsxVocabulary::colourOf(const pugi::xml_node& n, Colour fallback) {
    const std::string t = text(n);
    uint32_t rgb = 0;
    if (!parseColour(t, &rgb)) {
        d_.warn(at(n, n.name()),
                "\"" + t + "\" is not a colour (0xRRGGBB, #RRGGBB or a name); default used");
        return fallback;
    }
    return Colour{rgb, true};
}

bool FsxVocabulary::flag(const pugi::xml_node& n) {
    const std::string t = text(n);
    const std::string v = lowerAscii(t);
    if (v == "true" || v == "1") {
        return true;
    }
    if (v != "false" && v != "0") {
        d_.warn(at(n, n.name()), "\"" + t + "\": expected True or False; False used");
    }
    return false;
}

Adjust FsxVocabulary::align(const pugi::xml_node& n) {
    const std::string t = text(n);
    Adjust a = Adjust::Start;
    if (!parseAdjust(t, &a)) {
        d_.warn(at(n, n.name()),
                "\"" + t + "\": expected LEFT, CENTER, RIGHT (TOP, BOTTOM); LEFT (TOP) used");
    }
    return a;
}

void FsxVocabulary::other(const pugi::xml_node& child, const std::string& parent, Names known) {
    const std::string name = child.name();
    if (isFsxNotModelled(name)) {
        keepNotModelled(child, "Script");
    } else if (contains(known, name)) {
        if (contains(kFlags, name)) {
            flag(child);
        }
    } else if (name != "Comment") {
        warnUnknown(child, parent, known);
    }
}

}  // namespace cs::gauge
