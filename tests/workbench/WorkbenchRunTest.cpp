// The workbench as a host: the order of one tick, each gauge's own gauge
// callback, and what a run reports, on small gauges written for the test.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/workbench/SharedWorkbench.h"
#include "tools/preview/BuiltinScenarios.h"
#include "tools/preview/PreviewRun.h"
#include "tools/workbench/Workbench.h"

namespace cs::workbench {
namespace {

namespace fs = std::filesystem;

std::string writeGauge(const std::string& name, const std::string& xml) {
    const fs::path dir = fs::path(CS_TEST_ARTIFACTS) / "workbench-gauges";
    fs::create_directories(dir);
    const fs::path path = dir / (name + ".xml");
    std::ofstream(path) << xml;
    return path.string();
}

const TextShown& text(const ScenarioRun& run, const std::string& gauge, size_t index) {
    for (const GaugeTexts& g : run.texts) {
        if (g.gauge == gauge) {
            return g.texts.at(index);
        }
    }
    throw std::runtime_error("no gauge " + gauge);
}

// The Update script counts ticks into an L: variable that the second text
// shows (1 at the first tick: Update runs before the elements), and the
// annunciator's Visible reads the advisory that the draw of the same tick
// copied (the elements run after the draw).
const char* kWithDisplay = R"(<Gauge Name="with_display">
  <Size X="64" Y="64"/>
  <Update>(L:probe ticks, number) 1 + (&gt;L:probe ticks, number)</Update>
  <Element>
    <CustomDraw Name="va9vedored:tcas" X="64" Y="64">
      <Range>(L:probe ticks, number) 0 &gt; 8 *</Range>
    </CustomDraw>
  </Element>
  <Element>
    <Visible>(C:va9vedored:advisory) 1 &gt;=</Visible>
    <Text X="64" Y="16"><String>TRAFFIC</String></Text>
  </Element>
  <Element>
    <Text X="64" Y="16"><String>%((L:probe ticks, number))%!d!</String></Text>
  </Element>
</Gauge>
)";

// No display of its own: its gauge callback never gets an advisory.
const char* kWithoutDisplay = R"(<Gauge Name="without_display">
  <Size X="64" Y="16"/>
  <Element>
    <Visible>(C:va9vedored:advisory) 1 &gt;=</Visible>
    <Text X="64" Y="16"><String>TRAFFIC</String></Text>
  </Element>
</Gauge>
)";

TEST(WorkbenchRun, TickOrderAndOwnGaugeCallbacks) {
    Workbench bench;
    std::string error;
    ASSERT_TRUE(bench.open(preview::defaultModulePath(), &error)) << error;
    WorkbenchOptions options;
    options.gauges = {writeGauge("with_display", kWithDisplay),
                      writeGauge("without_display", kWithoutDisplay)};
    options.outDir = (fs::path(CS_TEST_ARTIFACTS) / "workbench-run").string();
    gauge::Diagnostics d;
    ASSERT_TRUE(bench.load(options, d)) << d.problems().at(0).text();
    EXPECT_EQ(d.problems().size(), 0u);
    preview::PreviewScenario scenario = builtin("head-on");
    bench.resolve(scenario);
    gauge::Diagnostics runtime;
    const ScenarioRun run = bench.run(scenario, options, runtime);

    // The module's TA on head-on comes at 38 s (the preview's figure).
    EXPECT_DOUBLE_EQ(text(run, "with_display", 0).time, 38.0);
    EXPECT_EQ(text(run, "with_display", 0).text, "TRAFFIC");
    EXPECT_EQ(text(run, "with_display", 1).text, "1");
    EXPECT_EQ(text(run, "with_display", 1).time, 0.0);
    EXPECT_LT(text(run, "without_display", 0).time, 0.0);
    EXPECT_NE(Workbench::summary(scenario, run).find("TRAFFIC appeared at 38 s"), std::string::npos)
        << Workbench::summary(scenario, run);

    // Files: an image per gauge per frame interval, and the log.
    ASSERT_FALSE(run.files.empty());
    EXPECT_TRUE(fs::exists(fs::path(run.folder) / "with_display-0040.png"));
    EXPECT_TRUE(fs::exists(fs::path(run.folder) / "log.jsonl"));
    EXPECT_EQ(runtime.problems().size(), 0u);
}

}  // namespace
}  // namespace cs::workbench
