#include "tools/gauge/FsxElements.h"

#include <cmath>
#include <utility>

namespace cs::gauge {

namespace {

constexpr Names kGaugeChildren = {"FloatPosition", "Size",    "Image",     "Macro",
                                  "Update",        "Element", "MouseArea", "Comment"};
// What an <Element> holds: the objects read, then those kept but not drawn
// (named here for the did-you-mean).
constexpr Names kElementChildren = {
    "FloatPosition", "Visibility",     "Image",        "GaugeText", "Rectangle",   "Select",
    "CustomDraw",    "Element",        "Update",       "Comment",   "Rotation",    "Shift",
    "MaskImage",     "Polyline",       "Polygon",      "Circle",    "Ellipse",     "Arc",
    "Pie",           "HorizontalLine", "VerticalLine", "Clip",      "FailureTable"};
constexpr Names kCaseChildren = {"Image",  "GaugeText", "Rectangle", "CustomDraw",
                                 "Select", "Element",   "Comment"};
constexpr Names kImageChildren = {"Transparent", "Bright",     "Luminous",
                                  "Alpha",       "NoBilinear", "Axis"};
constexpr Names kTextChildren = {
    "Size",          "Length",      "FontFace",        "FontHeight",
    "FontWeight",    "FontColor",   "BackgroundColor", "HorizontalAlign",
    "VerticalAlign", "GaugeString", "Transparent",     "Bright",
    "Luminous",      "Fixed",       "Multiline",       "LineSpacing",
    "Tabs",          "WidthFit",    "HeightFit",       "Bold",
    "Italic",        "Underline",   "StrikeThrough",   "HilightColor",
    "BlinkCode",     "Scroll",      "ScrollY",         "FontCharset"};
constexpr Names kRectangleChildren = {"Width",     "Height",    "LineWidth",
                                      "LineColor", "FillColor", "Bright"};

bool inGaugeUnits(double width, double height) {
    return width >= 1 && height >= 1 && width <= 4096 && height <= 4096;
}

}  // namespace

FsxElements::FsxElements(std::string_view xml, GaugeFile& gauge, Diagnostics& d)
    : FsxVocabulary(xml, gauge.file, d), gauge_(gauge) {}

void FsxElements::readDocument(const pugi::xml_node& root) {
    checkAttributes(root, {"Type", "version", "id"});
    // The gauge tool names the document after the gauge.
    const std::string id = trim(attr(root, "id").value());
    if (!id.empty()) {
        gauge_.name = id;
    }
    pugi::xml_node gauge;
    children(root, {"Descr", "Filename", "SimGauge.Gauge"},
             [&](const pugi::xml_node& c, const std::string& name) {
                 if (name != "SimGauge.Gauge") {
                     return false;
                 }
                 if (gauge) {
                     d_.warn(at(c, name), "a second gauge in the document; ignored");
                 } else {
                     gauge = c;
                     readGauge(c);
                 }
                 return true;
             });
    if (!gauge) {
        d_.error(at(root, root.name()), "no <SimGauge.Gauge>: the document holds no gauge");
    }
}

void FsxElements::readGauge(const pugi::xml_node& n) {
    checkAttributes(n, {"id", "ArtDirectory"});
    // Macros first: a script may use one defined further down.
    for (pugi::xml_node m = n.child("Macro"); m; m = m.next_sibling("Macro")) {
        checkAttributes(m, {"id", "Name"});
        // The gauge tool writes the text into <MacroValue>.
        const pugi::xml_node value = m.child("MacroValue");
        int line = 0;
        macros_.define(trim(attr(m, "Name").value()), content(value ? value : m, &line, true),
                       at(m, "Macro"), d_);
    }
    pugi::xml_node size;
    children(n, kGaugeChildren, [&](const pugi::xml_node& c, const std::string& name) {
        if (name == "Size") {
            size = c;
            pair(c, &gauge_.width, &gauge_.height);
        } else if (name == "FloatPosition") {
            // Where the gauge tool showed the gauge; the panel.cfg places it.
            double x = 0.0, y = 0.0;
            pair(c, &x, &y);
        } else if (name == "Image") {
            readImage(c, gauge_.background);
            gauge_.backgroundLine = lineOf(c);
        } else if (name == "Update") {
            gauge_.hasUpdate = true;
            readUpdate(c, gauge_.update, &gauge_.updateEvery);
        } else if (name == "Element") {
            Node node;
            readElement(c, node, 1);
            gauge_.elements.push_back(std::move(node));
        } else if (name == "MouseArea") {
            Area area;
            readMouseArea(c, area, 1);
            gauge_.areas.push_back(std::move(area));
        } else {
            return name == "Macro";  // read above
        }
        return true;
    });
    gauge_.notModelled = std::move(notModelled_);
    gauge_.notModelledScripts = std::move(notModelledScripts_);
    gauge_.line = lineOf(n);  // a gauge without a size is sized where it is placed
    if (size && !inGaugeUnits(gauge_.width, gauge_.height)) {
        d_.error(at(size, "Size"), "width and height must be 1 to 4096 gauge units");
    }
}

// <Update>: <Frequency> (runs a second, of the panel's 18 ticks; `every`
// null for an element's, which runs with the gauge's) and <Script>.
void FsxElements::readUpdate(const pugi::xml_node& n, Script& out, int* every) {
    checkAttributes(n, {"id"});
    bool haveScript = false;
    children(n, {"Frequency", "Script"}, [&](const pugi::xml_node& c, const std::string& name) {
        if (name == "Frequency") {
            const double f = value(c, 18.0);
            if (!(f >= 1.0 && f <= 18.0)) {
                d_.warn(at(c, name), "must be 1 to 18 runs a second; 18 used");
            } else if (every) {
                *every = static_cast<int>(std::lround(18.0 / f));
            }
        } else if (name == "Script" && !haveScript) {
            checkAttributes(c, {});
            out = script(c, "Update");
            haveScript = true;
        } else if (name == "Script") {
            d_.warn(at(c, name), "a second <Script> in this <Update>; ignored");
        } else {
            return false;
        }
        return true;
    });
    if (!haveScript) {
        out = compileScript("", Origin{file_, lineOf(n), "Update"}, d_);
    }
}

void FsxElements::readElement(const pugi::xml_node& n, Node& node, int depth) {
    node.kind = NodeKind::Element;
    node.line = lineOf(n);
    node.id = gauge_.nodeCount++;
    checkAttributes(n, {"id"});
    children(n, kElementChildren, [&](const pugi::xml_node& c, const std::string& name) {
        if (name == "FloatPosition") {
            pair(c, &node.x, &node.y);
        } else if (name == "Visibility") {
            checkAttributes(c, {});
            node.hasVisible = true;
            node.visible = script(c, "Visibility");
        } else if (name == "Update") {
            Script s;
            readUpdate(c, s, nullptr);
            gauge_.elementUpdates.push_back(std::move(s));
        } else {
            return readMovingObject(c, node) || readPart(c, node, depth);
        }
        return true;
    });
}

// Reads one drawable object (or a nested element) into `parent`; false when
// the child is none of those.
bool FsxElements::readPart(const pugi::xml_node& child, Node& parent, int depth) {
    const std::string name = child.name();
    Node node;
    node.line = lineOf(child);
    if (name == "Element") {
        if (!tooDeep(child, depth + 1)) {
            readElement(child, node, depth + 1);
            parent.children.push_back(std::move(node));
        }
        return true;
    }
    static const char* const kShapes[] = {"Circle",  "Ellipse",        "Polyline",
                                          "Polygon", "HorizontalLine", "VerticalLine"};
    for (const char* shape : kShapes) {
        if (name == shape) {
            readShape(child, node);
            parent.children.push_back(std::move(node));
            return true;
        }
    }
    static const struct {
        const char* name;
        NodeKind kind;
    } kParts[] = {{"GaugeText", NodeKind::Text},
                  {"Rectangle", NodeKind::Rectangle},
                  {"Image", NodeKind::Image},
                  {"CustomDraw", NodeKind::CustomDraw},
                  {"Select", NodeKind::Select}};
    for (const auto& part : kParts) {
        if (name != part.name) {
            continue;
        }
        node.kind = part.kind;
        node.id = gauge_.nodeCount++;
        if (part.kind == NodeKind::Text) {
            readText(child, node);
        } else if (part.kind == NodeKind::Rectangle) {
            readRectangle(child, node);
        } else if (part.kind == NodeKind::Image) {
            readImage(child, node.image, &node.axisX, &node.axisY);
            if (node.image.empty()) {
                d_.error(at(child, name), "no Name: the image file in the gauge's folder");
            }
        } else if (part.kind == NodeKind::CustomDraw) {
            readCustomDraw(child, node);
        } else if (!tooDeep(child, depth + 1)) {
            readSelect(child, node, depth + 1);
        }
        parent.children.push_back(std::move(node));
        return true;
    }
    return false;
}

void FsxElements::readImage(const pugi::xml_node& n, std::string& name, double* axisX,
                            double* axisY) {
    checkAttributes(n, {"id", "Name", "ImageSizes"});
    name = trim(attr(n, "Name").value());
    children(n, kImageChildren, [&](const pugi::xml_node& c, const std::string& child) {
        if (child != "Axis" || axisX == nullptr) {
            return false;
        }
        pair(c, axisX, axisY);
        return true;
    });
}

void FsxElements::readText(const pugi::xml_node& n, Node& node) {
    checkAttributes(n, {"id"});
    bool haveSize = false, haveString = false, transparent = false;
    children(n, kTextChildren, [&](const pugi::xml_node& c, const std::string& name) {
        if (name == "Size") {
            // The text's box, as the X and Y of an FS9 <Text>.
            haveSize = true;
            pair(c, &node.width, &node.height);
        } else if (name == "Length") {
            node.text.length = static_cast<int>(value(c, 0.0));
        } else if (name == "FontFace") {
            const std::string font = text(c);
            node.text.font = font.empty() ? node.text.font : font;
        } else if (name == "FontHeight") {
            value(c, 0.0);  // the workbench fits the font to the box, as for an FS9 <Text>
        } else if (name == "FontColor") {
            node.text.colour = colourOf(c, node.text.colour);
        } else if (name == "BackgroundColor") {
            node.text.background = colourOf(c, node.text.background);
        } else if (name == "Transparent") {
            transparent = flag(c);
        } else if (name == "HorizontalAlign") {
            node.text.adjust = align(c);
        } else if (name == "VerticalAlign") {
            node.text.verticalAdjust = align(c);
        } else if (name == "GaugeString" && !haveString) {
            checkAttributes(c, {});
            node.string = formatted(c, "GaugeString");
            haveString = true;
        } else {
            return false;
        }
        return true;
    });
    // A transparent text leaves its background unpainted, whatever colour it names.
    if (transparent) {
        node.text.background = Colour{};
    }
    if (!haveSize) {
        d_.error(at(n, "GaugeText"), "no <Size>: the text's box, as \"width,height\"");
    }
    if (!haveString) {
        d_.warn(at(n, "GaugeText"), "no <GaugeString>; the text is empty");
    }
}

void FsxElements::readRectangle(const pugi::xml_node& n, Node& node) {
    checkAttributes(n, {"id"});
    bool haveWidth = false, haveHeight = false;
    children(n, kRectangleChildren, [&](const pugi::xml_node& c, const std::string& name) {
        if (name == "Width") {
            node.width = value(c, 0.0);
            haveWidth = true;
        } else if (name == "Height") {
            node.height = value(c, 0.0);
            haveHeight = true;
        } else if (name == "LineWidth") {
            node.rectangle.lineWidth = value(c, 1.0);
        } else if (name == "LineColor") {
            node.rectangle.line = colourOf(c, Colour{});
        } else if (name == "FillColor") {
            node.rectangle.fill = colourOf(c, Colour{});
        } else {
            return false;
        }
        return true;
    });
    if (!haveWidth || !haveHeight) {
        d_.error(at(n, "Rectangle"), haveWidth ? "missing <Height>" : "missing <Width>");
    }
}

void FsxElements::readCustomDraw(const pugi::xml_node& n, Node& node) {
    checkAttributes(n, {"id", "Name"});
    drawName(n, node);
    bool haveSize = false;
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
        const std::string name = c.name();
        if (c.type() != pugi::node_element || name == "Comment") {
            continue;
        }
        if (name == "Size") {
            haveSize = pair(c, &node.width, &node.height);
        } else if (name == "Bright") {
            flag(c);
        } else {
            // Every other child is a parameter of the display.
            node.parameters.push_back(drawParameter(c));
        }
    }
    if (!haveSize || !inGaugeUnits(node.width, node.height)) {
        d_.error(at(n, "CustomDraw"),
                 "<Size> must give a width and height of 1 to 4096 gauge units");
    }
}

