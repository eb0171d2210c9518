// The FS9 reader's moving and masking parts and vector shapes:
//
//   <Element><Position X="100" Y="100"/>
//     <MaskImage Name="window.bmp"><Axis X="20" Y="10"/></MaskImage>
//     <Image Name="needle.bmp" PointsTo="East"><Axis X="5" Y="3"/></Image>
//     <Rotate><Value Minimum="0" Maximum="200">(A:...)</Value>
//       <Nonlinearity><Item Value="0" X="62" Y="112"/>...</Nonlinearity>
//       <Delay DegreesPerSecond="90"/></Rotate>
//     <Shift><Value>...</Value><Scale X="0" Y="2"/><Delay PixelsPerSecond="40"/></Shift>
//     <Clip Left Top Right Bottom/> (or Width Height; <RelClip> from the position)
//     <Circle Radius LineWidth Color FillColor/>, <Polyline>/<Polygon> with <Point X Y/>s
#include <string>

#include "tools/gauge/GaugeElements.h"

namespace cs::gauge {

bool GaugeElements::readMovingChild(const pugi::xml_node& c, Node& node) {
    const std::string name = c.name();
    if (name == "Rotate" || name == "Shift") {
        Motion& m = name == "Rotate" ? node.rotate : node.shift;
        if (m.present) {
            d_.warn(at(c, name), "a second <" + name + "> in this element; ignored");
            return true;
        }
        readMotion(c, m, name == "Rotate");
    } else if (name == "MaskImage") {
        checkAttributes(c, {"Name", "Bright", "ImageSizes", "Luminous", "NoTransparency"});
        node.mask.present = true;
        node.mask.line = lineOf(c);
        node.mask.image = trim(attr(c, "Name").value());
        if (node.mask.image.empty()) {
            d_.error(at(c, name), "no Name: the mask's image file in the gauge's folder");
        }
        readAxis(c, &node.mask.axisX, &node.mask.axisY);
    } else if (name == "Clip" || name == "RelClip") {
        readClip(c, node.clip, name == "RelClip");
    } else {
        return false;
    }
    return true;
}

void GaugeElements::readMotion(const pugi::xml_node& n, Motion& m, bool rotation) {
    checkAttributes(n, {});
    const std::string element = n.name();
    m.present = true;
    m.line = lineOf(n);
    bool haveValue = false;
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) {
            continue;
        }
        const std::string name = c.name();
        if (name == "Value" && !haveValue) {
            checkAttributes(c, {"Minimum", "Maximum"});
            m.value = script(c, element + "/Value");
            m.hasMinimum = static_cast<bool>(attr(c, "Minimum"));
            m.hasMaximum = static_cast<bool>(attr(c, "Maximum"));
            m.minimum = number(c, "Minimum", 0.0);
            m.maximum = number(c, "Maximum", 0.0);
            haveValue = true;
        } else if (name == "Nonlinearity") {
            readNonlinearity(c, m, rotation);
        } else if (name == "Delay") {
            const char* rate = rotation ? "DegreesPerSecond" : "PixelsPerSecond";
            checkAttributes(c, {rate});
            m.rate = number(c, rate, 0.0, true);
            if (m.rate < 0.0) {
                d_.warn(at(c, name), std::string(rate) + " must not be negative; no delay");
                m.rate = 0.0;
            }
        } else if (name == "Scale" && !rotation) {
            checkAttributes(c, {"X", "Y"});
            m.hasScale = true;
            m.scaleX = number(c, "X", 0.0);
            m.scaleY = number(c, "Y", 0.0);
        } else if (rotation) {
            unknownChild(c, element, {"Value", "Nonlinearity", "Delay", "Failures"});
        } else {
            unknownChild(c, element, {"Value", "Nonlinearity", "Delay", "Scale", "Failures"});
        }
    }
    if (!haveValue) {
        d_.error(at(n, element), "no <Value>");
    }
    if (!rotation && !m.hasScale && m.table.empty()) {
        d_.warn(at(n, element), "neither <Scale X Y> nor <Nonlinearity>: nothing moves");
    }
}

