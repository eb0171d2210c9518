#include "tools/gauge/GaugeReader.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>

#include <pugixml.hpp>

namespace cs::gauge {

namespace {

using Names = std::initializer_list<const char*>;

std::string trim(std::string s) {
    const char* ws = " \t\r\n";
    const size_t b = s.find_first_not_of(ws);
    if (b == std::string::npos) {
        return std::string();
    }
    return s.substr(b, s.find_last_not_of(ws) - b + 1);
}

bool contains(Names names, const std::string& name) {
    for (const char* n : names) {
        if (name == n) {
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

class Reader {
  public:
    Reader(std::string_view xml, GaugeFile& gauge, Diagnostics& d)
        : xml_(xml), gauge_(gauge), d_(d) {
        for (size_t i = 0; i < xml.size(); ++i) {
            if (xml[i] == '\n') {
                lineStarts_.push_back(i + 1);
            }
        }
    }

    bool read();

  private:
    int lineAt(ptrdiff_t offset) const {
        if (offset < 0) {
            return 0;
        }
        return static_cast<int>(
            std::upper_bound(lineStarts_.begin(), lineStarts_.end(), static_cast<size_t>(offset)) -
            lineStarts_.begin());
    }
    int lineOf(const pugi::xml_node& n) const { return lineAt(n.offset_debug()); }
    Origin at(const pugi::xml_node& n, const std::string& element) const {
        return Origin{gauge_.file, lineOf(n), element};
    }
    // The text content and the line it starts on. Text split by comments is
    // joined with the comments' line breaks kept, so lines stay right.
    std::string content(const pugi::xml_node& n, int* line) const {
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
            at = l + static_cast<int>(std::count(
                         text.end() - static_cast<long>(std::strlen(c.value())), text.end(), '\n'));
        }
        if (first) {
            *line = lineOf(n);
        }
        return text;
    }

    void checkAttributes(const pugi::xml_node& n, Names known);
    void unknownChild(const pugi::xml_node& child, const std::string& parent, Names known);
    double number(const pugi::xml_node& n, const char* attribute, double fallback,
                  bool required = false);
    Colour colour(const pugi::xml_node& n, const char* attribute, Colour fallback);
    Script script(const pugi::xml_node& n, const std::string& element);
    FormattedString formatted(const pugi::xml_node& n, const std::string& element);
    Adjust adjust(const pugi::xml_node& n, const char* attribute);

    void readElement(const pugi::xml_node& n, Node& node, int depth);
    bool readPart(const pugi::xml_node& child, Node& parent, int depth);
    void readText(const pugi::xml_node& n, Node& node);
    void readCustomDraw(const pugi::xml_node& n, Node& node);
    void readSelect(const pugi::xml_node& n, Node& node, int depth);
    void readArea(const pugi::xml_node& n, Area& area, int depth);
    void readMouse(const pugi::xml_node& n);
    bool tooDeep(const pugi::xml_node& n, int depth);

    std::string_view xml_;
    GaugeFile& gauge_;
    Diagnostics& d_;
    std::vector<size_t> lineStarts_{0};
};

constexpr Names kElementChildren = {"Position",  "Visible", "Image",   "Text",
                                    "Rectangle", "Select",  "Element", "CustomDraw"};
// Parts of the schema the workbench reads but does not draw.
constexpr Names kNotDrawn = {"Shift", "Rotate", "Polyline",     "Polygon", "MaskImage", "Failures",
                             "Clip",  "Circle", "Nonlinearity", "Scale",   "Axis",      "Delay"};

void Reader::checkAttributes(const pugi::xml_node& n, Names known) {
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
        if (!contains(known, a.name())) {
            d_.warn(at(n, n.name()), std::string("unknown attribute \"") + a.name() +
                                         "\"; ignored" + didYouMean(a.name(), listOf(known)));
        }
    }
}

void Reader::unknownChild(const pugi::xml_node& child, const std::string& parent, Names known) {
    const std::string name = child.name();
    if (contains(kNotDrawn, name)) {
        d_.warn(at(child, name), "not drawn by the workbench; ignored");
        return;
    }
    d_.warn(at(child, parent),
            "unknown element <" + name + ">; ignored" + didYouMean(name, listOf(known)));
}

double Reader::number(const pugi::xml_node& n, const char* attribute, double fallback,
                      bool required) {
    pugi::xml_attribute a = n.attribute(attribute);
    if (!a) {
        if (required) {
            d_.error(at(n, n.name()), std::string("missing attribute ") + attribute);
        }
        return fallback;
    }
    const std::string text = trim(a.value());
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || !(std::fabs(v) < 1e7)) {
        d_.error(at(n, n.name()), std::string("attribute ") + attribute + "=\"" + a.value() +
                                      "\" is not a number of gauge units");
        return fallback;
    }
    return v;
}

Colour Reader::colour(const pugi::xml_node& n, const char* attribute, Colour fallback) {
    pugi::xml_attribute a = n.attribute(attribute);
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

Adjust Reader::adjust(const pugi::xml_node& n, const char* attribute) {
    const std::string v = lowerAscii(trim(n.attribute(attribute).value()));
    if (v.empty() || v == "left" || v == "top") {
        return Adjust::Start;
    }
    if (v == "center" || v == "centre") {
        return Adjust::Center;
    }
    if (v == "right" || v == "bottom") {
        return Adjust::End;
    }
    d_.warn(at(n, n.name()), std::string("attribute ") + attribute + "=\"" +
                                 n.attribute(attribute).value() +
                                 "\": expected Left, Center, Right (Top, Bottom)");
    return Adjust::Start;
}

Script Reader::script(const pugi::xml_node& n, const std::string& element) {
    int line = 0;
    const std::string text = content(n, &line);
    return compileScript(text, Origin{gauge_.file, line, element}, d_);
}

FormattedString Reader::formatted(const pugi::xml_node& n, const std::string& element) {
    int line = 0;
    const std::string text = content(n, &line);
    return FormattedString::parse(text, Origin{gauge_.file, line, element}, d_);
}

bool Reader::tooDeep(const pugi::xml_node& n, int depth) {
    if (depth <= kMaxElementDepth) {
        return false;
    }
    d_.error(at(n, n.name()), "nested deeper than " + std::to_string(kMaxElementDepth) + " levels");
    return true;
}

void Reader::readText(const pugi::xml_node& n, Node& node) {
    checkAttributes(n, {"X", "Y", "Length", "Font", "FontWeight", "Color", "BackgroundColor",
                        "Bright", "Adjust", "VerticalAdjust", "Fixed", "Multiline", "Transparent"});
    node.width = number(n, "X", 0.0, true);
    node.height = number(n, "Y", 0.0, true);
    node.text.length = static_cast<int>(number(n, "Length", 0.0));
    if (pugi::xml_attribute f = n.attribute("Font")) {
        node.text.font = trim(f.value());
    }
    node.text.colour = colour(n, "Color", node.text.colour);
    node.text.background = colour(n, "BackgroundColor", node.text.background);
    node.text.adjust = adjust(n, "Adjust");
    node.text.verticalAdjust = adjust(n, "VerticalAdjust");
    bool haveString = false;
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) {
            continue;
        }
        if (std::string(c.name()) == "String" && !haveString) {
            checkAttributes(c, {});
            node.string = formatted(c, "String");
            haveString = true;
        } else {
            unknownChild(c, "Text", {"String"});
        }
    }
    if (!haveString) {
        d_.warn(at(n, "Text"), "no <String>; the text is empty");
    }
}

void Reader::readCustomDraw(const pugi::xml_node& n, Node& node) {
    checkAttributes(n, {"Name", "X", "Y", "Bright"});
    const std::string name = trim(n.attribute("Name").value());
    const size_t colon = name.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == name.size()) {
        d_.error(at(n, "CustomDraw"),
                 "Name=\"" + name + "\": expected \"callback:display\", e.g. \"va9vedored:tcas\"");
    } else {
        node.panel = name.substr(0, colon);
        node.display = name.substr(colon + 1);
    }
    node.width = number(n, "X", 0.0, true);
    node.height = number(n, "Y", 0.0, true);
    if (node.width < 1 || node.height < 1 || node.width > 4096 || node.height > 4096) {
        d_.error(at(n, "CustomDraw"), "X and Y must be 1 to 4096 gauge units");
    }
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) {
            continue;
        }
        DrawParameter p;
        p.name = c.name();
        p.line = lineOf(c);
        int line = 0;
        p.text = trim(content(c, &line));
        checkAttributes(c, {});
        // Compiled quietly: a string parameter such as <Font>Arial</Font> is
        // no script; the host decides once it knows the parameter's type.
        Diagnostics quiet;
        p.script = compileScript(p.text, Origin{gauge_.file, line, "CustomDraw/" + p.name}, quiet);
        node.parameters.push_back(std::move(p));
    }
}