void FsxElements::readSelect(const pugi::xml_node& n, Node& node, int depth) {
    checkAttributes(n, {"id"});
    bool haveValue = false;
    children(n, {"Expression", "Case"}, [&](const pugi::xml_node& c, const std::string& name) {
        if (name == "Expression" && !haveValue) {
            node.value = readExpression(c, "Select/Expression");
            haveValue = true;
        } else if (name == "Case") {
            checkAttributes(c, {"id", "Value"});
            Node kase;
            kase.kind = NodeKind::Case;
            kase.line = lineOf(c);
            kase.id = gauge_.nodeCount++;
            kase.caseValue = number(c, "Value", 0.0, true);
            children(c, kCaseChildren, [&](const pugi::xml_node& p, const std::string&) {
                return readPart(p, kase, depth);
            });
            node.children.push_back(std::move(kase));
        } else {
            return false;
        }
        return true;
    });
    if (!haveValue) {
        d_.error(at(n, "Select"), "no <Expression>");
    }
}

// <Expression>: <Minimum>, <Maximum> (checked; the workbench does not limit
// the value, as it does not for an FS9 <Value>) and the <Script>.
Script FsxElements::readExpression(const pugi::xml_node& n, const std::string& element) {
    checkAttributes(n, {"id"});
    Script out;
    bool haveScript = false;
    children(n, {"Minimum", "Maximum", "Script"},
             [&](const pugi::xml_node& c, const std::string& name) {
                 if (name == "Minimum" || name == "Maximum") {
                     value(c, 0.0);
                 } else if (name == "Script" && !haveScript) {
                     checkAttributes(c, {});
                     out = script(c, element);
                     haveScript = true;
                 } else {
                     return false;
                 }
                 return true;
             });
    if (!haveScript) {
        out = compileScript("", Origin{file_, lineOf(n), element}, d_);
    }
    return out;
}

}  // namespace cs::gauge