void GaugeElements::readNonlinearity(const pugi::xml_node& n, Motion& m, bool rotation) {
    checkAttributes(n, {});
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) {
            continue;
        }
        if (std::string(c.name()) != "Item") {
            warnUnknown(c, "Nonlinearity", {"Item"});
            continue;
        }
        NonlinearItem item;
        item.value = number(c, "Value", 0.0, true);
        if (rotation && attr(c, "Degrees")) {
            checkAttributes(c, {"Value", "Degrees"});
            item.hasDegrees = true;
            item.degrees = number(c, "Degrees", 0.0);
        } else {
            checkAttributes(
                c, rotation ? Names{"Value", "X", "Y", "Degrees"} : Names{"Value", "X", "Y"});
            item.x = number(c, "X", 0.0, true);
            item.y = number(c, "Y", 0.0, true);
        }
        m.table.push_back(item);
    }
    checkTable(n, m.table);
}

void GaugeElements::readClip(const pugi::xml_node& n, ClipPart& clip, bool relative) {
    checkAttributes(n, {"Left", "Top", "Right", "Bottom", "Width", "Height"});
    clip.present = true;
    clip.line = lineOf(n);
    clip.relative = relative;
    clip.left = number(n, "Left", 0.0);
    clip.top = number(n, "Top", 0.0);
    clip.width =
        attr(n, "Right") ? number(n, "Right", 0.0) - clip.left : number(n, "Width", 0.0, true);
    clip.height =
        attr(n, "Bottom") ? number(n, "Bottom", 0.0) - clip.top : number(n, "Height", 0.0, true);
    if (clip.width < 0 || clip.height < 0) {
        d_.error(at(n, n.name()), "the box's right or bottom lies before its left or top");
    }
}

// The <Axis X Y/> child of an image or mask.
void GaugeElements::readAxis(const pugi::xml_node& n, double* x, double* y) {
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) {
            continue;
        }
        if (std::string(c.name()) == "Axis") {
            checkAttributes(c, {"X", "Y"});
            *x = number(c, "X", 0.0);
            *y = number(c, "Y", 0.0);
        } else if (std::string(c.name()) != "Nonlinearity") {
            warnUnknown(c, n.name(), {"Axis"});
        }
    }
}

void GaugeElements::readImagePart(const pugi::xml_node& n, Node& node) {
    checkAttributes(n, {"Name", "Bright", "Alpha", "ImageSizes", "NoTransparency", "Luminous",
                        "PointsTo", "DegreesPointsTo"});
    node.image = trim(attr(n, "Name").value());
    if (node.image.empty()) {
        d_.error(at(n, "Image"), "no Name: the image file in the gauge's folder");
    }
    readAxis(n, &node.axisX, &node.axisY);
    if (pugi::xml_attribute p = attr(n, "PointsTo")) {
        node.hasPointsTo = parsePointsTo(trim(p.value()), &node.pointsTo);
        if (!node.hasPointsTo) {
            d_.warn(at(n, "Image"), "PointsTo=\"" + std::string(p.value()) +
                                        "\": expected North, East, South or West; North used");
        }
    } else if (attr(n, "DegreesPointsTo")) {
        node.hasPointsTo = true;
        node.pointsTo = number(n, "DegreesPointsTo", 0.0) * kRadiansPerDegree;
    }
}

void GaugeElements::readShape(const pugi::xml_node& n, Node& node) {
    const std::string name = n.name();
    node.kind = NodeKind::Shape;
    node.id = gauge_.nodeCount++;
    RectangleStyle& style = node.rectangle;
    if (name == "Circle") {
        checkAttributes(n, {"Radius", "LineWidth", "Color", "FillColor", "Bright"});
        node.shape.kind = ShapeKind::Ellipse;
        node.width = node.height = 2.0 * number(n, "Radius", 0.0, true);
    } else {
        checkAttributes(n, {"LineWidth", "Color", "FillColor", "Bright"});
        node.shape.kind = name == "Polygon" ? ShapeKind::Polygon : ShapeKind::Polyline;
        for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element) {
                continue;
            }
            if (std::string(c.name()) != "Point") {
                warnUnknown(c, name, {"Point"});
                continue;
            }
            checkAttributes(c, {"X", "Y"});
            node.shape.points.push_back(
                ShapePoint{number(c, "X", 0.0, true), number(c, "Y", 0.0, true)});
        }
        if (node.shape.points.size() < 2) {
            d_.warn(at(n, name), "fewer than two <Point>s: nothing is drawn");
        }
    }
    style.lineWidth = number(n, "LineWidth", 1.0);
    style.fill = colour(n, "FillColor", Colour{});
    // Without any colour the shape is outlined in white; a filled one only
    // gets the outline it names.
    style.line = colour(n, "Color", style.fill.set ? Colour{} : Colour{0xFFFFFF, true});
}

}  // namespace cs::gauge
