// The kit executed: its panel window as placed, and its radar gauge, over the
// built-in encounters, checked for what a pilot must see - traffic on the
// display, the tool-tip of a hovered aircraft, and the annunciator showing
// TRAFFIC and then the RA text when the module raises them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "tests/workbench/SharedWorkbench.h"
#include "testsupport/TestNames.h"
#include "tools/gauge/GaugeReader.h"
#include "tools/scenario/BuiltinScenarios.h"
#include "tools/session/ModuleSession.h"
#include "tools/workbench/Workbench.h"

namespace cs::workbench {
namespace {

namespace fs = std::filesystem;

const std::string kKit = CS_SOURCE_DIR "/docs/kit/";

// A gauge that shows "TA" and "RA" as the module's advisory with fixed
// separations (one row of the TCAS II table): the times the kit must match.
std::string referenceGauge(const char* separations) {
    // A folder per test: ctest runs the cases in parallel processes.
    const std::string test =
        cs::test::testName(::testing::UnitTest::GetInstance()->current_test_info()->name());
    const fs::path dir = fs::path(CS_TEST_ARTIFACTS) / "kit-reference" / test;
    fs::create_directories(dir);
    const fs::path path = dir / "reference.xml";
    std::ofstream(path)
        << "<Gauge Name=\"reference\"><Size X=\"16\" Y=\"16\"/>\n<Update>" << separations
        << " (&gt;C:va9vedored:altSeparationRA) (&gt;C:va9vedored:distSeparationRA)"
           " (&gt;C:va9vedored:timeSeparationRA) (&gt;C:va9vedored:altSeparationTA)"
           " (&gt;C:va9vedored:distSeparationTA) (&gt;C:va9vedored:timeSeparationTA)</Update>\n"
           "<Element><CustomDraw Name=\"va9vedored:tcas\" X=\"16\" Y=\"16\"/></Element>\n"
           "<Element><Visible>(C:va9vedored:advisory) 1 ==</Visible>"
           "<Text X=\"16\" Y=\"16\"><String>TA</String></Text></Element>\n"
           "<Element><Visible>(C:va9vedored:advisory) 2 ==</Visible>"
           "<Text X=\"16\" Y=\"16\"><String>RA</String></Text></Element>\n</Gauge>\n";
    return path.string();
}

double firstShown(const ScenarioRun& run, const std::string& gauge, const std::string& text) {
    for (const GaugeTexts& g : run.texts) {
        for (const TextShown& t : g.texts) {
            if (g.gauge == gauge && t.text == text) {
                return t.time;
            }
        }
    }
    return -1.0;
}

// Lit pixels inside a rectangle of a picture, leaving out the own-aircraft
// symbol at the display centre.
int litPixels(const sim::Image& image, int x0, int y0, int x1, int y1) {
    int lit = 0;
    for (int y = y0; y < y1 && y < image.height; ++y) {
        for (int x = x0; x < x1 && x < image.width; ++x) {
            if (x >= 116 && x < 140 && y >= 112 && y < 142) {
                continue;
            }
            const uint8_t* p = &image.rgba[(static_cast<size_t>(y) * image.width + x) * 4];
            lit += (p[0] > 60 || p[1] > 60 || p[2] > 60) ? 1 : 0;
        }
    }
    return lit;
}

struct Encounter {
    const char* scenario;
    const char* separations;  // the level the own altitude gives: TA tau DMOD ZTHR, RA ...
    bool ta, ra;              // whether the kit must show TRAFFIC and the RA text
};

// One loaded module for every test of the kit.
using KitBench = SharedWorkbench;

class Kit : public KitBench, public ::testing::WithParamInterface<Encounter> {};

TEST_P(Kit, WindowShowsWhatThePilotMustSee) {
    const Encounter& c = GetParam();
    WorkbenchOptions options;
    options.panel = kKit + "panel.cfg.txt";
    options.window = 9;
    options.gauges = {referenceGauge(c.separations)};
    options.outDir.clear();
    options.frameIntervalS = 1.0;
    options.keepImages = true;
    gauge::Diagnostics d;
    ASSERT_TRUE(bench_->load(options, d)) << d.problems().at(0).text();
    for (const gauge::Problem& p : d.problems()) {
        // Only the numbering of the kit's example window is worth a warning.
        EXPECT_NE(p.message.find("number this window right after"), std::string::npos) << p.text();
    }
    preview::PreviewScenario scenario = builtin(c.scenario);
    bench_->resolve(scenario);
    gauge::Diagnostics runtime;
    const ScenarioRun run = bench_->run(scenario, options, runtime);
    EXPECT_EQ(runtime.problems().size(), 0u) << runtime.problems().at(0).text();

    const double ta = firstShown(run, "reference", "TA");
    const double ra = firstShown(run, "reference", "RA");
    EXPECT_EQ(ta >= 0.0, c.ta) << "the module's TA with these separations";
    EXPECT_EQ(ra >= 0.0, c.ra) << "the module's RA with these separations";
    EXPECT_EQ(firstShown(run, "ContactScope_Advisory", "TRAFFIC"), ta);
    EXPECT_EQ(firstShown(run, "ContactScope_Advisory", "RESOLUTION ADVISORY"), ra);

    int framesWithTraffic = 0;
    for (const ViewFrame& f : run.frames) {
        if (f.view == "window09" && litPixels(f.picture, 0, 0, 256, 256) > 20) {
            ++framesWithTraffic;
        }
    }
    EXPECT_GT(framesWithTraffic, 5) << "traffic on the TCAS display";
}

INSTANTIATE_TEST_SUITE_P(
    Builtins, Kit,
    ::testing::Values(Encounter{"head-on", "45 1.00 850 30 0.80 600", true, true},
                      Encounter{"crossing-climb", "40 0.75 850 25 0.55 600", true, true},
                      Encounter{"overtaking", "40 0.75 850 25 0.55 600", true, true},
                      Encounter{"below-1500", "40 0.75 850 25 0.55 600", false, false},
                      Encounter{"busy-terminal", "30 0.48 850 20 0.35 600", true, true},
                      Encounter{"position-only", "40 0.75 850 25 0.55 600", true, true}),
    [](const auto& info) {
        std::string name = info.param.scenario;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

TEST_F(KitBench, ToolTipOfTheHoveredAircraft) {
    WorkbenchOptions options;
    options.panel = kKit + "panel.cfg.txt";
    options.window = 9;
    options.outDir.clear();
    options.frameIntervalS = 1.0;
    gauge::Diagnostics d;
    ASSERT_TRUE(bench_->load(options, d));
    preview::PreviewScenario scenario = builtin("head-on");
    // At 60 s the intruder is 1.7 nm ahead: 36 pixels above the centre of the
    // 6 nm display (the window is 256 x 304).
    preview::MouseKey key;
    key.atS = 58.0;
    key.y = (128.0 - 36.0) / 304.0;
    scenario.mouse = {key};
    bench_->resolve(scenario);
    gauge::Diagnostics runtime;
    const ScenarioRun run = bench_->run(scenario, options, runtime);
    bool hovered = false;
    for (const ViewFrame& f : run.frames) {
        for (const GaugeFrame& g : f.gauges) {
            if (g.gauge == "ContactScope_TCAS" && f.time < 58.0) {
                EXPECT_EQ(g.tooltip, "");
            }
            hovered = hovered || (g.gauge == "ContactScope_TCAS" &&
                                  g.tooltip.rfind("ID: SWR123 ALT: 0ft GS: 250kt", 0) == 0);
        }
    }
    EXPECT_TRUE(hovered);
}

TEST_F(KitBench, RadarShowsTheTraffic) {
    WorkbenchOptions options;
    options.gauges = {kKit + "ContactScope_Radar.xml"};
    options.outDir.clear();
    options.frameIntervalS = 10.0;
    options.keepImages = true;
    gauge::Diagnostics d;
    ASSERT_TRUE(bench_->load(options, d));
    EXPECT_EQ(d.problems().size(), 0u);
    preview::PreviewScenario scenario = builtin("busy-terminal");
    bench_->resolve(scenario);
    gauge::Diagnostics runtime;
    const ScenarioRun run = bench_->run(scenario, options, runtime);
    ASSERT_FALSE(run.frames.empty());
    EXPECT_GT(litPixels(run.frames.back().picture, 0, 0, 300, 300), 500);
}

TEST(KitFiles, EveryGaugeSetsTheSameSensitivityLevels) {
    std::string first;
    for (const char* name : {"ContactScope_TCAS", "ContactScope_Radar", "ContactScope_Advisory"}) {
        gauge::Diagnostics d;
        gauge::GaugeFile g;
        ASSERT_TRUE(gauge::readGaugeFile(kKit + name + ".xml", g, d));
        ASSERT_TRUE(g.hasUpdate);
        std::string update = g.update.source();
        // The TCAS display's Update starts with its range.
        const size_t sl = update.find("(L:ContactScope SL, number) sp0");
        ASSERT_NE(sl, std::string::npos) << name;
        update = update.substr(sl);
        if (first.empty()) {
            first = update;
        }
        EXPECT_EQ(update, first) << name;
    }
}

}  // namespace
}  // namespace cs::workbench

namespace cs::workbench {
namespace {

// The level the kit's Update script picks over a short flight of the own
// aircraft: (L:ContactScope SL) and the TA time written, per second.
std::vector<std::pair<double, double>> levels(Workbench& bench, const std::string& own,
                                              double seconds) {
    WorkbenchOptions options;
    options.gauges = {kKit + "ContactScope_TCAS.xml"};
    options.outDir.clear();
    options.frameIntervalS = 1.0;
    gauge::Diagnostics d;
    EXPECT_TRUE(bench.load(options, d));
    preview::PreviewScenario scenario = preview::parseScenario(
        "{\"duration\": \"" + std::to_string(seconds) +
            " s\", \"own\": {\"latitude\": 47, \"longitude\": 8, " + own + "}, \"traffic\": []}",
        "levels.json");
    bench.resolve(scenario);
    gauge::Diagnostics runtime;
    const ScenarioRun run = bench.run(scenario, options, runtime);
    std::vector<std::pair<double, double>> out;
    for (const ViewFrame& f : run.frames) {
        double level = -1.0, tau = -1.0;
        for (const auto& [name, value] : f.locals) {
            level = name == "ContactScope SL" ? value : level;
        }
        for (const PropertyAccess& a : f.gauges.at(0).properties) {
            tau = a.name == "va9vedored:timeSeparationTA" ? a.value.number : tau;
        }
        out.emplace_back(level, tau);
    }
    return out;
}

struct LevelCase {
    const char* own;
    double level;
    double taTau;
};

class SensitivityLevel : public KitBench, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(SensitivityLevel, FromTheOwnAltitudes) {
    const LevelCase& c = GetParam();
    const auto result = levels(*bench_, c.own, 1.0);
    ASSERT_FALSE(result.empty());
    EXPECT_EQ(result.back().first, c.level) << c.own;
    EXPECT_EQ(result.back().second, c.taTau) << c.own;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SensitivityLevel,
    ::testing::Values(
        LevelCase{"\"altitude\": \"800 ft\"", 2, 20}, LevelCase{"\"altitude\": \"1800 ft\"", 3, 25},
        LevelCase{"\"altitude\": \"4000 ft\"", 4, 30},
        LevelCase{"\"altitude\": \"8000 ft\"", 5, 40},
        LevelCase{"\"altitude\": \"15000 ft\"", 6, 45},
        LevelCase{"\"altitude\": \"30000 ft\"", 7, 48},
        LevelCase{"\"altitude\": \"45000 ft\"", 8, 48},
        // Over high ground the radio altitude gives the lower level.
        LevelCase{"\"altitude\": \"12000 ft\", \"radioAltitude\": \"1500 ft\"", 3, 25},
        // Above 2,350 ft AGL the pressure altitude decides.
        LevelCase{"\"altitude\": \"2000 ft\", \"radioAltitude\": \"3000 ft\"", 4, 30}));

TEST_F(KitBench, SensitivityLevelHysteresis) {
    // From 4,700 ft climbing 1,000 ft/min for 42 s (to 5,400 ft), then descending.
    const auto result = levels(*bench_,
                               "\"altitude\": \"4700 ft\", \"track\": 0, \"groundSpeed\": "
                               "\"200 kt\", \"verticalSpeed\": \"1000 fpm\", "
                               "\"verticalSpeedChanges\": [{\"at\": \"42 s\", "
                               "\"verticalSpeed\": \"-1000 fpm\"}]",
                               90.0);
    ASSERT_GE(result.size(), 90u);
    EXPECT_EQ(result[25].first, 4);  // 5,117 ft: above 5,000 but not yet 5,200
    EXPECT_EQ(result[35].first, 5);  // 5,283 ft
    EXPECT_EQ(result[70].first, 5);  // 4,933 ft on the way down: not yet 4,800
    EXPECT_EQ(result[85].first, 4);  // 4,683 ft
}

}  // namespace
}  // namespace cs::workbench
