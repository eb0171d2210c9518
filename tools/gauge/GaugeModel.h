// A gauge file as the workbench understands it: the simulator's FS9 gauge
// schema (<Gauge> with <Size>, <Update>, <Element>s and <Mouse>), its
// scripts compiled, every piece with the line it came from.
//
// Elements nest; each node of the tree is one of the kinds below, and its
// children are drawn in file order after it. Positions are in gauge units,
// relative to the enclosing element.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/gauge/MovingParts.h"
#include "tools/gauge/Script.h"
#include "tools/gauge/StringFormat.h"

namespace cs::gauge {

struct Colour {
    uint32_t rgb = 0;  // 0xRRGGBB
    bool set = false;
};

enum class NodeKind { Element, Text, Rectangle, Image, CustomDraw, Select, Case, Shape };

enum class Adjust { Start, Center, End };

struct TextStyle {
    int length = 0;  // characters the box is made for
    std::string font = "Arial";
    Colour colour{0xFFFFFF, true};
    Colour background;  // unset: transparent
    Adjust adjust = Adjust::Start;
    Adjust verticalAdjust = Adjust::Start;
};

// The outline and fill of a rectangle or shape.
struct RectangleStyle {
    double lineWidth = 1.0;
    Colour line;
    Colour fill;
};

// One parameter child of a <CustomDraw>: <Range>(L:range, number)</Range>.
struct DrawParameter {
    std::string name;
    int line = 0;
    std::string text;  // as written, trimmed; string parameters take it literally
    Script script;     // the text compiled (for numbers, or a script giving a text)
};

struct Node {
    NodeKind kind = NodeKind::Element;
    int id = 0;  // pre-order number within the gauge, for per-node state
    int line = 0;

    // Element: position and the <Visible> script (empty: always visible).
    double x = 0.0, y = 0.0;
    bool hasVisible = false;
    Script visible;
    // Element: what turns, slides and bounds what it draws (MovingParts.h).
    Motion rotate, shift;
    MaskPart mask;
    ClipPart clip;

    // Text, Rectangle, Image, CustomDraw: the box (Text: X and Y attributes).
    double width = 0.0, height = 0.0;
    TextStyle text;
    FormattedString string;  // Text
    RectangleStyle rectangle;
    std::string image;  // Image: file name in the gauge's folder
    // Image: the point of the bitmap that sits at the element's pivot; FS9
    // PointsTo (radians clockwise from 12 o'clock) when it gives one.
    double axisX = 0.0, axisY = 0.0;
    bool hasPointsTo = false;
    double pointsTo = 0.0;
    ShapeStyle shape;  // Shape, with `rectangle` as its outline and fill

    // CustomDraw: "callback:display" and the parameters.
    std::string panel, display;
    std::vector<DrawParameter> parameters;

    // Select: the value script; Case: the value it matches.
    Script value;
    double caseValue = 0.0;

    std::vector<Node> children;
};

// One <Click>: the mouse actions it answers (bits of MouseKinds.h), the key
// event it sends (Event="..."), and its script.
struct Click {
    int line = 0;
    uint32_t kinds = 0;
    std::string event;
    Script script;
};

// A <Mouse> area: Left/Top with Width/Height (or Right/Bottom), relative to
// the enclosing area.
struct Area {
    int line = 0;
    double left = 0.0, top = 0.0, width = 0.0, height = 0.0;
    std::vector<Click> clicks;  // in file order
    bool hasTooltip = false;
    FormattedString tooltip;
    std::vector<Area> children;

    // The first click answering any of `kinds`, or null.
    const Click* clickFor(uint32_t kinds) const;
};

// An element of the gauge schema that the reader skips (a <Rotate>, a
// <MaskImage>, ...), for the drawing layer to warn about what it cannot draw.
struct SchemaElement {
    std::string name;
    int line = 0;
};

struct GaugeFile {
    std::string file;    // as named in messages
    std::string folder;  // images are looked up here
    std::string name;    // <Gauge Name>, else the file's stem
    int line = 0;        // of the gauge's element
    double width = 0.0, height = 0.0;
    std::string background;  // gauge-level <Image Name>, may be empty
    int backgroundLine = 0;
    bool hasUpdate = false;
    Script update;
    std::vector<Script> elementUpdates;  // <Update> inside elements, run after it
    int updateEvery = 1;                 // ticks between runs of Update: 18 / Frequency
    std::vector<Node> elements;
    std::vector<Area> areas;
    std::vector<SchemaElement> notModelled;  // in file order
    std::vector<Script> notModelledScripts;  // their <Value> scripts, checked only
    int nodeCount = 0;
};

// Every script of the gauge (Update, then the elements' Visible/Value/String
// scripts, rotations' and shifts' values and CustomDraw parameters, then the mouse, then the value
// scripts of elements not modelled), for binding and checking.
std::vector<Script*> allScripts(GaugeFile& gauge);

}  // namespace cs::gauge
