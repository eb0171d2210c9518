// The moving parts as the readers take them: FS9 constructs read into the
// model (the FSX twins are in FsxSchemaTest), the FSX shapes read as their
// FS9 counterparts, and each kind of bad input reported at its line.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "testsupport/GaugeTree.h"
#include "testsupport/TestNames.h"
#include "tools/gauge/GaugeReader.h"

namespace cs::gauge {
namespace {

// An FS9 gauge whose `body` starts on line 3.
std::string fs9(const std::string& body) {
    return "<Gauge Name=\"g\">\n<Size X=\"100\" Y=\"50\"/>\n" + body + "</Gauge>\n";
}

std::string fsx(const std::string& body) {
    return "<SimBase.Document Type=\"AceXML\" version=\"1,0\" id=\"g\">\n"
           "<SimGauge.Gauge id=\"Gauge\">\n<Size>100,50</Size>\n" +
           body + "</SimGauge.Gauge>\n</SimBase.Document>\n";
}

std::string firstProblem(const Diagnostics& d) {
    return d.problems().empty() ? std::string() : d.problems()[0].text();
}

struct Read {
    const char* label;
    std::string xml;
    std::function<bool(const Node&)> check;  // on the first element
};

const Read kReads[] = {
    {"rotate with limits, a table of points and degrees, and a delay",
     "<Element><Position X=\"100\" Y=\"100\"/><Image Name=\"n.bmp\" PointsTo=\"south\">"
     "<Axis X=\"10\" Y=\"4\"/></Image><Rotate><Value Minimum=\"0\" Maximum=\"200\">1</Value>"
     "<Nonlinearity><Item Value=\"0\" X=\"100\" Y=\"180\"/><Item Value=\"200\" Degrees=\"90\"/>"
     "</Nonlinearity><Delay DegreesPerSecond=\"90\"/></Rotate></Element>\n",
     [](const Node& e) {
         const Node& image = e.children.at(0);
         return e.rotate.present && e.rotate.hasMinimum && e.rotate.maximum == 200 &&
                e.rotate.table.size() == 2 && e.rotate.table[0].y == 180 &&
                !e.rotate.table[0].hasDegrees && e.rotate.table[1].degrees == 90 &&
                e.rotate.rate == 90 && image.axisX == 10 && image.axisY == 4 &&
                e.rotate.pointsTo > 3.14 && e.rotate.pointsTo < 3.15;
     }},
    {"DegreesPointsTo",
     "<Element><Image Name=\"n.bmp\" DegreesPointsTo=\"90\"/><Rotate><Value>1</Value></Rotate>"
     "</Element>\n",
     [](const Node& e) { return e.rotate.pointsTo > 1.57 && e.rotate.pointsTo < 1.58; }},
    {"shift with a scale and a delay, the mask with its axis",
     "<Element><MaskImage Name=\"w.bmp\"><Axis X=\"10\" Y=\"20\"/></MaskImage>"
     "<Shift><Value>2</Value><Scale X=\"0\" Y=\"1.5\"/><Delay PixelsPerSecond=\"36\"/></Shift>"
     "</Element>\n",
     [](const Node& e) {
         return e.shift.present && e.shift.hasScale && e.shift.scaleY == 1.5 &&
                e.shift.rate == 36 && e.mask.image == "w.bmp" && e.mask.axisY == 20 &&
                !e.rotate.present;
     }},
    {"clip by its sides, relative clip by its size",
     "<Element><Clip Left=\"10\" Top=\"5\" Right=\"50\" Bottom=\"45\"/><Element>"
     "<RelClip Left=\"1\" Top=\"2\" Width=\"3\" Height=\"4\"/></Element></Element>\n",
     [](const Node& e) {
         const ClipPart& inner = e.children.at(0).clip;
         return e.clip.present && !e.clip.relative && e.clip.width == 40 && e.clip.height == 40 &&
                inner.relative && inner.top == 2 && inner.height == 4;
     }},
    {"shapes with colours by name and in hex, white when none is given",
     "<Element><Circle Radius=\"15\" FillColor=\"#0000FF\"/><Polygon Color=\"0x00FF00\">"
     "<Point X=\"1\" Y=\"2\"/><Point X=\"3\" Y=\"4\"/><Point X=\"5\" Y=\"0\"/></Polygon>"
     "<Polyline><Point X=\"0\" Y=\"0\"/><Point X=\"9\" Y=\"0\"/></Polyline></Element>\n",
     [](const Node& e) {
         const Node &circle = e.children.at(0), &polygon = e.children.at(1),
                    &line = e.children.at(2);
         return circle.kind == NodeKind::Shape && circle.shape.kind == ShapeKind::Ellipse &&
                circle.width == 30 && circle.rectangle.fill.rgb == 0x0000FF &&
                !circle.rectangle.line.set && polygon.shape.kind == ShapeKind::Polygon &&
                polygon.shape.points.size() == 3 && polygon.rectangle.line.rgb == 0x00FF00 &&
                line.shape.kind == ShapeKind::Polyline && line.rectangle.line.rgb == 0xFFFFFF;
     }},
};

class MovingReads : public ::testing::TestWithParam<Read> {};

TEST_P(MovingReads, IntoTheModel) {
    Diagnostics d;
    GaugeFile g;
    ASSERT_TRUE(readGaugeText(fs9(GetParam().xml), "g.xml", ".", g, d)) << firstProblem(d);
    EXPECT_TRUE(d.problems().empty()) << firstProblem(d);
    ASSERT_FALSE(g.elements.empty());
    EXPECT_TRUE(GetParam().check(g.elements[0])) << test::gaugeTree(g, true);
}

INSTANTIATE_TEST_SUITE_P(Table, MovingReads, ::testing::ValuesIn(kReads), test::ByLabel());

// Lines of the FSX schema are the same shapes as FS9 circles and polylines.
TEST(MovingReads, FsxShapesAsTheirFs9Twins) {
    Diagnostics dx, d9;
    GaugeFile gx, g9;
    ASSERT_TRUE(readGaugeText(
        fsx("<Element><Circle><Radius>3</Radius><FillColor>orange</FillColor></Circle>"
            "<HorizontalLine><Width>50</Width><LineWidth>3</LineWidth><LineColor>#FFA500"
            "</LineColor></HorizontalLine><VerticalLine><Height>7</Height></VerticalLine>"
            "<Polygon><Point>1,2</Point><Point>3,4</Point><Point>5,0</Point></Polygon>"
            "</Element>\n"),
        "g.xml", ".", gx, dx));
    ASSERT_TRUE(readGaugeText(
        fs9("<Element><Circle Radius=\"3\" FillColor=\"orange\"/><Polyline LineWidth=\"3\" "
            "Color=\"#FFA500\"><Point X=\"0\" Y=\"0\"/><Point X=\"50\" Y=\"0\"/></Polyline>"
            "<Polyline><Point X=\"0\" Y=\"0\"/><Point X=\"0\" Y=\"7\"/></Polyline><Polygon>"
            "<Point X=\"1\" Y=\"2\"/><Point X=\"3\" Y=\"4\"/><Point X=\"5\" Y=\"0\"/></Polygon>"
            "</Element>\n"),
        "g.xml", ".", g9, d9));
    EXPECT_TRUE(dx.problems().empty()) << firstProblem(dx);
    // The FSX lines have a width (height) as their box; the shapes agree.
    std::string fsxTree = test::gaugeTree(gx, false), fs9Tree = test::gaugeTree(g9, false);
    for (const char* box : {"box 50 0", "box 0 7"}) {
        const size_t at = fsxTree.find(box);
        ASSERT_NE(at, std::string::npos) << fsxTree;
        fsxTree.replace(at, std::string(box).size(), "box 0 0");
    }
    EXPECT_EQ(fsxTree, fs9Tree);
}

struct Bad {
    const char* label;
    std::string xml;
    bool runnable;  // only warnings
    int line;
    const char* says;
};

const Bad kBad[] = {
    {"rotate without a value",
     fs9("<Element>\n<Rotate><Delay DegreesPerSecond=\"9\"/></Rotate>"
         "</Element>\n"),
     false, 4, "no <Value>"},
    {"shift that cannot move", fs9("<Element>\n<Shift><Value>1</Value></Shift></Element>\n"), true,
     4, "nothing moves"},
    {"table going back",
     fs9("<Element><Rotate><Value>1</Value>\n<Nonlinearity>"
         "<Item Value=\"0\" Degrees=\"0\"/><Item Value=\"5\" Degrees=\"9\"/>"
         "<Item Value=\"2\" Degrees=\"20\"/></Nonlinearity></Rotate>"
         "</Element>\n"),
     true, 4, "go up and down again"},
    {"unknown PointsTo", fs9("<Element>\n<Image Name=\"n.bmp\" PointsTo=\"Up\"/></Element>\n"),
     true, 4, "expected North, East, South or West"},
    {"clip ending before it starts",
     fs9("<Element>\n<Clip Left=\"10\" Top=\"0\" Right=\"5\" Bottom=\"9\"/></Element>\n"), false, 4,
     "lies before its left or top"},
    {"negative delay",
     fs9("<Element><Rotate><Value>1</Value>\n<Delay DegreesPerSecond=\"-4\"/>"
         "</Rotate></Element>\n"),
     true, 4, "must not be negative"},
    {"mask without a name", fs9("<Element>\n<MaskImage/></Element>\n"), false, 4,
     "no Name: the mask's image"},
    {"second rotate",
     fs9("<Element><Rotate><Value>1</Value></Rotate>\n<Rotate><Value>2</Value>"
         "</Rotate></Element>\n"),
     true, 4, "a second <Rotate>"},
    {"FSX table entry without a place",
     fsx("<Element><Rotation><Expression><Script>1</Script></Expression><NonlinearityTable>\n"
         "<NonlinearityEntry><ExpressionResult>1</ExpressionResult></NonlinearityEntry>"
         "</NonlinearityTable></Rotation></Element>\n"),
     false, 5, "no <FloatPosition>"},
    {"FSX clip without its far sides",
     fsx("<Element>\n<Clip><Left>1</Left><Top>1</Top></Clip></Element>\n"), false, 5,
     "needs a right (or width)"},
};

class MovingProblems : public ::testing::TestWithParam<Bad> {};

TEST_P(MovingProblems, ReportedAtTheirLine) {
    const Bad& c = GetParam();
    Diagnostics d;
    GaugeFile g;
    EXPECT_EQ(readGaugeText(c.xml, "g.xml", ".", g, d), c.runnable) << firstProblem(d);
    ASSERT_FALSE(d.problems().empty());
    const Problem& p = d.problems()[0];
    EXPECT_EQ(p.line, c.line) << p.text();
    EXPECT_NE(p.text().find(c.says), std::string::npos) << p.text();
    EXPECT_EQ(p.severity == Severity::Warning, c.runnable) << p.text();
}

INSTANTIATE_TEST_SUITE_P(Table, MovingProblems, ::testing::ValuesIn(kBad), test::ByLabel());

}  // namespace
}  // namespace cs::gauge