void Reader::readSelect(const pugi::xml_node& n, Node& node, int depth) {
    checkAttributes(n, {});
    bool haveValue = false;
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) {
            continue;
        }
        const std::string name = c.name();
        if (name == "Value" && !haveValue) {
            checkAttributes(c, {"Minimum", "Maximum"});
            node.value = script(c, "Value");
            haveValue = true;
        } else if (name == "Case") {
            checkAttributes(c, {"Value"});
            Node kase;
            kase.kind = NodeKind::Case;
            kase.line = lineOf(c);
            kase.id = gauge_.nodeCount++;
            kase.caseValue = number(c, "Value", 0.0, true);
            for (pugi::xml_node p = c.first_child(); p; p = p.next_sibling()) {
                if (p.type() == pugi::node_element && !readPart(p, kase, depth + 1)) {
                    unknownChild(p, "Case", {"Image", "Text", "Rectangle"});
                }
            }
            node.children.push_back(std::move(kase));
        } else {
            unknownChild(c, "Select", {"Value", "Case"});
        }
    }
    if (!haveValue) {
        d_.error(at(n, "Select"), "no <Value>");
    }
}

// Reads one drawable part (or a nested element) into `parent`; false when the
// child is none of those.
bool Reader::readPart(const pugi::xml_node& child, Node& parent, int depth) {
    const std::string name = child.name();
    Node node;
    node.line = lineOf(child);
    if (name == "Text") {
        node.kind = NodeKind::Text;
        node.id = gauge_.nodeCount++;
        readText(child, node);
    } else if (name == "Rectangle") {
        node.kind = NodeKind::Rectangle;
        node.id = gauge_.nodeCount++;
        checkAttributes(
            child, {"Width", "Height", "LineWidth", "LineColor", "FillColor", "Bright", "Color"});
        node.width = number(child, "Width", 0.0, true);
        node.height = number(child, "Height", 0.0, true);
        node.rectangle.lineWidth = number(child, "LineWidth", 1.0);
        node.rectangle.line = colour(child, "LineColor", colour(child, "Color", Colour{}));
        node.rectangle.fill = colour(child, "FillColor", Colour{});
    } else if (name == "Image") {
        node.kind = NodeKind::Image;
        node.id = gauge_.nodeCount++;
        checkAttributes(child, {"Name", "Bright", "Alpha", "ImageSizes", "NoTransparency",
                                "Luminous", "PointsTo", "DegreesPointsTo"});
        node.image = trim(child.attribute("Name").value());
        if (node.image.empty()) {
            d_.error(at(child, "Image"), "no Name: the image file in the gauge's folder");
        }
    } else if (name == "CustomDraw") {
        node.kind = NodeKind::CustomDraw;
        node.id = gauge_.nodeCount++;
        readCustomDraw(child, node);
    } else if (name == "Select") {
        node.kind = NodeKind::Select;
        node.id = gauge_.nodeCount++;
        readSelect(child, node, depth);
    } else if (name == "Element") {
        if (tooDeep(child, depth + 1)) {
            return true;
        }
        readElement(child, node, depth + 1);
    } else {
        return false;
    }
    parent.children.push_back(std::move(node));
    return true;
}

