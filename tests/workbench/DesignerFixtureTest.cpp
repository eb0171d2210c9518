// The designer-style navigation display (fixtures/designer_nd.xml) over its
// scenario: macros, a range knob worked by clicks, a bus that comes on at
// 10 s, text operators, the clock, key events; and its copy with one mistake
// per construct, all found in one pass.
#include <gtest/gtest.h>

#include <string>

#include "tests/workbench/SharedWorkbench.h"

namespace cs::workbench {
namespace {

const std::string kFixtures = std::string(CS_SOURCE_DIR) + "/tests/workbench/fixtures/";

class DesignerFixture : public SharedWorkbench {
  protected:
    ScenarioRun runFixture() {
        preview::PreviewScenario scenario =
            preview::loadScenarioFile(kFixtures + "designer_nd.json");
        bench_->resolve(scenario);
        WorkbenchOptions options;
        options.gauges = {kFixtures + "designer_nd.xml"};
        options.outDir.clear();
        gauge::Diagnostics d;
        EXPECT_TRUE(bench_->load(options, d));
        EXPECT_EQ(d.problems().size(), 0u) << d.problems().at(0).text();
        gauge::Diagnostics runtime;
        ScenarioRun run = bench_->run(scenario, options, runtime);
        EXPECT_EQ(runtime.problems().size(), 0u) << runtime.problems().at(0).text();
        return run;
    }
};

const ElementLog& element(const ViewFrame& f, int line) {
    for (const ElementLog& e : f.gauges.at(0).elements) {
        if (e.line == line) {
            return e;
        }
    }
    throw std::runtime_error("no element at line " + std::to_string(line));
}

double local(const ViewFrame& f, const std::string& name) {
    for (const auto& [n, v] : f.locals) {
        if (n == name) {
            return v;
        }
    }
    return -1.0;
}

double advisory(const ViewFrame& f) {
    for (const PropertyAccess& p : f.gauges.at(0).properties) {
        if (p.name == "va9vedored:advisory") {
            return p.value.number;
        }
    }
    return -1.0;
}

TEST_F(DesignerFixture, RangeStepsPowerClockAndEvents) {
    const ScenarioRun run = runFixture();
    // Worked out from the scenario: steps 5/10/20/40 nm from step 1; left
    // clicks at 4, 6, 8 s (the last held at 40), right clicks at 12, 14 s;
    // the bus at 28 volts from 10 s; local time 14:30 at the start.
    struct Expected {
        double time;
        double range;
        const char* label;
        const char* power;
        bool display;
        const char* clock;
    };
    const Expected table[] = {
        {0, 10, "RNG 10", "NO PWR", false, "14:30"}, {3, 10, "RNG 10", "NO PWR", false, "14:30"},
        {4, 20, "RNG 20", "NO PWR", false, "14:30"}, {6, 40, "RNG 40", "NO PWR", false, "14:30"},
        {8, 40, "RNG 40", "NO PWR", false, "14:30"}, {9, 40, "RNG 40", "NO PWR", false, "14:30"},
        {10, 40, "RNG 40", "TFC", true, "14:30"},    {12, 20, "RNG 20", "TFC", true, "14:30"},
        {14, 10, "RNG 10", "TFC", true, "14:30"},    {60, 10, "RNG 10", "TFC", true, "14:31"},
    };
    for (const Expected& e : table) {
        const ViewFrame& f = run.frames.at(static_cast<size_t>(e.time));
        ASSERT_DOUBLE_EQ(f.time, e.time);
        EXPECT_EQ(local(f, "ND range"), e.range) << e.time;
        EXPECT_EQ(element(f, 35).string, e.label) << e.time;
        EXPECT_EQ(element(f, 41).string, e.power) << e.time;
        EXPECT_EQ(element(f, 23).visible, e.display) << e.time;
        EXPECT_EQ(element(f, 63).string, e.clock) << e.time;
    }
    // The texts first show at the first frame with the module's advisory.
    double ta = -1, ra = -1;
    for (const ViewFrame& f : run.frames) {
        ta = ta < 0 && advisory(f) >= 1 ? f.time : ta;
        ra = ra < 0 && advisory(f) >= 2 ? f.time : ra;
    }
    EXPECT_GT(ta, 30.0);
    EXPECT_GT(ra, ta);
    const std::vector<TextShown>& texts = run.texts.at(0).texts;
    for (const TextShown& t : texts) {
        if (t.line == 50) {
            EXPECT_EQ(t.time, ta);
            EXPECT_EQ(t.text, "TRAFFIC");
        } else if (t.line == 55) {
            EXPECT_EQ(t.time, ra);
        }
    }
    // Every click of the track, by the <Click> that took it.
    const std::pair<const char*, int> clicks[] = {
        {"LeftSingle", 83},  {"LeftSingle", 83}, {"LeftSingle", 83}, {"RightSingle", 83},
        {"RightSingle", 83}, {"WheelUp", 78},    {"WheelDown", 79}};
    ASSERT_EQ(run.clicks.size(), std::size(clicks));
    for (size_t i = 0; i < run.clicks.size(); ++i) {
        EXPECT_EQ(run.clicks[i].kind, clicks[i].first);
        EXPECT_EQ(run.clicks[i].line, clicks[i].second);
        EXPECT_EQ(run.clicks[i].gauge, "designer_nd");
    }
    // The transponder set once as the bus comes on, and the baro knob's two.
    ASSERT_EQ(run.events.size(), 3u);
    EXPECT_EQ(run.events[0].name, "XPNDR_SET");
    EXPECT_NEAR(run.events[0].time, 10.0, 1e-6);
    EXPECT_EQ(run.events[0].value, 0x1200);
    EXPECT_EQ(run.events[1].name, "KOHLSMAN_INC");
    EXPECT_NEAR(run.events[1].time, 16.0, 1e-6);
    EXPECT_EQ(run.events[2].name, "KOHLSMAN_DEC");
    EXPECT_NEAR(run.events[2].time, 17.0, 1e-6);
}

TEST_F(DesignerFixture, EveryMistakeOfTheCopyInOnePass) {
    preview::PreviewScenario scenario = preview::loadScenarioFile(kFixtures + "designer_nd.json");
    bench_->resolve(scenario);
    WorkbenchOptions options;
    options.gauges = {kFixtures + "broken/designer_nd_mistakes.xml"};
    gauge::Diagnostics d;
    EXPECT_FALSE(bench_->load(options, d));
    const std::pair<int, const char*> mistakes[] = {
        {15, "undefined macro @Rnge; did you mean \"Range\""},
        {85, "@Clamp uses @3 but is given 2 argument(s)"},
        {36, "unknown operator \"sact\"; did you mean \"scat\""},
        {17, "unknown unit \"vots\"; did you mean \"volts\""},
        {17, "(>G:Var10): a gauge's own variables are (G:Var1) to (G:Var9)"},
        {83, "unknown click kind \"LeftSingel\"; ignored; did you mean \"LeftSingle\""},
        {84, "(M:Evnt): the mouse offers (M:X), (M:Y) and (M:Event)"},
        {64, "(>E:LOCAL TIME, hours): E: variables cannot be written"},
        {48, "unknown attribute \"Maximun\"; ignored; did you mean \"Maximum\""},
        {79, "g2 jumps to a label :2 that the script does not have"},
        {79, "(K:KOHLSMAN_DEC): key events are sent with (>K:...), not read"},
    };
    for (const auto& [line, says] : mistakes) {
        bool found = false;
        for (const gauge::Problem& p : d.problems()) {
            found = found || (p.line == line && p.text().find(says) != std::string::npos);
        }
        EXPECT_TRUE(found) << "line " << line << ": " << says;
    }
}

}  // namespace
}  // namespace cs::workbench
