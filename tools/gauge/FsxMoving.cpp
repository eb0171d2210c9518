// The FSX reader's moving and masking objects and vector shapes, into the
// same model as their FS9 counterparts (MovingParts.h):
//
//   <MaskImage Name="window.bmp"><Axis>20,10</Axis></MaskImage>
//   <Image Name="needle.bmp"><Axis>5,3</Axis></Image>
//   <Rotation><PointsTo>EAST</PointsTo>
//     <Expression><Minimum>0</Minimum><Maximum>200</Maximum><Script>...</Script></Expression>
//     <NonlinearityTable><NonlinearityEntry><ExpressionResult>0</ExpressionResult>
//       <FloatPosition>62,112</FloatPosition> (or <Degrees>)</NonlinearityEntry>...
//     </NonlinearityTable><Delay><DegreesPerSecond>90</DegreesPerSecond></Delay></Rotation>
//   <Shift><Scale>0,2</Scale><Expression>...</Expression><Delay>...</Delay></Shift>
//   <Clip><Left>, <Top>, <Right>, <Bottom> (or <Width>, <Height>)</Clip>
//   <Circle><Radius>, <Ellipse><Width><Height>, <Polyline>/<Polygon> with
//   <Point>x,y</Point>s, <HorizontalLine><Width>, <VerticalLine><Height>;
//   each with <LineWidth>, <LineColor>, <FillColor>, <Bright>.
#include <algorithm>
#include <iterator>
#include <string>

#include "tools/gauge/FsxElements.h"