void Reader::readElement(const pugi::xml_node& n, Node& node, int depth) {
    node.kind = NodeKind::Element;
    node.line = lineOf(n);
    node.id = gauge_.nodeCount++;
    checkAttributes(n, {"Name"});
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) {
            continue;
        }
        const std::string name = c.name();
        if (name == "Position") {
            checkAttributes(c, {"X", "Y"});
            node.x = number(c, "X", 0.0);
            node.y = number(c, "Y", 0.0);
        } else if (name == "Visible") {
            checkAttributes(c, {});
            node.hasVisible = true;
            node.visible = script(c, "Visible");
        } else if (!readPart(c, node, depth)) {
            unknownChild(c, "Element", kElementChildren);
        }
    }
}

void Reader::readArea(const pugi::xml_node& n, Area& area, int depth) {
    area.line = lineOf(n);
    checkAttributes(n, {"Left", "Top", "Right", "Bottom", "Width", "Height", "Name"});
    area.left = number(n, "Left", 0.0);
    area.top = number(n, "Top", 0.0);
    area.width =
        n.attribute("Right") ? number(n, "Right", 0.0) - area.left : number(n, "Width", 0.0);
    area.height =
        n.attribute("Bottom") ? number(n, "Bottom", 0.0) - area.top : number(n, "Height", 0.0);
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) {
            continue;
        }
        const std::string name = c.name();
        if (name == "Area") {
            if (tooDeep(c, depth + 1)) {
                continue;
            }
            Area child;
            readArea(c, child, depth + 1);
            area.children.push_back(std::move(child));
        } else if (name == "Click") {
            checkAttributes(c, {"Kind", "Event", "Repeat"});
            std::string kinds = c.attribute("Kind").value();
            std::replace(kinds.begin(), kinds.end(), '|', '+');
            std::stringstream split(kinds);
            std::string kind;
            bool move = false;
            while (std::getline(split, kind, '+')) {
                move = move || trim(kind) == "Move";
            }
            if (move && !area.hasMove) {
                area.hasMove = true;
                area.move = script(c, "Click");
            }
        } else if (name == "Tooltip") {
            checkAttributes(c, {});
            area.hasTooltip = true;
            area.tooltip = formatted(c, "Tooltip");
        } else if (name != "Cursor" && name != "Help") {
            unknownChild(c, "Area", {"Area", "Click", "Tooltip", "Cursor", "Help"});
        }
    }
}

