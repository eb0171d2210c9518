// The workbench as a host: the order of one tick, each gauge's own gauge
// callback, and what a run reports, on small gauges written for the test.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "tests/workbench/SharedWorkbench.h"
#include "testsupport/RecordingReplayer.h"
#include "tools/scenario/BuiltinScenarios.h"
#include "tools/session/ModuleSession.h"
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

    // The gauges prepared at loading ran that scenario; a second one starts
    // afresh: the tick counter from 1, the module's displays without the
    // first run's traffic, so the TA comes at the same time.
    const ScenarioRun again = bench.run(scenario, options, runtime);
    EXPECT_EQ(text(again, "with_display", 1).text, "1");
    EXPECT_DOUBLE_EQ(text(again, "with_display", 1).time, 0.0);
    EXPECT_DOUBLE_EQ(text(again, "with_display", 0).time, 38.0);
}

// A value written in one unit and read in another, each in an L: variable of
// its own; the expected texts worked out by hand (1 nmi = 1852 m, 1 ft =
// 0.3048 m, 1 kt = 1.852 km/h).
struct UnitCase {
    const char* write;  // value and unit written
    const char* read;   // unit read back
    const char* shown;  // the text, %!.2f!
};

const UnitCase kUnitCases[] = {
    {"8 nmiles", "meters", "14816.00"},
    {"8 nautical miles", "feet", "48608.92"},
    {"1 kilometers", "nmiles", "0.54"},
    {"5280 feet", "miles", "1.00"},
    {"100 kilometers per hour", "knots", "54.00"},
    {"90 degrees", "radians", "1.57"},
    {"2 hours", "Minutes", "120.00"},
    {"3 NUMBER", "number", "3.00"},
    // 1 inHg = 33.8639 hPa; F = C * 1.8 + 32; K = C + 273.15; a position of
    // 16384 is the whole travel; 1 rpm = 6 degrees a second; 1 lb =
    // 0.45359237 kg; 1 US gallon = 3.785411784 l.
    {"29.92 inHg", "millibars", "1013.21"},
    {"100 celsius", "fahrenheit", "212.00"},
    {"300 kelvin", "celsius", "26.85"},
    {"-40 fahrenheit", "celsius", "-40.00"},
    {"50 percent", "percent over 100", "0.50"},
    {"8192 position", "percent", "50.00"},
    {"118.5 MHz", "kHz", "118500.00"},
    {"2400 rpm", "degrees per second", "14400.00"},
    {"10 kilograms", "pounds", "22.05"},
    {"1 gallons", "liters", "3.79"},
    {"28 volts", "volts", "28.00"},
};

TEST(WorkbenchRun, ShortIntervalsUnitsAndEveryProperty) {
    std::string xml = "<Gauge Name=\"units\">\n  <Size X=\"64\" Y=\"64\"/>\n  <Update>";
    for (size_t i = 0; i < std::size(kUnitCases); ++i) {
        std::string value = kUnitCases[i].write;
        const size_t space = value.find(' ');
        xml += value.substr(0, space) + " (&gt;L:u" + std::to_string(i) + "," +
               value.substr(space) + ") ";
    }
    xml += "</Update>\n";
    for (size_t i = 0; i < std::size(kUnitCases); ++i) {
        xml += "  <Element><Text X=\"64\" Y=\"8\"><String>%((L:u" + std::to_string(i) + ", " +
               kUnitCases[i].read + "))%!.2f!</String></Text></Element>\n";
    }
    // An <Update> inside an element runs with the gauge's.
    xml +=
        "  <Element><Update>7 (&gt;L:from element, number)</Update>\n"
        "    <Text X=\"64\" Y=\"8\"><String>%((L:from element, number))%!d!</String></Text>"
        "</Element>\n";
    xml += "</Gauge>\n";
    Workbench bench;
    std::string error;
    ASSERT_TRUE(bench.open(preview::defaultModulePath(), &error)) << error;
    WorkbenchOptions options;
    options.gauges = {writeGauge("units", xml)};
    options.outDir = (fs::path(CS_TEST_ARTIFACTS) / "workbench-units").string();
    options.frameIntervalS = 0.5;
    gauge::Diagnostics d;
    ASSERT_TRUE(bench.load(options, d)) << d.problems().at(0).text();
    preview::PreviewScenario scenario = emptySky("2 s");
    bench.resolve(scenario);
    gauge::Diagnostics runtime;
    const ScenarioRun run = bench.run(scenario, options, runtime);

    for (size_t i = 0; i < std::size(kUnitCases); ++i) {
        EXPECT_EQ(text(run, "units", i).text, kUnitCases[i].shown)
            << kUnitCases[i].write << " read in " << kUnitCases[i].read;
    }
    EXPECT_EQ(text(run, "units", std::size(kUnitCases)).text, "7");
    // A picture every half second, each in a file of its own.
    ASSERT_EQ(run.frames.size(), 5u);
    std::set<std::string> names;
    for (const ViewFrame& f : run.frames) {
        names.insert(f.image);
        EXPECT_TRUE(fs::exists(fs::path(run.folder) / f.image)) << f.image;
    }
    EXPECT_EQ(names.size(), 5u);
    EXPECT_EQ(run.frames[1].image, "units-0000.500.png");
    EXPECT_EQ(run.frames[2].image, "units-0001.png");
    // This gauge names no callback, so it has no properties to log.
    EXPECT_TRUE(run.frames[0].gauges.at(0).properties.empty());
}

