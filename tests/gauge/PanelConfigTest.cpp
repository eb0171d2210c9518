// panel.cfg windows: the gauge lines of a good window, and each kind of bad
// line reported with its file and line.
#include <gtest/gtest.h>

#include <string>

#include "tools/gauge/PanelConfig.h"

namespace cs::gauge {
namespace {

const char* kPanel =
    "[Window Titles]\n"
    "Window00=Main panel\n"
    "Window01=Traffic   // ours\n"
    "\n"
    "[Window00]\n"
    "size_mm=1024,768\n"
    "gauge00=Cessna!Airspeed, 10, 20\n"
    "\n"
    "[Window01]\n"
    "size_mm=256,304\n"
    "ident=10090\n"
    "gauge00=ContactScope!ContactScope_TCAS,     0,   0, 256, 256\n"
    "gauge01=ContactScope!ContactScope_Advisory, 28, 256, 200\n"
    "gauge02=Radios!Com, 0, 300, 120, 40, COM1, standby\n"
    "gauge03=Radios!Nav, 0, 340, , , NAV1 ; the gauge's own size\n";

TEST(PanelConfig, ReadsAWindow) {
    Diagnostics d;
    PanelWindow w;
    ASSERT_TRUE(readPanelWindow(kPanel, "panel.cfg", 1, w, d));
    EXPECT_EQ(d.problems().size(), 0u);
    EXPECT_EQ(w.title, "Traffic");
    EXPECT_EQ(w.line, 9);
    EXPECT_EQ(w.width, 256);
    EXPECT_EQ(w.height, 304);
    ASSERT_EQ(w.gauges.size(), 4u);
    EXPECT_EQ(w.gauges[1].folder, "ContactScope");
    EXPECT_EQ(w.gauges[1].name, "ContactScope_Advisory");
    EXPECT_EQ(w.gauges[1].line, 13);
    EXPECT_EQ(w.gauges[1].y, 256);
    EXPECT_EQ(w.gauges[1].width, 200);
    EXPECT_EQ(w.gauges[1].height, 0);  // the gauge's own proportions
    // The sixth field, the parameter gauges written in C take, is kept
    // whole; width and height may be left empty before it.
    EXPECT_EQ(w.gauges[2].parameter, "COM1,standby");
    EXPECT_EQ(w.gauges[2].height, 40);
    EXPECT_EQ(w.gauges[3].parameter, "NAV1");
    EXPECT_EQ(w.gauges[3].width, 0);
    EXPECT_EQ(w.gauges[3].height, 0);
}

struct BadPanel {
    const char* label;
    std::string text;
    int window;
    bool runnable;
    int line;
    const char* says;
};

class PanelProblems : public ::testing::TestWithParam<BadPanel> {};

TEST_P(PanelProblems, Reported) {
    const BadPanel& c = GetParam();
    Diagnostics d;
    PanelWindow w;
    EXPECT_EQ(readPanelWindow(c.text, "panel.cfg", c.window, w, d), c.runnable) << c.label;
    ASSERT_FALSE(d.problems().empty()) << c.label;
    EXPECT_EQ(d.problems()[0].line, c.line) << d.problems()[0].text();
    EXPECT_NE(d.problems()[0].text().find(c.says), std::string::npos) << d.problems()[0].text();
}

INSTANTIATE_TEST_SUITE_P(
    Table, PanelProblems,
    ::testing::Values(
        BadPanel{"no such window", kPanel, 4, false, 15,
                 "no [Window04] section; the file has windows 0, 1"},
        BadPanel{"gap before the window",
                 "[Window00]\ngauge00=a!b,0,0\n[Window09]\ngauge00=a!b,0,0\n", 9, true, 3,
                 "[Window01] is missing and the simulator stops reading windows at the first gap"},
        BadPanel{"gauge without folder", "[Window00]\ngauge00=TCAS, 0, 0\n", 0, false, 2,
                 "expected Folder!Name, x, y"},
        BadPanel{"gauge position not a number", "[Window00]\ngauge00=a!b, left, 0\n", 0, false, 2,
                 "expected Folder!Name"},
        BadPanel{"bad size", "[Window00]\nsize_mm=256\ngauge00=a!b,0,0\n", 0, false, 2,
                 "size_mm=256: expected width,height"},
        BadPanel{"unknown key", "[Window00]\nsize_nm=1,1\ngauge00=a!b,0,0\n", 0, true, 2,
                 "unknown key \"size_nm\"; ignored; did you mean \"size_mm\"?"},
        BadPanel{"no gauges", "[Window00]\nsize_mm=1,1\n", 0, false, 1, "lists no gauges"}));

}  // namespace
}  // namespace cs::gauge
