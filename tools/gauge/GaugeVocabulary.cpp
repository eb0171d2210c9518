#include "tools/gauge/GaugeVocabulary.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "tools/gauge/ColourNames.h"
#include "tools/gauge/GaugeReader.h"

namespace cs::gauge {

namespace {

bool contains(Names names, const std::string& name) {
    for (const char* n : names) {
        if (name == n) {
            return true;
        }
    }
    return false;
}

// Attribute names, which the simulator takes without regard to case.
bool containsIgnoringCase(Names names, const std::string& name) {
    for (const char* n : names) {
        if (equalIgnoringCase(name, n)) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> listOf(Names names) {
    std::vector<std::string> v;
    for (const char* n : names) {
        v.emplace_back(n);
    }
    return v;
}

// Parts of the schema the reader knows but does not model: the drawing
// layer says whether it can draw them.
constexpr Names kNotModelled = {"Failures"};

constexpr double kQuarterTurn = 1.57079632679489661923;

}  // namespace

pugi::xml_attribute GaugeVocabulary::attr(const pugi::xml_node& n, const char* name) {
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
        if (equalIgnoringCase(a.name(), name)) {
            return a;
        }
    }
    return pugi::xml_attribute();
}

std::string GaugeVocabulary::trim(std::string s) {
    const char* ws = " \t\r\n";
    const size_t b = s.find_first_not_of(ws);
    if (b == std::string::npos) {
        return std::string();
    }
    return s.substr(b, s.find_last_not_of(ws) - b + 1);
}

GaugeVocabulary::GaugeVocabulary(std::string_view xml, const std::string& file, Diagnostics& d)
    : file_(file), d_(d) {
    for (size_t i = 0; i < xml.size(); ++i) {
        // XML ends a line at LF, CRLF, and a CR alone.
        if (xml[i] == '\n' || (xml[i] == '\r' && (i + 1 == xml.size() || xml[i + 1] != '\n'))) {
            lineStarts_.push_back(i + 1);
        }
    }
}

int GaugeVocabulary::lineAt(ptrdiff_t offset) const {
    if (offset < 0) {
        return 0;
    }
    return static_cast<int>(
        std::upper_bound(lineStarts_.begin(), lineStarts_.end(), static_cast<size_t>(offset)) -
        lineStarts_.begin());
}

std::string GaugeVocabulary::content(const pugi::xml_node& n, int* line, bool raw) const {
    std::string text;
    int at = 0;
    bool first = true;
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_pcdata && c.type() != pugi::node_cdata) {
            continue;
        }
        const int l = lineAt(c.offset_debug());
        if (first) {
            *line = l;
            first = false;
        } else {
            text.append(static_cast<size_t>(std::max(l - at, 0)), '\n');
            text += ' ';
        }
        text += c.value();
        at = l + static_cast<int>(std::count(text.end() - static_cast<long>(std::strlen(c.value())),
                                             text.end(), '\n'));
    }
    if (first) {
        *line = lineOf(n);
    }
    if (raw || macros_.empty()) {
        return text;
    }
    return macros_.expand(text, Origin{file_, *line, n.name()}, d_);
}

void GaugeVocabulary::checkAttributes(const pugi::xml_node& n, Names known) {
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
        if (!containsIgnoringCase(known, a.name())) {
            d_.warn(at(n, n.name()), std::string("unknown attribute \"") + a.name() +
                                         "\"; ignored" + didYouMean(a.name(), listOf(known)));
        }
    }
}

void GaugeVocabulary::unknownChild(const pugi::xml_node& child, const std::string& parent,
                                   Names known) {
    if (contains(kNotModelled, child.name())) {
        keepNotModelled(child, "Value");
        return;
    }
    warnUnknown(child, parent, known);
}

void GaugeVocabulary::warnUnknown(const pugi::xml_node& child, const std::string& parent,
                                  Names known) {
    const std::string name = child.name();
    d_.warn(at(child, parent),
            "unknown element <" + name + ">; ignored" + didYouMean(name, listOf(known)));
}

void GaugeVocabulary::keepNotModelled(const pugi::xml_node& child, const char* scriptElement) {
    const std::string name = child.name();
    notModelled_.push_back(SchemaElement{name, lineOf(child)});
    // Not drawn, but its scripts are checked like any other.
    const std::string query = std::string(".//") + scriptElement;
    for (const pugi::xpath_node& v : child.select_nodes(query.c_str())) {
        notModelledScripts_.push_back(script(v.node(), name + "/" + scriptElement));
    }
}

bool GaugeVocabulary::parseNumber(const std::string& text, double* value) {
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || !(std::fabs(v) < 1e7)) {
        return false;
    }
    *value = v;
    return true;
}