// The log holds every readable property of a gauge's callback at each
// picture, also those its scripts never read: the advisory and its aircraft
// come from the same moment.
TEST(WorkbenchRun, EveryReadablePropertyAtEachPicture) {
    Workbench bench;
    std::string error;
    ASSERT_TRUE(bench.open(preview::defaultModulePath(), &error)) << error;
    WorkbenchOptions options;
    options.gauges = {writeGauge("every_property", kWithDisplay)};
    options.outDir.clear();
    gauge::Diagnostics d;
    ASSERT_TRUE(bench.load(options, d));
    preview::PreviewScenario scenario = builtin("head-on");
    bench.resolve(scenario);
    gauge::Diagnostics runtime;
    const ScenarioRun run = bench.run(scenario, options, runtime);
    bool sawTa = false;
    for (const ViewFrame& f : run.frames) {
        std::map<std::string, gauge::Value> values;
        for (const PropertyAccess& a : f.gauges.at(0).properties) {
            values[a.name] = a.value;
        }
        ASSERT_EQ(values.count("va9vedored:advisoryId"), 1u) << "at " << f.time;
        ASSERT_EQ(values.count("va9vedored:advisoryDist"), 1u);
        EXPECT_EQ(values.count("va9vedored:tcas"), 0u) << "a display is not a value";
        const bool advisory = values["va9vedored:advisory"].number >= 1.0;
        EXPECT_EQ(advisory, !values["va9vedored:advisoryId"].text.empty()) << "at " << f.time;
        sawTa = sawTa || advisory;
    }
    EXPECT_TRUE(sawTa);
}

// The drawing commands of a panel window, worked out by hand: the gauge of
// 200 x 100 units is placed at (10, 20) 100 pixels wide, so a unit is half a
// pixel, and each element sits at the gauge's place plus half its position.
const char* kDrawn = R"(<Gauge Name="drawn">
  <Size X="200" Y="100"/>
  <Element>
    <Position X="20" Y="10"/>
    <Rectangle Width="40" Height="30" LineWidth="2" LineColor="#FF0000" FillColor="#00FF00"/>
  </Element>
  <Element>
    <Position X="100" Y="40"/>
    <Visible>(E:SIMULATION TIME, seconds) 2 &gt;=</Visible>
    <Text X="80" Y="20" Color="#FFFF00" BackgroundColor="#000080" Adjust="Center">
      <String>LATE</String>
    </Text>
  </Element>
  <Element>
    <Position X="0" Y="50"/>
    <CustomDraw Name="va9vedored:radar" X="100" Y="50"/>
  </Element>
</Gauge>
)";

