// Gauges in the FSX schema (<SimBase.Document>): each construct read into
// the model the FS9 reader makes of the same gauge written in the FS9
// schema, and each kind of bad input reported at its line, whatever the
// line ends.
#include <gtest/gtest.h>

#include <string>

#include "testsupport/GaugeTree.h"
#include "testsupport/Nested.h"
#include "testsupport/TestNames.h"
#include "tools/gauge/GaugeReader.h"
#include "tools/gauge/MouseKinds.h"

namespace cs::gauge {
namespace {

const std::string kSchemas = CS_SOURCE_DIR "/tests/workbench/fixtures/schemas/";

// An FSX gauge of 100 x 50 whose `body` starts on line 4.
std::string fsx(const std::string& body) {
    return "<SimBase.Document Type=\"AceXML\" version=\"1,0\" id=\"g\">\n"
           "<SimGauge.Gauge id=\"Gauge\">\n<Size>100,50</Size>\n" +
           body + "</SimGauge.Gauge>\n</SimBase.Document>\n";
}

// The FS9 gauge of the same size and name.
std::string fs9(const std::string& body) {
    return "<Gauge Name=\"g\">\n<Size X=\"100\" Y=\"50\"/>\n" + body + "</Gauge>\n";
}

std::string firstProblem(const Diagnostics& d) {
    return d.problems().empty() ? std::string() : d.problems()[0].text();
}

TEST(FsxSchema, TcasGaugeReadsAsItsFs9Twin) {
    Diagnostics d9, dx;
    GaugeFile g9, gx;
    ASSERT_TRUE(readGaugeFile(kSchemas + "tcas_fs9.xml", g9, d9)) << firstProblem(d9);
    ASSERT_TRUE(readGaugeFile(kSchemas + "tcas_fsx.xml", gx, dx)) << firstProblem(dx);
    EXPECT_TRUE(d9.problems().empty()) << firstProblem(d9);
    EXPECT_TRUE(dx.problems().empty()) << firstProblem(dx);
    EXPECT_EQ(gx.name, "ContactScope_TCAS");
    EXPECT_EQ(gx.name, g9.name);
    // The two files have every piece on the same line: the trees match with
    // the lines of the elements and of the scripts.
    EXPECT_EQ(test::gaugeTree(gx, true), test::gaugeTree(g9, true));
    ASSERT_EQ(gx.elements.size(), 2u);
    const Node& draw = gx.elements[0].children.at(0);
    EXPECT_EQ(draw.kind, NodeKind::CustomDraw);
    EXPECT_EQ(draw.parameters.size(), 9u);
    EXPECT_EQ(gx.updateEvery, 18);                 // <Frequency>1</Frequency>
    EXPECT_EQ(gx.update.variables().size(), 12u);  // 6 L: and A: reads and writes, 6 C: writes
}

// One FSX construct, the FS9 gauge it stands for, and what it must read as.
struct Construct {
    const char* label;
    std::string fsx;  // inside <SimGauge.Gauge>, after its <Size>
    std::string fs9;  // inside <Gauge>, after its <Size>; empty: no FS9 twin
    bool (*check)(const GaugeFile&);
};

const Construct kConstructs[] = {
    {"element position and visibility",
     "<Element id=\"a\"><FloatPosition>12.500,-3</FloatPosition>\n"
     "<Visibility>(L:on, bool)</Visibility></Element>\n",
     "<Element><Position X=\"12.5\" Y=\"-3\"/><Visible>(L:on, bool)</Visible></Element>\n",
     [](const GaugeFile& g) {
         const Node& e = g.elements.at(0);
         return e.x == 12.5 && e.y == -3 && e.hasVisible && e.visible.variables().size() == 1;
     }},
    {"text with its box, font, colours and alignment",
     "<Element><GaugeText id=\"t\"><Size>60,16</Size><Length>6</Length>"
     "<FontFace>Courier New</FontFace><FontHeight>16</FontHeight><FontColor>0x80FF80</FontColor>"
     "<BackgroundColor>#102030</BackgroundColor><HorizontalAlign>CENTER</HorizontalAlign>"
     "<VerticalAlign>BOTTOM</VerticalAlign><Bright>True</Bright><Bold>True</Bold>"
     "<Italic>False</Italic><GaugeString>%((L:r, number))%!d! NM</GaugeString></GaugeText>"
     "</Element>\n",
     "<Element><Text X=\"60\" Y=\"16\" Length=\"6\" Font=\"Courier New\" Color=\"#80FF80\" "
     "BackgroundColor=\"#102030\" Adjust=\"Center\" VerticalAdjust=\"Bottom\" Bright=\"Yes\">"
     "<String>%((L:r, number))%!d! NM</String></Text></Element>\n",
     [](const GaugeFile& g) {
         const Node& t = g.elements.at(0).children.at(0);
         return t.kind == NodeKind::Text && t.width == 60 && t.height == 16 && t.text.length == 6 &&
                t.text.font == "Courier New" && t.text.colour.rgb == 0x80FF80 &&
                t.text.background.rgb == 0x102030 && t.text.background.set &&
                t.text.adjust == Adjust::Center && t.text.verticalAdjust == Adjust::End &&
                t.string.scripts().size() == 1;
     }},
    // Transparent leaves the background unpainted, as an FS9 text without
    // a BackgroundColor.
    {"transparent text",
     "<Element><GaugeText><Size>9,9</Size><BackgroundColor>red</BackgroundColor>"
     "<Transparent>true</Transparent><GaugeString>A</GaugeString></GaugeText></Element>\n",
     "<Element><Text X=\"9\" Y=\"9\"><String>A</String></Text></Element>\n",
     [](const GaugeFile& g) { return !g.elements.at(0).children.at(0).text.background.set; }},
    {"rectangle",
     "<Element><Rectangle id=\"r\"><Width>240</Width><Height>280</Height>"
     "<LineWidth>2</LineWidth><LineColor>#608090</LineColor><FillColor>black</FillColor>"
     "</Rectangle></Element>\n",
     "<Element><Rectangle Width=\"240\" Height=\"280\" LineWidth=\"2\" LineColor=\"#608090\" "
     "FillColor=\"black\"/></Element>\n",
     [](const GaugeFile& g) {
         const Node& r = g.elements.at(0).children.at(0);
         return r.kind == NodeKind::Rectangle && r.width == 240 && r.height == 280 &&
                r.rectangle.lineWidth == 2 && r.rectangle.line.rgb == 0x608090 &&
                r.rectangle.fill.set && r.rectangle.fill.rgb == 0;
     }},
    {"background and element images",
     "<Image id=\"bg\" Name=\"bg.bmp\"><Transparent>True</Transparent></Image>\n"
     "<Element><Image Name=\"needle.bmp\"><Bright>False</Bright></Image></Element>\n",
     "<Image Name=\"bg.bmp\"/>\n<Element><Image Name=\"needle.bmp\"/></Element>\n",
     [](const GaugeFile& g) {
         return g.background == "bg.bmp" && g.backgroundLine == 4 &&
                g.elements.at(0).children.at(0).image == "needle.bmp";
     }},
    {"select with its expression and cases",
     "<Element><Select id=\"s\"><Expression id=\"e\"><Minimum>0</Minimum><Maximum>2</Maximum>"
     "<Script>(C:va9vedored:advisory)</Script></Expression>"
     "<Case Value=\"1\"><GaugeText><Size>9,9</Size><GaugeString>TA</GaugeString></GaugeText>"
     "</Case><Case id=\"c\" Value=\"2\"><Image Name=\"ra.bmp\"/></Case></Select></Element>\n",
     "<Element><Select><Value Minimum=\"0\" Maximum=\"2\">(C:va9vedored:advisory)</Value>"
     "<Case Value=\"1\"><Text X=\"9\" Y=\"9\"><String>TA</String></Text></Case>"
     "<Case Value=\"2\"><Image Name=\"ra.bmp\"/></Case></Select></Element>\n",
     [](const GaugeFile& g) {
         const Node& s = g.elements.at(0).children.at(0);
         return s.kind == NodeKind::Select && s.value.variables().size() == 1 &&
                s.children.size() == 2 && s.children[1].caseValue == 2 &&
                s.children[1].children.at(0).image == "ra.bmp" && g.nodeCount == 6;
     }},
    // <Size> is the display's box; every other child is one of its parameters.
    {"custom draw",
     "<Element><CustomDraw id=\"d\" Name=\"va9vedored:radar\"><Size>224,200</Size>"
     "<Range>(L:r, number)</Range><Font>Arial</Font></CustomDraw></Element>\n",
     "<Element><CustomDraw Name=\"va9vedored:radar\" X=\"224\" Y=\"200\">"
     "<Range>(L:r, number)</Range><Font>Arial</Font></CustomDraw></Element>\n",
     [](const GaugeFile& g) {
         const Node& c = g.elements.at(0).children.at(0);
         return c.panel == "va9vedored" && c.display == "radar" && c.width == 224 &&
                c.height == 200 && c.parameters.size() == 2 && c.parameters[1].text == "Arial";
     }},
    {"update with its frequency, and an element's",
     "<Update id=\"u\"><Frequency>6</Frequency><Script>1 (&gt;L:a, number)</Script></Update>\n"
     "<Element><Update><Script>2 (&gt;L:b, number)</Script></Update></Element>\n",
     "<Update Frequency=\"6\">1 (&gt;L:a, number)</Update>\n"
     "<Element><Update>2 (&gt;L:b, number)</Update></Element>\n",
     [](const GaugeFile& g) {
         return g.hasUpdate && g.updateEvery == 3 && g.elementUpdates.size() == 1 &&
                g.update.variables().at(0).write;
     }},
    {"macros, plain, in the gauge tool's <MacroValue> and with arguments",
     "<Macro id=\"m\" Name=\"R\"><MacroValue>(L:range, number)</MacroValue></Macro>\n"
     "<Macro Name=\"Clamp\">@1 max @2 min</Macro>\n"
     "<Update><Script>@R 3 24 @Clamp(3, 24) (&gt;L:range, number)</Script></Update>\n",
     "<Macro Name=\"R\">(L:range, number)</Macro>\n<Macro Name=\"Clamp\">@1 max @2 min</Macro>\n"
     "<Update>@R 3 24 @Clamp(3, 24) (&gt;L:range, number)</Update>\n",
     [](const GaugeFile& g) {
         return g.update.ok() && g.update.variables().size() == 2 &&
                g.update.source().find("max 24 min") != std::string::npos;
     }},
    // The moving parts: the FSX objects hold as properties what FS9 writes
    // as attributes, and PointsTo moves from the image to the rotation.
    {"rotation, shift and mask read with their scripts",
     "<Element><MaskImage Name=\"m.bmp\"><Axis>4,6</Axis></MaskImage>"
     "<Image Name=\"n.bmp\"><Axis>5,50</Axis></Image>\n"
     "<Rotation id=\"r\"><PointsTo>EAST</PointsTo><Expression><Script>(L:a, degrees)</Script>"
     "</Expression><NonlinearityTable><NonlinearityEntry><ExpressionResult>0</ExpressionResult>"
     "<FloatPosition>10,20</FloatPosition></NonlinearityEntry><NonlinearityEntry>"
     "<ExpressionResult>9</ExpressionResult><Degrees>45</Degrees></NonlinearityEntry>"
     "</NonlinearityTable><Delay><DegreesPerSecond>30</DegreesPerSecond></Delay></Rotation>\n"
     "<Shift><Scale>0,2</Scale><Expression><Minimum>0</Minimum><Script>(L:b, number)</Script>"
     "</Expression></Shift></Element>\n",
     "<Element><MaskImage Name=\"m.bmp\"><Axis X=\"4\" Y=\"6\"/></MaskImage>"
     "<Image Name=\"n.bmp\" PointsTo=\"East\"><Axis X=\"5\" Y=\"50\"/></Image>\n"
     "<Rotate><Value>(L:a, degrees)</Value><Nonlinearity><Item Value=\"0\" X=\"10\" Y=\"20\"/>"
     "<Item Value=\"9\" Degrees=\"45\"/></Nonlinearity><Delay DegreesPerSecond=\"30\"/>"
     "</Rotate>\n<Shift><Value Minimum=\"0\">(L:b, number)</Value><Scale X=\"0\" Y=\"2\"/>"
     "</Shift></Element>\n",
     [](const GaugeFile& g) {
         const Node& e = g.elements.at(0);
         const Node& image = e.children.at(0);
         return g.notModelled.empty() && e.mask.image == "m.bmp" && e.mask.axisY == 6 &&
                image.axisX == 5 && image.axisY == 50 && e.rotate.line == 5 &&
                e.rotate.pointsTo > 1.57 && e.rotate.pointsTo < 1.58 && e.rotate.rate == 30 &&
                e.rotate.table.size() == 2 && e.rotate.table[0].y == 20 &&
                e.rotate.table[1].hasDegrees && e.rotate.table[1].degrees == 45 &&
                e.shift.hasMinimum && !e.shift.hasMaximum && e.shift.scaleY == 2 &&
                e.shift.value.variables().at(0).name == "b";
     }},
    {"nested elements and comments",
     "<Element><Comment id=\"c\"><Value>frame</Value></Comment><Element>"
     "<FloatPosition>1,2</FloatPosition><Element><FloatPosition>3,4</FloatPosition>"
     "</Element></Element></Element>\n",
     "<Element><Element><Position X=\"1\" Y=\"2\"/><Element><Position X=\"3\" Y=\"4\"/>"
     "</Element></Element></Element>\n",
     [](const GaugeFile& g) {
         return g.elements.at(0).children.at(0).children.at(0).x == 3 && g.nodeCount == 3;
     }},
    {"mouse areas with clicks, key events and a tool-tip",
     "<MouseArea id=\"m\"><FloatPosition>8,8</FloatPosition><Size>224,224</Size>"
     "<CursorType>Hand</CursorType>\n<MouseClick id=\"c\"><ClickType>LeftSingle+RightSingle"
     "</ClickType><KeyEvent>AP_MASTER</KeyEvent><Script>1 (&gt;L:a, number)</Script></MouseClick>"
     "<MouseClick><ClickType>Move</ClickType><Script>(M:X) (&gt;L:x, number)</Script></MouseClick>"
     "<MouseArea><FloatPosition>10,20</FloatPosition><Size>5,6</Size><MouseClick>"
     "<Script>2</Script></MouseClick></MouseArea>"
     "<Tooltip id=\"t\"><DefaultId>TOOLTIPTEXT_RANGE</DefaultId>"
     "<DefaultScript>%((L:r, number))%!d! NM</DefaultScript></Tooltip></MouseArea>\n",
     "<Mouse><Area Left=\"8\" Top=\"8\" Width=\"224\" Height=\"224\"><Cursor Type=\"Hand\"/>"
     "<Click Kind=\"LeftSingle+RightSingle\" Event=\"AP_MASTER\">1 (&gt;L:a, number)</Click>"
     "<Click Kind=\"Move\">(M:X) (&gt;L:x, number)</Click>"
     "<Area Left=\"10\" Top=\"20\" Width=\"5\" Height=\"6\"><Click>2</Click></Area>"
     "<Tooltip ID=\"TOOLTIPTEXT_RANGE\">%((L:r, number))%!d! NM</Tooltip></Area></Mouse>\n",
     [](const GaugeFile& g) {
         const Area& a = g.areas.at(0);
         return a.left == 8 && a.width == 224 && a.clicks.size() == 2 &&
                a.clicks[0].kinds == (mouseKind("LeftSingle") | mouseKind("RightSingle")) &&
                a.clicks[0].event == "AP_MASTER" && a.clicks[0].line == 5 &&
                a.clickFor(kMouseMove) == &a.clicks[1] && a.children.at(0).top == 20 &&
                a.children[0].clicks.at(0).kinds == mouseKind("LeftSingle") && a.hasTooltip &&
                a.tooltip.scripts().size() == 1;
     }},
    // Without a <Size> an area covers what encloses it (as an FS9 click
    // written straight under <Mouse> covers the gauge).
    {"mouse area without a size, tool-tip as plain text",
     "<MouseArea><TooltipText>Range knob</TooltipText></MouseArea>\n",
     "<Mouse><Tooltip>Range knob</Tooltip></Mouse>\n",
     [](const GaugeFile& g) {
         return g.areas.size() == 1 && g.areas[0].width >= 1e6 && g.areas[0].hasTooltip;
     }},
};

class Constructs : public ::testing::TestWithParam<Construct> {};

TEST_P(Constructs, ReadAsTheFs9Gauge) {
    const Construct& c = GetParam();
    Diagnostics dx, d9;
    GaugeFile gx, g9;
    EXPECT_TRUE(readGaugeText(fsx(c.fsx), "g.xml", ".", gx, dx)) << firstProblem(dx);
    EXPECT_TRUE(dx.problems().empty()) << firstProblem(dx);
    EXPECT_TRUE(c.check(gx)) << test::gaugeTree(gx, true);
    if (c.fs9.empty()) {
        return;
    }
    ASSERT_TRUE(readGaugeText(fs9(c.fs9), "g.xml", ".", g9, d9)) << firstProblem(d9);
    EXPECT_EQ(test::gaugeTree(gx, false), test::gaugeTree(g9, false));
}

INSTANTIATE_TEST_SUITE_P(Table, Constructs, ::testing::ValuesIn(kConstructs), test::ByLabel());

struct BadFsx {
    const char* label;
    std::string xml;
    bool runnable;  // only warnings
    int line;
    const char* says;
};

class FsxProblems : public ::testing::TestWithParam<BadFsx> {};

// Reported at the same line whether the file ends its lines with LF or CRLF.
TEST_P(FsxProblems, ReportedAtTheirLine) {
    const BadFsx& c = GetParam();
    for (const char* end : {"\n", "\r\n"}) {
        std::string xml;
        for (const char ch : c.xml) {
            xml += ch == '\n' ? std::string(end) : std::string(1, ch);
        }
        Diagnostics d;
        GaugeFile g;
        EXPECT_EQ(readGaugeText(xml, "g.xml", ".", g, d), c.runnable) << firstProblem(d);
        ASSERT_FALSE(d.problems().empty()) << testing::PrintToString(end);
        const Problem& p = d.problems()[0];
        EXPECT_EQ(p.line, c.line) << p.text() << " ends " << testing::PrintToString(end);
        EXPECT_NE(p.text().find(c.says), std::string::npos) << p.text();
        EXPECT_EQ(p.severity == Severity::Warning, c.runnable) << p.text();
    }
}

std::string deepElements() {
    return test::nested("<Element>", "</Element>", 40) + "\n";
}

INSTANTIATE_TEST_SUITE_P(
    Table, FsxProblems,
    ::testing::Values(
        BadFsx{"no gauge in the document",
               "<SimBase.Document Type=\"AceXML\">\n<Descr>AceXML Document</Descr>\n"
               "</SimBase.Document>\n",
               false, 1, "no <SimGauge.Gauge>"},
        BadFsx{"unknown element", fsx("<Element>\n<Visibilty>1</Visibilty>\n</Element>\n"), true, 5,
               "unknown element <Visibilty>; ignored; did you mean \"Visibility\"?"},
        BadFsx{"unknown object in the gauge", fsx("\n<Elemnt/>\n"), true, 5,
               "did you mean \"Element\"?"},
        BadFsx{"unknown attribute",
               fsx("<Element>\n<Image Name=\"a.bmp\" Nmae=\"b.bmp\"/>\n</Element>\n"), true, 5,
               "unknown attribute \"Nmae\"; ignored; did you mean \"Name\"?"},
        BadFsx{"attribute on a property",
               fsx("<Element>\n<FloatPosition X=\"1\">1,2</FloatPosition>"
                   "</Element>\n"),
               true, 5, "unknown attribute \"X\""},
        BadFsx{"position not a pair",
               fsx("<Element>\n<FloatPosition>12</FloatPosition>\n</Element>\n"), false, 5,
               "\"12\" is not two numbers"},
        BadFsx{"gauge size not numbers",
               fsx("").replace(fsx("").find("<Size>100,50"), 12, "<Size>ten,5"), false, 3,
               "\"ten,5\" is not two numbers"},
        BadFsx{"gauge size out of range",
               "<SimBase.Document>\n<SimGauge.Gauge>\n\n<Size>0,50</Size>\n</SimGauge.Gauge>\n"
               "</SimBase.Document>\n",
               false, 4, "width and height must be 1 to 4096"},
        BadFsx{"bad number",
               fsx("<Element><Rectangle>\n<Width>wide</Width><Height>2</Height>"
                   "</Rectangle></Element>\n"),
               false, 5, "\"wide\" is not a number"},
        BadFsx{"rectangle without height",
               fsx("<Element>\n<Rectangle><Width>9</Width></Rectangle></Element>\n"), false, 5,
               "missing <Height>"},
        BadFsx{"bad colour",
               fsx("<Element><GaugeText><Size>9,9</Size>\n<FontColor>#12</FontColor>"
                   "<GaugeString>a</GaugeString></GaugeText></Element>\n"),
               true, 5, "\"#12\" is not a colour"},
        BadFsx{"bad flag",
               fsx("<Element><GaugeText><Size>9,9</Size>\n<Bright>Yess</Bright>"
                   "<GaugeString>a</GaugeString></GaugeText></Element>\n"),
               true, 5, "\"Yess\": expected True or False"},
        BadFsx{"bad alignment",
               fsx("<Element><GaugeText><Size>9,9</Size>\n<HorizontalAlign>MIDDLE</HorizontalAlign>"
                   "<GaugeString>a</GaugeString></GaugeText></Element>\n"),
               true, 5, "\"MIDDLE\": expected LEFT, CENTER, RIGHT"},
        BadFsx{"text without its box",
               fsx("<Element>\n<GaugeText><GaugeString>a</GaugeString></GaugeText></Element>\n"),
               false, 5, "no <Size>: the text's box"},
        BadFsx{"text without a string",
               fsx("<Element>\n<GaugeText><Size>9,9</Size></GaugeText></Element>\n"), true, 5,
               "no <GaugeString>; the text is empty"},
        BadFsx{"bad format",
               fsx("<Element><GaugeText><Size>9,9</Size>\n"
                   "<GaugeString>%(1)%!q!</GaugeString></GaugeText></Element>\n"),
               false, 5, "GaugeString: unsupported format"},
        BadFsx{"script error on a later line of the script",
               fsx("<Element>\n<Visibility>\n1 2 plus</Visibility>\n</Element>\n"), false, 6,
               "Visibility: unknown operator \"plus\""},
        BadFsx{"update script",
               fsx("<Update>\n<Frequency>6</Frequency>\n<Script>1 if{ 2</Script>\n</Update>\n"),
               false, 6, "Update: if{ not closed"},
        BadFsx{"update frequency", fsx("<Update>\n<Frequency>50</Frequency></Update>\n"), true, 5,
               "must be 1 to 18 runs a second"},
        BadFsx{"script of a rotation",
               fsx("<Element>\n<Rotation>\n<Expression>\n<Script>1 2 plus</Script>"
                   "</Expression></Rotation>\n</Element>\n"),
               false, 7, "Rotation/Script: unknown operator \"plus\""},
        BadFsx{"select expression",
               fsx("<Element><Select>\n<Expression><Script>(L:a, number) nott</Script>"
                   "</Expression></Select></Element>\n"),
               false, 5, "Select/Expression: unknown operator \"nott\""},
        BadFsx{"select without expression",
               fsx("<Element>\n<Select><Case Value=\"1\"/></Select></Element>\n"), false, 5,
               "no <Expression>"},
        BadFsx{"case without value",
               fsx("<Element><Select><Expression><Script>1</Script></Expression>\n<Case/>"
                   "</Select></Element>\n"),
               false, 5, "missing attribute Value"},
        BadFsx{"image without name", fsx("<Element>\n<Image id=\"i\"/></Element>\n"), false, 5,
               "no Name"},
        BadFsx{"custom draw name",
               fsx("<Element>\n<CustomDraw Name=\"tcas\"><Size>9,9</Size>"
                   "</CustomDraw></Element>\n"),
               false, 5, "expected \"callback:display\""},
        BadFsx{"custom draw without size",
               fsx("<Element>\n<CustomDraw Name=\"va9vedored:tcas\"/></Element>\n"), false, 5,
               "<Size> must give a width and height"},
        BadFsx{"undefined macro", fsx("<Update><Script>\n@Range 2 *</Script></Update>\n"), false, 5,
               "Range"},
        BadFsx{"second gauge",
               fsx("").replace(fsx("").find("</SimBase"), 0,
                               "<SimGauge.Gauge id=\"Other\"><Size>1,1</Size></SimGauge.Gauge>\n"),
               true, 5, "a second gauge in the document; ignored"},
        BadFsx{"unknown click kind",
               fsx("<MouseArea><Size>9,9</Size><MouseClick>\n<ClickType>LeftSingle+LeftSingel"
                   "</ClickType></MouseClick></MouseArea>\n"),
               true, 5, "unknown click kind \"LeftSingel\"; ignored; did you mean \"LeftSingle\"?"},
        BadFsx{"click script",
               fsx("<MouseArea><MouseClick>\n<Script>\n1 (&gt;L:a, number) ++ plus"
                   "</Script></MouseClick></MouseArea>\n"),
               false, 6, "MouseClick: unknown operator \"plus\""},
        BadFsx{"tool-tip format",
               fsx("<MouseArea><Tooltip>\n<DefaultScript>%(1)%!q!</DefaultScript>"
                   "</Tooltip></MouseArea>\n"),
               false, 5, "Tooltip: unsupported format"},
        BadFsx{"mouse area size", fsx("<MouseArea>\n<Size>9</Size></MouseArea>\n"), false, 5,
               "\"9\" is not two numbers"},
        BadFsx{"unknown mouse property", fsx("<MouseArea>\n<MouseClik/></MouseArea>\n"), true, 5,
               "did you mean \"MouseClick\"?"},
        BadFsx{"deep nesting", fsx(deepElements()), false, 4, "nested deeper than 32"},
        BadFsx{"deep mouse areas", fsx(test::nested("<MouseArea>", "</MouseArea>", 40) + "\n"),
               false, 4, "nested deeper than 32"},
        BadFsx{"deep selects",
               fsx("<Element>" +
                   test::nested(
                       "<Select><Expression><Script>1</Script></Expression><Case Value=\"1\">",
                       "</Case></Select>", 40) +
                   "</Element>\n"),
               false, 4, "nested deeper than 32"}),
    test::ByLabel());

}  // namespace
}  // namespace cs::gauge
