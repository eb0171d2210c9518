#include "tools/gauge/GaugeElements.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "tools/gauge/MouseKinds.h"

namespace cs::gauge {

namespace {

constexpr Names kElementChildren = {"Position", "Visible",  "Image",      "Text",   "Rectangle",
                                    "Select",   "Element",  "CustomDraw", "Update", "Size",
                                    "Rotate",   "Shift",    "MaskImage",  "Clip",   "RelClip",
                                    "Circle",   "Polyline", "Polygon"};

}  // namespace

GaugeElements::GaugeElements(std::string_view xml, GaugeFile& gauge, Diagnostics& d)
    : GaugeVocabulary(xml, gauge.file, d), gauge_(gauge) {}

void GaugeElements::readGauge(const pugi::xml_node& root) {
    checkAttributes(root, {"Name", "Version", "Author", "Copyright", "ArtDirectory"});
    if (pugi::xml_attribute a = attr(root, "Name")) {
        gauge_.name = trim(a.value());
    }
    // Macros first: a script may use one defined further down.
    for (pugi::xml_node m = root.child("Macro"); m; m = m.next_sibling("Macro")) {
        checkAttributes(m, {"Name"});
        int line = 0;
        macros_.define(trim(attr(m, "Name").value()), content(m, &line, true), at(m, "Macro"), d_);
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
            gauge_.background = trim(attr(c, "Name").value());
            gauge_.backgroundLine = lineOf(c);
        } else if (name == "Update") {
            checkAttributes(c, {"Frequency", "Hidden"});
            if (attr(c, "Frequency")) {
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
        } else if (name != "Comment" && name != "Macro") {
            unknownChild(c, "Gauge",
                         {"Size", "Image", "Update", "Element", "Mouse", "Comment", "Macro"});
        }
    }
    gauge_.notModelled = std::move(notModelled_);
    gauge_.notModelledScripts = std::move(notModelledScripts_);
    gauge_.line = lineOf(root);  // a gauge without a size is sized where it is placed
    if (haveSize &&
        (gauge_.width < 1 || gauge_.height < 1 || gauge_.width > 4096 || gauge_.height > 4096)) {
        d_.error(at(root.child("Size"), "Size"), "X and Y must be 1 to 4096 gauge units");
    }
}

void GaugeElements::readText(const pugi::xml_node& n, Node& node) {
    checkAttributes(n, {"X", "Y", "Length", "Font", "FontWeight", "Color", "BackgroundColor",
                        "Bright", "Adjust", "VerticalAdjust", "Fixed", "Multiline", "Transparent"});
    node.width = number(n, "X", 0.0, true);
    node.height = number(n, "Y", 0.0, true);
    node.text.length = static_cast<int>(number(n, "Length", 0.0));
    if (pugi::xml_attribute f = attr(n, "Font")) {
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

void GaugeElements::readCustomDraw(const pugi::xml_node& n, Node& node) {
    checkAttributes(n, {"Name", "X", "Y", "Bright"});
    drawName(n, node);
    node.width = number(n, "X", 0.0, true);
    node.height = number(n, "Y", 0.0, true);
    if (node.width < 1 || node.height < 1 || node.width > 4096 || node.height > 4096) {
        d_.error(at(n, "CustomDraw"), "X and Y must be 1 to 4096 gauge units");
    }
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) {
            continue;
        }
        node.parameters.push_back(drawParameter(c));
    }
}

void GaugeElements::readSelect(const pugi::xml_node& n, Node& node, int depth) {
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
bool GaugeElements::readPart(const pugi::xml_node& child, Node& parent, int depth) {
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
        readImagePart(child, node);
    } else if (name == "Circle" || name == "Polyline" || name == "Polygon") {
        readShape(child, node);
    } else if (name == "CustomDraw") {
        node.kind = NodeKind::CustomDraw;
        node.id = gauge_.nodeCount++;
        readCustomDraw(child, node);
    } else if (name == "Select") {
        if (tooDeep(child, depth + 1)) {
            return true;
        }
        node.kind = NodeKind::Select;
        node.id = gauge_.nodeCount++;
        readSelect(child, node, depth + 1);
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

void GaugeElements::readElement(const pugi::xml_node& n, Node& node, int depth) {
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
        } else if (name == "Update") {
            // Run with the gauge's own <Update>, as the simulator does.
            checkAttributes(c, {"Frequency", "Hidden"});
            gauge_.elementUpdates.push_back(script(c, "Update"));
        } else if (name == "Size") {
            checkAttributes(c, {"X", "Y"});  // the simulator takes it and draws nothing of it
        } else if (!readMovingChild(c, node) && !readPart(c, node, depth)) {
            unknownChild(c, "Element", kElementChildren);
        }
    }
    // The needle's bitmap says where it points; the rotation turns it from there.
    for (const Node& c : node.children) {
        if (c.kind == NodeKind::Image && c.hasPointsTo) {
            node.rotate.pointsTo = c.pointsTo;
            break;
        }
    }
}

void GaugeElements::readArea(const pugi::xml_node& n, Area& area, int depth) {
    area.line = lineOf(n);
    checkAttributes(n, {"Left", "Top", "Right", "Bottom", "Width", "Height", "Name"});
    area.left = number(n, "Left", 0.0);
    area.top = number(n, "Top", 0.0);
    area.width = attr(n, "Right") ? number(n, "Right", 0.0) - area.left : number(n, "Width", 0.0);
    area.height =
        attr(n, "Bottom") ? number(n, "Bottom", 0.0) - area.top : number(n, "Height", 0.0);
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
            readClick(c, area);
        } else if (name == "Tooltip") {
            checkAttributes(c, {"ID", "MetricID"});
            area.hasTooltip = true;
            area.tooltip = formatted(c, "Tooltip");
        } else if (name != "Cursor" && name != "Help") {
            unknownChild(c, "Area", {"Area", "Click", "Tooltip", "Cursor", "Help"});
        }
    }
}

void GaugeElements::readClick(const pugi::xml_node& c, Area& area) {
    checkAttributes(c, {"Kind", "Event", "Repeat"});
    Click click;
    click.line = lineOf(c);
    std::vector<std::string> unknown;
    // No Kind: the simulator takes a left click.
    const pugi::xml_attribute kind = attr(c, "Kind");
    click.kinds = kind ? mouseKinds(kind.value(), unknown) : mouseKind("LeftSingle");
    for (const std::string& name : unknown) {
        d_.warn(at(c, "Click"), "unknown click kind \"" + name + "\"; ignored" +
                                    didYouMean(name, mouseKindNames()));
    }
    click.event = trim(attr(c, "Event").value());
    click.script = script(c, "Click");
    area.clicks.push_back(std::move(click));
}

void GaugeElements::readMouse(const pugi::xml_node& n) {
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
            checkAttributes(c, {"ID", "MetricID"});
            Area area;
            area.line = lineOf(c);
            area.width = area.height = 1e7;
            area.hasTooltip = true;
            area.tooltip = formatted(c, "Tooltip");
            gauge_.areas.push_back(std::move(area));
        } else if (name == "Click") {
            // A click for the whole gauge, as the simulator takes one written
            // straight under <Mouse>.
            Area area;
            area.line = lineOf(c);
            area.width = area.height = 1e7;
            readClick(c, area);
            gauge_.areas.push_back(std::move(area));
        } else if (name != "Cursor" && name != "Help") {
            unknownChild(c, "Mouse", {"Area", "Tooltip", "Click", "Cursor", "Help"});
        }
    }
}

}  // namespace cs::gauge