TEST(WorkbenchRun, DrawingCommandsOfAPanelWindow) {
    const fs::path dir = fs::path(CS_TEST_ARTIFACTS) / "workbench-drawn";
    fs::create_directories(dir);
    std::ofstream(dir / "drawn.xml") << kDrawn;
    std::ofstream(dir / "panel.cfg") << "[Window00]\nsize_mm=300,200\n"
                                        "gauge00=drawn!drawn, 10, 20, 100\n";
    Workbench bench;
    std::string error;
    ASSERT_TRUE(bench.open(preview::defaultModulePath(), &error)) << error;
    auto recorder = std::make_unique<RecordingReplayer>();
    RecordingReplayer* pictures = recorder.get();
    bench.useReplayer(std::move(recorder));
    WorkbenchOptions options;
    options.panel = (dir / "panel.cfg").string();
    options.window = 0;
    options.outDir.clear();
    options.frameIntervalS = 3.0;
    gauge::Diagnostics d;
    ASSERT_TRUE(bench.load(options, d)) << d.problems().at(0).text();
    preview::PreviewScenario scenario = emptySky("3 s");
    bench.resolve(scenario);
    gauge::Diagnostics runtime;
    bench.run(scenario, options, runtime);

    ASSERT_EQ(pictures->lists.size(), 2u);  // at 0 s and 3 s
    const DrawList& first = pictures->lists[0];
    EXPECT_EQ(first.width, 300);
    EXPECT_EQ(first.height, 200);
    // At 0 s the text is hidden: the rectangle, then the module's area.
    ASSERT_EQ(first.commands.size(), 2u);
    const DrawCommand& rect = first.commands[0];
    EXPECT_EQ(rect.op, DrawOp::Rectangle);
    EXPECT_EQ(rect.line, 5);
    EXPECT_DOUBLE_EQ(rect.transform.xx, 0.5);
    EXPECT_DOUBLE_EQ(rect.transform.dx, 20.0);  // 10 + 20 / 2
    EXPECT_DOUBLE_EQ(rect.transform.dy, 25.0);  // 20 + 10 / 2
    EXPECT_EQ(rect.rectangle.fill.rgb, 0x00FF00u);
    EXPECT_EQ(rect.rectangle.line.rgb, 0xFF0000u);
    EXPECT_DOUBLE_EQ(rect.rectangle.lineWidth, 2.0);
    // Everything is clipped to the gauge's place.
    EXPECT_DOUBLE_EQ(rect.clip.x, 10.0);
    EXPECT_DOUBLE_EQ(rect.clip.y, 20.0);
    EXPECT_DOUBLE_EQ(rect.clip.width, 100.0);
    EXPECT_DOUBLE_EQ(rect.clip.height, 50.0);
    const DrawCommand& area = first.commands[1];
    EXPECT_EQ(area.op, DrawOp::Canvas);
    EXPECT_DOUBLE_EQ(area.transform.dy, 45.0);  // 20 + 50 / 2
    EXPECT_DOUBLE_EQ(area.width, 100.0);

    // At 3 s the text shows, between the two, in its box and colours.
    const DrawList& second = pictures->lists[1];
    ASSERT_EQ(second.commands.size(), 3u);
    const DrawCommand& text = second.commands[1];
    EXPECT_EQ(text.op, DrawOp::Text);
    EXPECT_EQ(text.text, "LATE");
    EXPECT_EQ(text.line, 10);
    EXPECT_DOUBLE_EQ(text.transform.dx, 60.0);  // 10 + 100 / 2
    EXPECT_DOUBLE_EQ(text.transform.dy, 40.0);  // 20 + 40 / 2
    EXPECT_DOUBLE_EQ(text.width, 80.0);
    EXPECT_DOUBLE_EQ(text.height, 20.0);
    EXPECT_EQ(text.style.colour.rgb, 0xFFFF00u);
    EXPECT_EQ(text.style.background.rgb, 0x000080u);
    EXPECT_EQ(text.style.adjust, gauge::Adjust::Center);
}

}  // namespace
}  // namespace cs::workbench

namespace cs::workbench {
namespace {

// Gauges loaded after a run were once prepared with the host's clock at the
// end of that run; the next run set it back to 0, and their displays, whose
// time then ran backwards, showed no advisory at all.
TEST(WorkbenchRun, ASecondLoadRunsAsAFreshOne) {
    Workbench bench;
    std::string error;
    ASSERT_TRUE(bench.open(preview::defaultModulePath(), &error)) << error;
    std::string advisories[2];
    for (std::string& levels : advisories) {
        preview::PreviewScenario scenario = builtin("head-on");
        bench.resolve(scenario);
        WorkbenchOptions options;
        options.gauges = {std::string(CS_SOURCE_DIR) + "/docs/kit/ContactScope_TCAS.xml"};
        options.outDir.clear();
        gauge::Diagnostics d;
        ASSERT_TRUE(bench.load(options, d));
        const ScenarioRun run = bench.run(scenario, options, d);
        for (const ViewFrame& f : run.frames) {
            for (const PropertyAccess& p : f.gauges.at(0).properties) {
                levels +=
                    p.name == "va9vedored:advisory" ? std::to_string(int(p.value.number)) : "";
            }
        }
    }
    EXPECT_NE(advisories[0].find('2'), std::string::npos) << advisories[0];
    EXPECT_EQ(advisories[1], advisories[0]);
}

}  // namespace
}  // namespace cs::workbench