void Reader::readMouse(const pugi::xml_node& n) {
    checkAttributes(n, {});
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) {
            continue;
        }
        const std::string name = c.name();
        if (name == "Area") {
            Area area;
            readArea(c, area, 1);
            gauge_.areas.push_back(std::move(area));
        } else if (name == "Tooltip") {
            // A tool-tip for the whole gauge: an area covering it.
            Area area;
            area.line = lineOf(c);
            area.width = area.height = 1e7;
            area.hasTooltip = true;
            area.tooltip = formatted(c, "Tooltip");
            gauge_.areas.push_back(std::move(area));
        } else if (name != "Cursor" && name != "Help") {
            unknownChild(c, "Mouse", {"Area", "Tooltip", "Cursor", "Help"});
        }
    }
}

bool Reader::read() {
    pugi::xml_document doc;
    const pugi::xml_parse_result result =
        doc.load_buffer(xml_.data(), xml_.size(), pugi::parse_default, pugi::encoding_auto);
    if (!result) {
        d_.error(Origin{gauge_.file, lineAt(result.offset), "XML"},
                 std::string(result.description()) + "; the file is not well-formed XML");
        return false;
    }
    pugi::xml_node root = doc.document_element();
    const std::string rootName = root.name();
    if (rootName == "SimBase.Document") {
        d_.error(at(root, rootName),
                 "an FSX-format gauge; the workbench reads FS9-format gauges (<Gauge> with "
                 "<Element>, <Size>, <Update>, <Mouse>)");
        return false;
    }
    if (rootName != "Gauge") {
        d_.error(at(root, rootName), "expected a <Gauge> element (FS9-format gauge) at the top");
        return false;
    }
    checkAttributes(root, {"Name", "Version", "Author", "Copyright", "ArtDirectory"});
    if (pugi::xml_attribute a = root.attribute("Name")) {
        gauge_.name = trim(a.value());
    }
    bool haveSize = false;
    for (pugi::xml_node c = root.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) {
            continue;
        }
        const std::string name = c.name();
        if (name == "Size") {
            checkAttributes(c, {"X", "Y"});
            gauge_.width = number(c, "X", 0.0, true);
            gauge_.height = number(c, "Y", 0.0, true);
            haveSize = true;
        } else if (name == "Image") {
            checkAttributes(
                c, {"Name", "Bright", "Alpha", "ImageSizes", "NoTransparency", "Luminous"});
            gauge_.background = trim(c.attribute("Name").value());
            gauge_.backgroundLine = lineOf(c);
        } else if (name == "Update") {
            checkAttributes(c, {"Frequency", "Hidden"});
            if (c.attribute("Frequency")) {
                // Runs per second, of the panel's 18 ticks.
                const double f = number(c, "Frequency", 18.0);
                if (!(f >= 1.0 && f <= 18.0)) {
                    d_.warn(at(c, "Update"), "Frequency must be 1 to 18 runs a second; 18 used");
                } else {
                    gauge_.updateEvery = static_cast<int>(std::lround(18.0 / f));
                }
            }
            gauge_.hasUpdate = true;
            gauge_.update = script(c, "Update");
        } else if (name == "Element") {
            Node node;
            readElement(c, node, 1);
            gauge_.elements.push_back(std::move(node));
        } else if (name == "Mouse") {
            readMouse(c);
        } else if (name != "Comment") {
            unknownChild(c, "Gauge", {"Size", "Image", "Update", "Element", "Mouse", "Comment"});
        }
    }
    if (!haveSize && gauge_.background.empty()) {
        d_.error(at(root, "Gauge"),
                 "no <Size X Y> and no background <Image>: the gauge has no size");
    }
    if (haveSize &&
        (gauge_.width < 1 || gauge_.height < 1 || gauge_.width > 4096 || gauge_.height > 4096)) {
        d_.error(at(root.child("Size"), "Size"), "X and Y must be 1 to 4096 gauge units");
    }
    return true;
}

}  // namespace

