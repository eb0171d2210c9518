// What --check finds: every name of a gauge resolved against the loaded
// module, each problem reported at its file and line with a did-you-mean.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/workbench/SharedWorkbench.h"
#include "testsupport/TestNames.h"
#include "tools/session/ModuleSession.h"
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
    // A warning says so right after the line, as compilers print it.
    const std::string where = file.string() + ":" + std::to_string(c.line) + ": ";
    EXPECT_EQ(
        p.text().rfind(where + (p.severity == gauge::Severity::Warning ? "warning: " : ""), 0), 0u)
        << p.text();
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
                "no scenario gives a value for this aircraft variable"},
        BadName{"unit of the wrong kind", "<Update>(A:PLANE ALTITUDE, knots)</Update>\n", true, 3,
                "does not fit PLANE ALTITUDE, a length"},
        BadName{"image", "<Element>\n<Image Name=\"nothere.bmp\"/></Element>\n", false, 4,
                "no such file in the gauge's folder"},
        BadName{"not drawn", "<Element>\n<Failures/>\n</Element>\n", true, 4,
                "Failures: not drawn by the workbench; ignored"},
        // Every click is checked, though a scenario fires only Move.
        BadName{"left click",
                "<Mouse><Area Width=\"8\" Height=\"8\"><Click Kind=\"LeftSingle+Leave\">\n"
                "1 (&gt;C:va9vedored:advisory)</Click></Area></Mouse>\n",
                false, 4, "\"advisory\" is read-only"},
        BadName{"wheel after move",
                "<Mouse><Area Width=\"8\" Height=\"8\"><Click Kind=\"Move\"/>\n"
                "<Click Kind=\"WheelUp\">(L:r, number) bogus</Click></Area></Mouse>\n",
                false, 4, "unknown operator \"bogus\""},
        // An L: variable in a unit that cannot be converted would read back
        // wrong in any other unit.
        BadName{"local unit", "<Update>8 (&gt;L:range, furlongs)</Update>\n", false, 3,
                "unknown unit \"furlongs\""},
        BadName{"display of the other registration",
                "<Element><CustomDraw Name=\"ContactScope:radar\" X=\"64\" Y=\"64\"/></Element>\n",
                false, 3,
                "\"ContactScope\" creates no display named \"radar\"; \"va9vedored:radar\" is the "
                "radar display, which is \"ContactScope:TCAS\" in this registration"}),
    cs::test::ByLabel());

// All problems of a file in one pass: a gauge without a size still has its
// names checked, also those in a shift that cannot move.
TEST_F(SharedWorkbench, AllProblemsInOnePass) {
    const fs::path file = fs::path(CS_TEST_ARTIFACTS) / "workbench-check" / "no_size.xml";
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "<Gauge Name=\"g\">\n<Update>(A:PLANE ALTITUDE, fet)\n"
                           "(C:va9vedored:advisry)</Update>\n<Element>\n<Shift>\n"
                           "<Value>(C:va9vedored:rnage)</Value></Shift>\n</Element>\n</Gauge>\n";
    WorkbenchOptions options;
    options.gauges = {file.string()};
    gauge::Diagnostics d;
    EXPECT_FALSE(bench_->load(options, d));
    std::vector<std::string> texts;
    for (const gauge::Problem& p : d.problems()) {
        texts.push_back(p.text());
    }
    for (const char* expected :
         {":1: Gauge: no <Size", ":2: Update: (A:PLANE ALTITUDE, fet): unknown unit",
          ":3: Update: (C:va9vedored:advisry)",
          ":5: warning: Shift: neither <Scale X Y> nor <Nonlinearity>",
          ":6: Shift/Value: (C:va9vedored:rnage): \"va9vedored\" has no property"}) {
        EXPECT_EQ(std::count_if(
                      texts.begin(), texts.end(),
                      [&](const std::string& t) { return t.find(expected) != std::string::npos; }),
                  1)
            << expected << " in " << ::testing::PrintToString(texts);
    }
    EXPECT_EQ(texts.size(), 5u) << ::testing::PrintToString(texts);
}

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

// The program's command line: the README's order (the scenario file after
// the gauge is a scenario, not a second gauge), and options of the other
// kind of run refused instead of silently ignored (the pages and the contact
// sheets belong to both).
struct CommandCase {
    const char* label;
    const char* args;  // after the program; {g} is the gauge, {s} the scenario file
    int status;
    const char* says;  // in what it printed
};

class WorkbenchProgram : public ::testing::TestWithParam<CommandCase> {};

TEST_P(WorkbenchProgram, Answers) {
    const CommandCase& c = GetParam();
    const fs::path program = fs::path(CS_BINARY_DIR) / "tools/cli/contactscope-preview";
    const fs::path dir = fs::path(CS_TEST_ARTIFACTS) / "workbench-program";
    fs::create_directories(dir);
    const fs::path gauge = dir / "g.xml", scenario = dir / "my-case.json";
    std::ofstream(gauge) << "<Gauge Name=\"g\">\n<Size X=\"64\" Y=\"64\"/>\n"
                            "<Update>(C:va9vedored:advisory) (&gt;L:a, number)</Update>\n"
                            "</Gauge>\n";
    std::ofstream(scenario)
        << R"({"duration": "2 s", "own": {"latitude": 1, "longitude": 2, "altitude": "900 ft"},
               "traffic": []})";
    std::string args = c.args;
    for (const auto& [key, value] :
         {std::pair<std::string, std::string>{"{g}", gauge.string()}, {"{s}", scenario.string()}}) {
        for (size_t at = args.find(key); at != std::string::npos; at = args.find(key)) {
            args.replace(at, key.size(), value);
        }
    }
    const fs::path out = dir / (std::string(c.label) + ".txt");
    const int status =
        std::system((program.string() + " " + args + " >" + out.string() + " 2>&1").c_str());
    std::ifstream in(out);
    const std::string printed((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == c.status) << printed;
    EXPECT_NE(printed.find(c.says), std::string::npos) << printed;
}

INSTANTIATE_TEST_SUITE_P(
    Table, WorkbenchProgram,
    ::testing::Values(
        CommandCase{"scenario_after_gauge", "--gauge {g} {s} --check", 0, "ok: 0 warning(s)"},
        CommandCase{"display_option", "--gauge {g} -b head-on -d radar --check", 2,
                    "--display applies to the module's displays in a scenario run"},
        CommandCase{"probe_option", "--gauge {g} {s} --no-probe --check", 2,
                    "--no-probe applies to the module's displays"},
        CommandCase{"gauges_without_panel", "--gauges somewhere -b head-on --check", 2,
                    "--gauges belongs to --panel"},
        CommandCase{"report_options", "--gauge {g} {s} --no-report --no-sheet --check", 0,
                    "ok: 0 warning(s)"}),
    cs::test::ByLabel());

}  // namespace
}  // namespace cs::workbench
