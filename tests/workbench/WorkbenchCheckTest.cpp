// What --check finds: every name of a gauge resolved against the loaded
// module, each problem reported at its file and line with a did-you-mean.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "tests/workbench/SharedWorkbench.h"
#include "tools/preview/PreviewRun.h"
#include "tools/workbench/Workbench.h"

namespace cs::workbench {
namespace {

namespace fs = std::filesystem;

struct BadName {
    const char* label;
    std::string body;  // inside <Gauge> after <Size>, starting on line 3
    bool runnable;
    int line;
    const char* says;
};

class CheckProblems : public SharedWorkbench, public ::testing::WithParamInterface<BadName> {};

TEST_P(CheckProblems, Reported) {
    const BadName& c = GetParam();
    const fs::path dir = fs::path(CS_TEST_ARTIFACTS) / "workbench-check";
    fs::create_directories(dir);
    // One file per case: ctest runs the cases in parallel processes.
    std::string stem = c.label;
    std::replace(stem.begin(), stem.end(), ' ', '_');
    const fs::path file = dir / (stem + ".xml");
    std::ofstream(file) << "<Gauge Name=\"g\">\n<Size X=\"64\" Y=\"64\"/>\n"
                        << c.body << "</Gauge>\n";
    WorkbenchOptions options;
    options.gauges = {file.string()};
    gauge::Diagnostics d;
    EXPECT_EQ(bench_->load(options, d), c.runnable) << c.label;
    ASSERT_FALSE(d.problems().empty()) << c.label;
    const gauge::Problem& p = d.problems()[0];
    EXPECT_EQ(p.line, c.line) << p.text();
    EXPECT_NE(p.text().find(c.says), std::string::npos) << p.text();
}

INSTANTIATE_TEST_SUITE_P(
    Table, CheckProblems,
    ::testing::Values(
        BadName{"property", "<Element><Visible>(C:va9vedored:advisry)</Visible></Element>\n", false,
                3, "has no property \"advisry\"; did you mean \"advisory\"?"},
        BadName{"callback", "<Update>\n(C:va9vedorde:range)</Update>\n", false, 4,
                "no panel callback \"va9vedorde\" is registered; did you mean \"va9vedored\"?"},
        BadName{"read-only", "<Update>1 (&gt;C:va9vedored:advisory)</Update>\n", false, 3,
                "\"advisory\" is read-only"},
        BadName{"display as value", "<Update>(C:va9vedored:tcas)</Update>\n", false, 3,
                "names a display for <CustomDraw>"},
        BadName{"parameter",
                "<Element><CustomDraw Name=\"va9vedored:tcas\" X=\"64\" Y=\"64\">\n"
                "<TAColor>0xFF8000</TAColor></CustomDraw></Element>\n",
                false, 4, "declares no parameter \"TAColor\"; did you mean \"TAColour\"?"},
        BadName{"display",
                "<Element><CustomDraw Name=\"va9vedored:tcass\" X=\"64\" Y=\"64\"/></Element>\n",
                false, 3, "creates no display named \"tcass\"; did you mean \"tcas\"?"},
        BadName{"parameter script",
                "<Element><CustomDraw Name=\"va9vedored:radar\" X=\"64\" Y=\"64\">\n"
                "<Range>(L:r, number) 2 plus</Range></CustomDraw></Element>\n",
                false, 4, "unknown operator \"plus\""},
        BadName{"unit", "<Update>(A:PLANE ALTITUDE, fet)</Update>\n", false, 3,
                "unknown unit \"fet\"; did you mean \"feet\"?"},
        BadName{"aircraft variable", "<Update>(A:AIRSPEED INDICATED, knots)</Update>\n", true, 3,
                "gives no value for this aircraft variable; reads 0"},
        BadName{"unit of the wrong kind", "<Update>(A:PLANE ALTITUDE, knots)</Update>\n", true, 3,
                "does not fit PLANE ALTITUDE, a length"},
        BadName{"image", "<Element>\n<Image Name=\"nothere.bmp\"/></Element>\n", false, 4,
                "no such file in the gauge's folder"}),
    [](const ::testing::TestParamInfo<BadName>& info) {
        std::string name = info.param.label;
        for (char& ch : name) {
            ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
        }
        return name;
    });

TEST(WorkbenchCheck, PanelWithAMissingGauge) {
    const fs::path dir = fs::path(CS_TEST_ARTIFACTS) / "workbench-panel";
    fs::create_directories(dir);
    std::ofstream(dir / "panel.cfg")
        << "[Window00]\nsize_mm=64,64\ngauge00=Nowhere!Missing, 0, 0\n";
    Workbench bench;
    std::string error;
    ASSERT_TRUE(bench.open(preview::defaultModulePath(), &error)) << error;
    WorkbenchOptions options;
    options.panel = (dir / "panel.cfg").string();
    options.window = 0;
    gauge::Diagnostics d;
    EXPECT_FALSE(bench.load(options, d));
    ASSERT_FALSE(d.problems().empty());
    EXPECT_EQ(d.problems()[0].line, 3);
    EXPECT_NE(d.problems()[0].text().find("Nowhere!Missing: no gauge file; looked for"),
              std::string::npos)
        << d.problems()[0].text();
}

}  // namespace
}  // namespace cs::workbench