bool parseColour(const std::string& text, uint32_t* rgb) {
    static const struct {
        const char* name;
        uint32_t rgb;
    } kNames[] = {{"black", 0x000000}, {"white", 0xFFFFFF},   {"red", 0xFF0000},
                  {"green", 0x00FF00}, {"blue", 0x0000FF},    {"yellow", 0xFFFF00},
                  {"cyan", 0x00FFFF},  {"magenta", 0xFF00FF}, {"gray", 0x808080},
                  {"grey", 0x808080},  {"orange", 0xFFA500}};
    for (const auto& n : kNames) {
        if (equalIgnoringCase(text, n.name)) {
            *rgb = n.rgb;
            return true;
        }
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

bool readGaugeText(std::string_view xml, const std::string& file, const std::string& folder,
                   GaugeFile& gauge, Diagnostics& diagnostics) {
    gauge = GaugeFile{};
    gauge.file = file;
    gauge.folder = folder;
    gauge.name = std::filesystem::path(file).stem().string();
    const size_t errors = diagnostics.errorCount();
    if (xml.size() > kMaxGaugeFileBytes) {
        diagnostics.error(
            Origin{file, 1, ""},
            "larger than " + std::to_string(kMaxGaugeFileBytes >> 20) + " MB; not a gauge file");
        return false;
    }
    Reader reader(xml, gauge, diagnostics);
    return reader.read() && diagnostics.errorCount() == errors;
}

bool readGaugeFile(const std::string& path, GaugeFile& gauge, Diagnostics& diagnostics) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        diagnostics.error(Origin{path, 0, ""}, "cannot read the file: " + ec.message());
        return false;
    }
    if (size > kMaxGaugeFileBytes) {
        diagnostics.error(
            Origin{path, 1, ""},
            "larger than " + std::to_string(kMaxGaugeFileBytes >> 20) + " MB; not a gauge file");
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        diagnostics.error(Origin{path, 0, ""}, "cannot read the file");
        return false;
    }
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return readGaugeText(text, path, folder.empty() ? "." : folder, gauge, diagnostics);
}

namespace {

void collect(Node& node, std::vector<Script*>& out) {
    if (node.hasVisible) {
        out.push_back(&node.visible);
    }
    if (node.kind == NodeKind::Select) {
        out.push_back(&node.value);
    }
    if (node.kind == NodeKind::Text) {
        for (Script& s : node.string.scripts()) {
            out.push_back(&s);
        }
    }
    for (DrawParameter& p : node.parameters) {
        out.push_back(&p.script);
    }
    for (Node& c : node.children) {
        collect(c, out);
    }
}

void collect(Area& area, std::vector<Script*>& out) {
    if (area.hasMove) {
        out.push_back(&area.move);
    }
    if (area.hasTooltip) {
        for (Script& s : area.tooltip.scripts()) {
            out.push_back(&s);
        }
    }
    for (Area& c : area.children) {
        collect(c, out);
    }
}

}  // namespace

std::vector<Script*> allScripts(GaugeFile& gauge) {
    std::vector<Script*> out;
    if (gauge.hasUpdate) {
        out.push_back(&gauge.update);
    }
    for (Node& n : gauge.elements) {
        collect(n, out);
    }
    for (Area& a : gauge.areas) {
        collect(a, out);
    }
    return out;
}

}  // namespace cs::gauge
