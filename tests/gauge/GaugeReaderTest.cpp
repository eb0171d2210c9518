// Gauge files: what is read from a good one, and how each kind of bad input
// is reported (file:line: element: problem; warnings leave it runnable).
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "testsupport/Nested.h"
#include "testsupport/TestNames.h"
#include "tools/gauge/GaugeReader.h"
#include "tools/gauge/MouseKinds.h"

namespace cs::gauge {
namespace {

TEST(GaugeReader, ReadsTheKitsTcasGauge) {
    Diagnostics d;
    GaugeFile g;
    ASSERT_TRUE(readGaugeFile(CS_SOURCE_DIR "/docs/kit/ContactScope_TCAS.xml", g, d))
        << d.problems().at(0).text();
    EXPECT_EQ(d.problems().size(), 0u) << d.problems().at(0).text();
    EXPECT_EQ(g.name, "ContactScope_TCAS");
    EXPECT_EQ(g.width, 256);
    ASSERT_FALSE(g.elements.empty());
    const Node& draw = g.elements[0].children.at(0);
    EXPECT_EQ(draw.kind, NodeKind::CustomDraw);
    EXPECT_EQ(draw.panel, "va9vedored");
    EXPECT_EQ(draw.display, "tcas");
    EXPECT_EQ(draw.width, 256);
    ASSERT_FALSE(draw.parameters.empty());
    EXPECT_EQ(draw.parameters[0].name, "Range");
    ASSERT_EQ(g.areas.size(), 1u);
    const Click* move = g.areas[0].clickFor(kMouseMove);
    ASSERT_NE(move, nullptr);
    EXPECT_TRUE(g.areas[0].hasTooltip);
    EXPECT_EQ(move->script.variables().size(), 4u);  // M:X, >C:..., M:Y, >C:...
}

// Schema elements the reader does not model are kept by name and line, in
// file order, for the drawing layer to warn about; they are no problem here.
// A rotation's failures are among them, the rotation itself is read.
TEST(GaugeReader, KeepsTheSchemaElementsItDoesNotModel) {
    Diagnostics d;
    GaugeFile g;
    ASSERT_TRUE(
        readGaugeText("<Gauge Name=\"g\">\n<Size X=\"9\" Y=\"9\"/>\n<Element>\n"
                      "<Rotate><Value>1</Value><Failures/></Rotate>\n<Element><Failures/>\n"
                      "</Element></Element>\n</Gauge>\n",
                      "g.xml", ".", g, d));
    EXPECT_TRUE(d.problems().empty());
    EXPECT_TRUE(g.notModelledScripts.empty());
    ASSERT_EQ(g.notModelled.size(), 2u);
    EXPECT_EQ(g.notModelled[0].name, "Failures");
    EXPECT_EQ(g.notModelled[0].line, 4);
    EXPECT_EQ(g.notModelled[1].name, "Failures");
    EXPECT_EQ(g.notModelled[1].line, 5);
    EXPECT_TRUE(g.elements.at(0).rotate.present);
    EXPECT_EQ(g.elements[0].rotate.line, 4);
}

// XML ends a line at LF, CRLF and a CR alone: the same gauge written with
// each gives the same lines, for an element and inside a script.
TEST(GaugeReader, LinesWhateverTheLineEnds) {
    const std::string lines[] = {"<Gauge Name=\"g\">",
                                 "<Size X=\"9\" Y=\"9\"/>",
                                 "<Update>",
                                 "1 2 +",
                                 "3 bogus",
                                 "</Update>",
                                 "<Element>",
                                 "<Positon X=\"1\" Y=\"1\"/>",
                                 "</Element>",
                                 "</Gauge>"};
    for (const char* end : {"\n", "\r\n", "\r"}) {
        std::string xml;
        for (const std::string& l : lines) {
            xml += l + end;
        }
        Diagnostics d;
        GaugeFile g;
        readGaugeText(xml, "g.xml", ".", g, d);
        ASSERT_EQ(d.problems().size(), 2u) << "ends " << testing::PrintToString(end);
        EXPECT_EQ(d.problems()[0].line, 5) << d.problems()[0].text();
        EXPECT_EQ(d.problems()[1].line, 8) << d.problems()[1].text();
    }
}

std::string gauge(const std::string& body) {
    return "<Gauge Name=\"g\">\n<Size X=\"100\" Y=\"50\"/>\n" + body + "</Gauge>\n";
}

// Variations of the schema the simulator takes without a word: each reads
// into the model with no warning.
struct Variation {
    const char* label;
    const char* body;  // after <Size>
    bool (*check)(const GaugeFile&);
};

const Variation kVariations[] = {
    {"attribute names in any case",
     "<Mouse><Area left=\"1\" TOP=\"2\" Width=\"3\" height=\"4\"/></Mouse>",
     [](const GaugeFile& g) {
         return g.areas.size() == 1 && g.areas[0].top == 2 && g.areas[0].height == 4;
     }},
    {"click straight under Mouse", "<Mouse><Click Kind=\"LeftSingle\">1</Click></Mouse>",
     [](const GaugeFile& g) { return g.areas.size() == 1 && g.areas[0].clicks.size() == 1; }},
    {"tool-tip with an ID",
     "<Mouse><Tooltip ID=\"TOOLTIPTEXT_RANGE\" MetricID=\"X\">range</Tooltip></Mouse>",
     [](const GaugeFile& g) { return g.areas.size() == 1 && g.areas[0].hasTooltip; }},
    {"Update and Size inside an element",
     "<Element><Size X=\"9\" Y=\"9\"/><Update>1 (&gt;L:a, number)</Update></Element>",
     [](const GaugeFile& g) { return g.elementUpdates.size() == 1 && g.elements.size() == 1; }},
    {"comment inside a script", "<Update>1 <!-- two --> 2 +</Update>",
     [](const GaugeFile& g) { return g.hasUpdate && g.update.ok(); }},
};

class SchemaVariations : public ::testing::TestWithParam<Variation> {};

TEST_P(SchemaVariations, ReadWithoutAWord) {
    const Variation& v = GetParam();
    Diagnostics d;
    GaugeFile g;
    EXPECT_TRUE(readGaugeText(gauge(std::string(v.body) + "\n"), "g.xml", ".", g, d));
    EXPECT_TRUE(d.problems().empty()) << d.problems().at(0).text();
    EXPECT_TRUE(v.check(g)) << v.label;
}

INSTANTIATE_TEST_SUITE_P(Table, SchemaVariations, ::testing::ValuesIn(kVariations),
                         cs::test::ByLabel());

// A file that cannot be read is a problem of the file, without a line.
// Colours as gauges write them: the web's colour names in any case (so
// "green" is #008000, "lime" #00FF00), #RRGGBB and 0xRRGGBB.
TEST(GaugeReader, ColourSpellings) {
    const struct {
        const char* text;
        bool ok;
        uint32_t rgb;
    } kCases[] = {
        {"green", true, 0x008000},
        {"Lime", true, 0x00FF00},
        {"LavenderBlush", true, 0xFFF0F5},
        {"aquamarine", true, 0x7FFFD4},
        {"GREY", true, 0x808080},
        {"yellowgreen", true, 0x9ACD32},
        {"aliceblue", true, 0xF0F8FF},
        {"#7fffd4", true, 0x7FFFD4},
        {"0x7FFFD4", true, 0x7FFFD4},
        {"greenish", false, 0},
        {"gree", false, 0},
        {"", false, 0},
        {"#12345", false, 0},
        {"0x12345G", false, 0},
    };
    for (const auto& c : kCases) {
        uint32_t rgb = 0xDEAD;
        EXPECT_EQ(parseColour(c.text, &rgb), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(rgb, c.rgb) << c.text;
        }
    }
}

TEST(GaugeReader, MissingFileHasNoLine) {
    Diagnostics d;
    GaugeFile g;
    EXPECT_FALSE(readGaugeFile("no/such/gauge.xml", g, d));
    ASSERT_EQ(d.problems().size(), 1u);
    EXPECT_EQ(d.problems()[0].text().rfind("no/such/gauge.xml: cannot read the file", 0), 0u)
        << d.problems()[0].text();
}

struct BadGauge {
    const char* label;
    std::string xml;
    bool runnable;  // only warnings
    int line;
    const char* says;
};

class GaugeProblems : public ::testing::TestWithParam<BadGauge> {};

TEST_P(GaugeProblems, Reported) {
    const BadGauge& c = GetParam();
    Diagnostics d;
    GaugeFile g;
    const bool ok = readGaugeText(c.xml, "g.xml", ".", g, d);
    EXPECT_EQ(ok, c.runnable) << c.label;
    ASSERT_FALSE(d.problems().empty()) << c.label;
    const Problem& p = d.problems()[0];
    EXPECT_EQ(p.line, c.line) << p.text();
    EXPECT_NE(p.text().find(c.says), std::string::npos) << p.text();
    EXPECT_EQ(p.text().rfind("g.xml:" + std::to_string(c.line) + ": ", 0), 0u) << p.text();
}

INSTANTIATE_TEST_SUITE_P(
    Table, GaugeProblems,
    ::testing::Values(
        BadGauge{"not XML", "<Gauge>\n<Size X=\"1\" Y=\"1\">\n</Gauge>\n", false, 3,
                 "not well-formed"},
        BadGauge{"FSX format without a gauge",
                 "<?xml version=\"1.0\"?>\n<SimBase.Document Type=\"AceXML\"/>\n", false, 2,
                 "no <SimGauge.Gauge>"},
        BadGauge{"other root", "<Panel/>", false, 1, "expected a <Gauge>"},
        BadGauge{"unknown element", gauge("<Element>\n<Positon X=\"1\" Y=\"2\"/>\n</Element>\n"),
                 true, 4, "unknown element <Positon>; ignored; did you mean \"Position\"?"},
        BadGauge{"unknown attribute",
                 gauge("<Element>\n<Text X=\"9\" Y=\"9\" Colour=\"red\"><String>a</String>"
                       "</Text>\n</Element>\n"),
                 true, 4, "unknown attribute \"Colour\"; ignored; did you mean \"Color\"?"},
        BadGauge{"bad colour",
                 gauge("<Element>\n<Text X=\"9\" Y=\"9\" Color=\"#12\"><String>a</String>"
                       "</Text>\n</Element>\n"),
                 true, 4, "is not a colour"},
        BadGauge{"bad number", gauge("<Element>\n<Position X=\"ten\" Y=\"2\"/>\n</Element>\n"),
                 false, 4, "X=\"ten\" is not a number"},
        BadGauge{"unknown operator",
                 gauge("<Element>\n<Visible>\n1 2 plus</Visible>\n</Element>\n"), false, 5,
                 "Visible: unknown operator \"plus\""},
        BadGauge{"unbalanced if", gauge("<Update>1 if{ 2</Update>\n"), false, 3,
                 "Update: if{ not closed"},
        // Elements the workbench does not draw still have their scripts checked.
        BadGauge{"script of a rotation",
                 gauge("<Element>\n<Rotate>\n<Value>1 2 plus</Value></Rotate>\n</Element>\n"),
                 false, 5, "Rotate/Value: unknown operator \"plus\""},
        BadGauge{"bad format",
                 gauge("<Element>\n<Text X=\"9\" Y=\"9\">\n<String>%(1)%!q!</String></Text>\n"
                       "</Element>\n"),
                 false, 5, "String: unsupported format"},
        BadGauge{"bad custom draw name",
                 gauge("<Element>\n<CustomDraw Name=\"tcas\" X=\"9\" Y=\"9\"/>\n</Element>\n"),
                 false, 4, "expected \"callback:display\""},
        BadGauge{"deep nesting", gauge(test::nested("<Element>", "</Element>", 40) + "\n"), false,
                 3, "nested deeper than 32"},
        // Selects nest through their cases; deep enough once blew the stack.
        BadGauge{"deep selects",
                 gauge("<Element>" +
                       test::nested("<Select><Value>1</Value><Case Value=\"1\">",
                                    "</Case></Select>", 20000) +
                       "</Element>\n"),
                 false, 3, "nested deeper than 32"},
        BadGauge{"huge", std::string(kMaxGaugeFileBytes + 1, ' '), false, 1, "larger than"}));

// A gauge without <Size> and background is sized where it is placed (its
// panel.cfg line, else its images: the workbench decides), so reading it is
// no problem; the line of its gauge element is kept for what is said then.
TEST(GaugeReader, SizeLeftToThePlacement) {
    const char* const files[] = {
        "<Gauge>\n<Element/>\n</Gauge>",
        "<SimBase.Document>\n<SimGauge.Gauge id=\"Gauge\">\n</SimGauge.Gauge>\n"
        "</SimBase.Document>\n"};
    int line = 1;
    for (const char* xml : files) {
        Diagnostics d;
        GaugeFile g;
        EXPECT_TRUE(readGaugeText(xml, "g.xml", ".", g, d)) << xml;
        EXPECT_TRUE(d.problems().empty()) << d.problems().at(0).text();
        EXPECT_EQ(g.width, 0.0);
        EXPECT_EQ(g.height, 0.0);
        EXPECT_EQ(g.line, line++) << xml;
    }
}

}  // namespace
}  // namespace cs::gauge