bool GaugeVocabulary::parsePointsTo(const std::string& text, double* radians) {
    static const char* const kDirections[] = {"north", "east", "south", "west"};
    const std::string v = lowerAscii(text);
    for (int i = 0; i < 4; ++i) {
        if (v == kDirections[i]) {
            *radians = i * kQuarterTurn;
            return true;
        }
    }
    return false;
}

bool GaugeVocabulary::parseAdjust(const std::string& text, Adjust* value) {
    const std::string v = lowerAscii(text);
    if (v == "left" || v == "top") {
        *value = Adjust::Start;
    } else if (v == "center" || v == "centre") {
        *value = Adjust::Center;
    } else if (v == "right" || v == "bottom") {
        *value = Adjust::End;
    } else {
        return false;
    }
    return true;
}

double GaugeVocabulary::number(const pugi::xml_node& n, const char* attribute, double fallback,
                               bool required) {
    pugi::xml_attribute a = attr(n, attribute);
    if (!a) {
        if (required) {
            d_.error(at(n, n.name()), std::string("missing attribute ") + attribute);
        }
        return fallback;
    }
    double v = 0.0;
    if (!parseNumber(trim(a.value()), &v)) {
        d_.error(at(n, n.name()), std::string("attribute ") + attribute + "=\"" + a.value() +
                                      "\" is not a number of gauge units");
        return fallback;
    }
    return v;
}

Colour GaugeVocabulary::colour(const pugi::xml_node& n, const char* attribute, Colour fallback) {
    pugi::xml_attribute a = attr(n, attribute);
    if (!a) {
        return fallback;
    }
    uint32_t rgb = 0;
    if (!parseColour(trim(a.value()), &rgb)) {
        d_.warn(at(n, n.name()), std::string("attribute ") + attribute + "=\"" + a.value() +
                                     "\" is not a colour (#RRGGBB or a name); default used");
        return fallback;
    }
    return Colour{rgb, true};
}

Adjust GaugeVocabulary::adjust(const pugi::xml_node& n, const char* attribute) {
    const std::string v = trim(attr(n, attribute).value());
    Adjust a = Adjust::Start;
    if (v.empty() || parseAdjust(v, &a)) {
        return a;
    }
    d_.warn(at(n, n.name()), std::string("attribute ") + attribute + "=\"" +
                                 attr(n, attribute).value() +
                                 "\": expected Left, Center, Right (Top, Bottom)");
    return Adjust::Start;
}

Script GaugeVocabulary::script(const pugi::xml_node& n, const std::string& element) {
    int line = 0;
    const std::string text = content(n, &line);
    return compileScript(text, Origin{file_, line, element}, d_);
}

FormattedString GaugeVocabulary::formatted(const pugi::xml_node& n, const std::string& element) {
    int line = 0;
    const std::string text = content(n, &line);
    return FormattedString::parse(text, Origin{file_, line, element}, d_);
}

bool GaugeVocabulary::tooDeep(const pugi::xml_node& n, int depth) {
    if (depth <= kMaxElementDepth) {
        return false;
    }
    d_.error(at(n, n.name()), "nested deeper than " + std::to_string(kMaxElementDepth) + " levels");
    return true;
}

void GaugeVocabulary::checkTable(const pugi::xml_node& n, const std::vector<NonlinearItem>& table) {
    for (size_t i = 2; i < table.size(); ++i) {
        const double before = table[i - 1].value - table[i - 2].value;
        if (before * (table[i].value - table[i - 1].value) < 0.0) {
            d_.warn(at(n, n.name()),
                    "the items' values go up and down again: each value must "
                    "be past the one before it, in one direction");
            return;
        }
    }
}

bool GaugeVocabulary::drawName(const pugi::xml_node& n, Node& node) {
    const std::string name = trim(attr(n, "Name").value());
    const size_t colon = name.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == name.size()) {
        d_.error(at(n, "CustomDraw"),
                 "Name=\"" + name + "\": expected \"callback:display\", e.g. \"va9vedored:tcas\"");
        return false;
    }
    node.panel = name.substr(0, colon);
    node.display = name.substr(colon + 1);
    return true;
}

DrawParameter GaugeVocabulary::drawParameter(const pugi::xml_node& c) {
    DrawParameter p;
    p.name = c.name();
    p.line = lineOf(c);
    int line = 0;
    p.text = trim(content(c, &line));
    checkAttributes(c, {});
    Diagnostics quiet;
    p.script = compileScript(p.text, Origin{file_, line, "CustomDraw/" + p.name}, quiet);
    return p;
}

bool parseColour(const std::string& text, uint32_t* rgb) {
    if (colourByName(text, rgb)) {
        return true;
    }
    std::string hex;
    if (text.size() == 7 && text[0] == '#') {
        hex = text.substr(1);
    } else if (text.size() == 8 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        hex = text.substr(2);
    } else {
        return false;
    }
    if (hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return false;
    }
    *rgb = static_cast<uint32_t>(std::strtoul(hex.c_str(), nullptr, 16));
    return true;
}

}  // namespace cs::gauge