namespace cs::gauge {

bool FsxElements::readMovingObject(const pugi::xml_node& c, Node& node) {
    const std::string name = c.name();
    if (name == "Rotation" || name == "Shift") {
        Motion& m = name == "Rotation" ? node.rotate : node.shift;
        if (m.present) {
            d_.warn(at(c, name), "a second <" + name + "> in this element; ignored");
            return true;
        }
        readMotion(c, m, name == "Rotation");
    } else if (name == "MaskImage") {
        node.mask.present = true;
        node.mask.line = lineOf(c);
        readImage(c, node.mask.image, &node.mask.axisX, &node.mask.axisY);
        if (node.mask.image.empty()) {
            d_.error(at(c, name), "no Name: the mask's image file in the gauge's folder");
        }
    } else if (name == "Clip") {
        readClip(c, node.clip);
    } else {
        return false;
    }
    return true;
}

void FsxElements::readMotion(const pugi::xml_node& n, Motion& m, bool rotation) {
    checkAttributes(n, {"id"});
    m.present = true;
    m.line = lineOf(n);
    bool haveValue = false;
    const Names known =
        rotation ? Names{"Expression", "NonlinearityTable", "PointsTo", "DegreesPointsTo",
                         "Delay",      "FailureTable"}
                 : Names{"Expression", "NonlinearityTable", "Scale", "Delay", "FailureTable"};
    children(n, known, [&](const pugi::xml_node& c, const std::string& name) {
        if (name == "Expression" && !haveValue) {
            readBoundedExpression(c, m, std::string(n.name()) + "/Script");
            haveValue = true;
        } else if (name == "NonlinearityTable") {
            readTable(c, m, rotation);
        } else if (name == "Delay") {
            readDelay(c, m, rotation ? "DegreesPerSecond" : "PixelsPerSecond");
        } else if (name == "Scale" && !rotation) {
            m.hasScale = pair(c, &m.scaleX, &m.scaleY);
        } else if (name == "PointsTo" && rotation) {
            const std::string t = text(c);
            if (!parsePointsTo(t, &m.pointsTo)) {
                d_.warn(at(c, name),
                        "\"" + t + "\": expected NORTH, EAST, SOUTH or WEST; NORTH used");
            }
        } else if (name == "DegreesPointsTo" && rotation) {
            m.pointsTo = value(c, 0.0) * kRadiansPerDegree;
        } else {
            return false;
        }
        return true;
    });
    if (!haveValue) {
        d_.error(at(n, n.name()), "no <Expression>");
    }
    if (!rotation && !m.hasScale && m.table.empty()) {
        d_.warn(at(n, n.name()), "neither <Scale> nor <NonlinearityTable>: nothing moves");
    }
}

// <Expression> with its <Minimum> and <Maximum>, which limit the value.
void FsxElements::readBoundedExpression(const pugi::xml_node& n, Motion& m,
                                        const std::string& element) {
    checkAttributes(n, {"id"});
    bool haveScript = false;
    children(n, {"Minimum", "Maximum", "Script"},
             [&](const pugi::xml_node& c, const std::string& name) {
                 if (name == "Minimum") {
                     m.hasMinimum = true;
                     m.minimum = value(c, 0.0);
                 } else if (name == "Maximum") {
                     m.hasMaximum = true;
                     m.maximum = value(c, 0.0);
                 } else if (name == "Script" && !haveScript) {
                     checkAttributes(c, {});
                     m.value = script(c, element);
                     haveScript = true;
                 } else {
                     return false;
                 }
                 return true;
             });
    if (!haveScript) {
        m.value = compileScript("", Origin{file_, lineOf(n), element}, d_);
    }
}

void FsxElements::readTable(const pugi::xml_node& n, Motion& m, bool rotation) {
    checkAttributes(n, {"id"});
    children(n, {"NonlinearityEntry"}, [&](const pugi::xml_node& e, const std::string& name) {
        if (name != "NonlinearityEntry") {
            return false;
        }
        checkAttributes(e, {"id"});
        NonlinearItem item;
        bool haveValue = false, havePlace = false;
        const Names known = rotation ? Names{"ExpressionResult", "FloatPosition", "Degrees"}
                                     : Names{"ExpressionResult", "FloatPosition"};
        children(e, known, [&](const pugi::xml_node& c, const std::string& part) {
            if (part == "ExpressionResult") {
                item.value = value(c, 0.0);
                haveValue = true;
            } else if (part == "FloatPosition") {
                havePlace = pair(c, &item.x, &item.y) || havePlace;
            } else if (part == "Degrees" && rotation) {
                item.hasDegrees = true;
                item.degrees = value(c, 0.0);
                havePlace = true;
            } else {
                return false;
            }
            return true;
        });
        if (!haveValue || !havePlace) {
            d_.error(at(e, name), haveValue ? "no <FloatPosition>" : "no <ExpressionResult>");
        }
        m.table.push_back(item);
        return true;
    });
    checkTable(n, m.table);
}

// <Delay> holding <DegreesPerSecond> (<PixelsPerSecond>), or the rate alone.
void FsxElements::readDelay(const pugi::xml_node& n, Motion& m, const char* rate) {
    readRate(n, m, rate);
    if (m.rate < 0.0) {
        d_.warn(at(n, "Delay"), std::string(rate) + " must not be negative; no delay");
        m.rate = 0.0;
    }
}

void FsxElements::readRate(const pugi::xml_node& n, Motion& m, const char* rate) {
    if (!n.find_child([](const pugi::xml_node& c) { return c.type() == pugi::node_element; })) {
        m.rate = value(n, 0.0);
        return;
    }
    checkAttributes(n, {"id"});
    children(n, {rate}, [&](const pugi::xml_node& c, const std::string& name) {
        if (name != rate) {
            return false;
        }
        m.rate = value(c, 0.0);
        return true;
    });
}

void FsxElements::readClip(const pugi::xml_node& n, ClipPart& clip) {
    checkAttributes(n, {"id"});
    clip.present = true;
    clip.relative = true;
    clip.line = lineOf(n);
    double right = 0.0, bottom = 0.0;
    bool haveRight = false, haveBottom = false, haveWidth = false, haveHeight = false;
    children(n, {"Left", "Top", "Right", "Bottom", "Width", "Height"},
             [&](const pugi::xml_node& c, const std::string& name) {
                 static const char* const kSides[] = {"Left",   "Top",   "Right",
                                                      "Bottom", "Width", "Height"};
                 if (std::find(std::begin(kSides), std::end(kSides), name) == std::end(kSides)) {
                     return false;
                 }
                 const double v = value(c, 0.0);
                 if (name == "Left") {
                     clip.left = v;
                 } else if (name == "Top") {
                     clip.top = v;
                 } else if (name == "Right") {
                     right = v;
                     haveRight = true;
                 } else if (name == "Bottom") {
                     bottom = v;
                     haveBottom = true;
                 } else if (name == "Width") {
                     clip.width = v;
                     haveWidth = true;
                 } else if (name == "Height") {
                     clip.height = v;
                     haveHeight = true;
                 }
                 return true;
             });
    clip.width = haveRight ? right - clip.left : clip.width;
    clip.height = haveBottom ? bottom - clip.top : clip.height;
    if (!(haveRight || haveWidth) || !(haveBottom || haveHeight) || clip.width < 0 ||
        clip.height < 0) {
        d_.error(at(n, "Clip"),
                 "the box needs a right (or width) and a bottom (or height) "
                 "past its left and top");
    }
}

void FsxElements::readShape(const pugi::xml_node& n, Node& node) {
    const std::string name = n.name();
    checkAttributes(n, {"id"});
    node.kind = NodeKind::Shape;
    node.id = gauge_.nodeCount++;
    node.shape.kind = name == "Circle" || name == "Ellipse" ? ShapeKind::Ellipse
                      : name == "Polygon"                   ? ShapeKind::Polygon
                                                            : ShapeKind::Polyline;
    RectangleStyle& style = node.rectangle;
    bool haveLine = false;
    double length = 0.0;
    children(
        n, {"Radius", "Width", "Height", "Point", "LineWidth", "LineColor", "FillColor", "Bright"},
        [&](const pugi::xml_node& c, const std::string& part) {
            if (part == "Radius" && name == "Circle") {
                node.width = node.height = 2.0 * value(c, 0.0);
            } else if (part == "Width" && name != "VerticalLine") {
                node.width = length = value(c, 0.0);
            } else if (part == "Height" && name != "HorizontalLine") {
                node.height = length = value(c, 0.0);
            } else if (part == "Point" && node.shape.kind != ShapeKind::Ellipse) {
                ShapePoint p;
                if (pair(c, &p.x, &p.y)) {
                    node.shape.points.push_back(p);
                }
            } else if (part == "LineWidth") {
                style.lineWidth = value(c, 1.0);
            } else if (part == "LineColor") {
                style.line = colourOf(c, style.line);
                haveLine = true;
            } else if (part == "FillColor") {
                style.fill = colourOf(c, style.fill);
            } else {
                return false;  // Bright, and what this shape does not take
            }
            return true;
        });
    if (name == "HorizontalLine" || name == "VerticalLine") {
        node.shape.points = {ShapePoint{}, name == "HorizontalLine" ? ShapePoint{length, 0.0}
                                                                    : ShapePoint{0.0, length}};
    }
    if (!haveLine && !style.fill.set) {
        style.line = Colour{0xFFFFFF, true};
    }
}

}  // namespace cs::gauge
