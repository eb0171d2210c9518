// The gauge reader's view of one XML file: the line of every node, the text
// of an element, and the attributes and child elements each element may
// have. A name outside the schema is a warning with a did-you-mean; a value
// that is not what the attribute takes is an error or a warning naming the
// line.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "tools/gauge/Diagnostics.h"
#include "tools/gauge/GaugeModel.h"
#include "tools/gauge/Macros.h"

namespace cs::gauge {

using Names = std::initializer_list<const char*>;

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

class GaugeVocabulary {
  public:
    // `xml` is the whole file, for the lines; `file` names it in messages.
    GaugeVocabulary(std::string_view xml, const std::string& file, Diagnostics& d);

    int lineAt(ptrdiff_t offset) const;
    int lineOf(const pugi::xml_node& n) const { return lineAt(n.offset_debug()); }
    Origin at(const pugi::xml_node& n, const std::string& element) const {
        return Origin{file_, lineOf(n), element};
    }

  protected:
    static std::string trim(std::string s);
    // The attribute `name`, whatever the case of its letters (as the
    // simulator reads them); an empty attribute when there is none.
    static pugi::xml_attribute attr(const pugi::xml_node& n, const char* name);
    // The text content and the line it starts on, with the gauge's macros
    // expanded (unless `raw`). Text split by comments is joined with the
    // comments' line breaks kept, so lines stay right.
    std::string content(const pugi::xml_node& n, int* line, bool raw = false) const;

    void checkAttributes(const pugi::xml_node& n, Names known);
    // An FS9 schema element the workbench does not draw is kept (see
    // keepNotModelled); anything else is warned about (see warnUnknown).
    void unknownChild(const pugi::xml_node& child, const std::string& parent, Names known);
    // "unknown element <x>; ignored" with a did-you-mean among `known`.
    void warnUnknown(const pugi::xml_node& child, const std::string& parent, Names known);
    // Keeps a schema element the workbench does not draw, by name and line,
    // and compiles every `scriptElement` inside it, so that its scripts are
    // checked like any other.
    void keepNotModelled(const pugi::xml_node& child, const char* scriptElement);
    // A number as written ("12", "-0.5"); false for anything else, and for
    // magnitudes no gauge uses.
    static bool parseNumber(const std::string& text, double* value);
    // North, East, South, West (any case) as radians clockwise from 12
    // o'clock; false for anything else.
    static bool parsePointsTo(const std::string& text, double* radians);
    // Left, Center, Right (Top, Bottom), any case; false for anything else.
    static bool parseAdjust(const std::string& text, Adjust* value);
    double number(const pugi::xml_node& n, const char* attribute, double fallback,
                  bool required = false);
    Colour colour(const pugi::xml_node& n, const char* attribute, Colour fallback);
    Script script(const pugi::xml_node& n, const std::string& element);
    FormattedString formatted(const pugi::xml_node& n, const std::string& element);
    Adjust adjust(const pugi::xml_node& n, const char* attribute);
    bool tooDeep(const pugi::xml_node& n, int depth);
    // A nonlinearity table runs through its values one way: a warning when
    // it goes back (the simulator would look the value up wrongly).
    void checkTable(const pugi::xml_node& n, const std::vector<NonlinearItem>& table);
    // A <CustomDraw Name="callback:display"> into the node's panel and
    // display; false, with an error, when the name is not of that form.
    bool drawName(const pugi::xml_node& n, Node& node);
    // One parameter child of a <CustomDraw>, its text compiled quietly: a
    // string parameter such as <Font>Arial</Font> is no script; the host
    // decides once it knows the parameter's type.
    DrawParameter drawParameter(const pugi::xml_node& c);

    std::string file_;
    Diagnostics& d_;
    std::vector<SchemaElement> notModelled_;
    std::vector<Script> notModelledScripts_;
    Macros macros_;

  private:
    std::vector<size_t> lineStarts_{0};
};

}  // namespace cs::gauge
