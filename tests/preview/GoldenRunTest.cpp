// One run per encounter of the built-in library through the real module:
// the traffic cycle at which each intruder first became a TA and an RA, as
// the module itself reported it through its hover tool-tip. With one traffic
// cycle per second, frame n is the cycle taken n seconds into the run; the
// first cycle only fills the snapshot, so nothing is classified before frame 2.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "SharedSession.h"
#include "tools/preview/PreviewRun.h"
#include "tools/scenario/BuiltinScenarios.h"
#include "tools/scenario/ScenarioParser.h"

namespace cs::preview {
namespace {

class ModuleRun : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { session_ = &sharedSession(); }

    static PreviewScenario builtin(const std::string& name) {
        for (size_t i = 0; i < kBuiltinScenarioCount; ++i) {
            if (name == kBuiltinScenarios[i].name) {
                PreviewScenario s =
                    parseScenario(kBuiltinScenarios[i].text, kBuiltinScenarios[i].file);
                resolveNames(s, session_->vocabulary());
                return s;
            }
        }
        ADD_FAILURE() << "no built-in scenario " << name;
        return {};
    }

    // First TA and RA frame of each intruder, by ATC id, for every display run.
    static std::map<std::string, std::pair<int, int>> firsts(const DisplayResult& d) {
        std::map<std::string, std::pair<int, int>> out;
        for (const IntruderSummary& i : d.intruders) {
            out[i.atcId] = {i.firstTaFrame, i.firstRaFrame};
        }
        return out;
    }

    static RunResult run(const PreviewScenario& s, std::optional<DisplayKind> only = {}) {
        RunOptions options;  // no output folder: nothing is written
        options.onlyDisplay = only;
        return runScenario(*session_, s, options);
    }

    static ModuleSession* session_;
};
ModuleSession* ModuleRun::session_ = nullptr;

struct Golden {
    const char* scenario;
    std::map<std::string, std::pair<int, int>> firsts;  // atcId -> (first TA, first RA); -1 never
};

class GoldenEncounters : public ModuleRun, public ::testing::WithParamInterface<Golden> {};

TEST_P(GoldenEncounters, FirstAdvisoryCycles) {
    const Golden& g = GetParam();
    const PreviewScenario s = builtin(g.scenario);
    const RunResult r = run(s);
    ASSERT_EQ(r.displays.size(), s.displays.size());
    for (const DisplayResult& d : r.displays) {
        SCOPED_TRACE(displayName(d.kind));
        std::map<std::string, std::pair<int, int>> got = firsts(d);
        for (const auto& [id, expected] : g.firsts) {
            ASSERT_TRUE(got.count(id)) << id;
            EXPECT_EQ(got[id].first, expected.first) << id << " first TA";
            EXPECT_EQ(got[id].second, expected.second) << id << " first RA";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Library, GoldenEncounters,
    ::testing::Values(
        // 500 kt closure from 10 nm: tau 35 s at about 4.9 nm, tau 20 s at about 2.8 nm.
        Golden{"head-on", {{"SWR123", {38, 53}}}},
        // Predicted to reach the own level while still below: TA from below, then RA.
        Golden{"crossing-climb", {{"DLH4TK", {52, 67}}}},
        // 30 kt closure never reaches the tau tests; the 1 nm distance test gives the TA.
        Golden{"overtaking", {{"EZY81QP", {75, -1}}}},
        // 0.8 nm abeam: a TA at the first classified cycle, never an RA.
        Golden{"parallel-approach", {{"AFR22C", {2, -1}}}},
        // 1500 ft below is outside every 1200 ft window.
        Golden{"below-1500", {{"BAW9XK", {-1, -1}}}},
        // Speeds derived from successive positions give the same cycles as full data.
        Golden{"position-only", {{"N512QS", {38, 53}}, {"GLIDER", {-1, -1}}}}),
    [](const ::testing::TestParamInfo<Golden>& info) {
        std::string name = info.param.scenario;
        for (char& c : name) {
            c = c == '-' ? '_' : c;
        }
        return name;
    });

TEST_F(ModuleRun, BusyTerminalHasOneConflictAmongQuietTraffic) {
    const PreviewScenario s = builtin("busy-terminal");
    const RunResult r = run(s);
    ASSERT_EQ(r.displays.size(), 2u);
    for (const DisplayResult& d : r.displays) {
        SCOPED_TRACE(displayName(d.kind));
        std::map<std::string, std::pair<int, int>> got = firsts(d);
        ASSERT_EQ(got.size(), 151u);
        EXPECT_EQ(got["CONFLICT"], std::make_pair(20, 35));
        EXPECT_EQ(got["TMA095"], std::make_pair(2, -1));
        EXPECT_EQ(got["TMA083"], std::make_pair(8, -1));
        int quiet = 0;
        for (const auto& [id, f] : got) {
            quiet += (f.first < 0 && f.second < 0) ? 1 : 0;
        }
        EXPECT_EQ(quiet, 148);
    }
    // MaxNumAct 200 requests every aircraft. The radar's altitude windows
    // (100000 ft) show all of them; the TCAS hides what lies beyond 2700 ft.
    int seenRadar = 0, seenTcas = 0;
    for (const DisplayResult& d : r.displays) {
        for (const IntruderSummary& i : d.intruders) {
            (d.kind == DisplayKind::Radar ? seenRadar : seenTcas) += i.seen ? 1 : 0;
        }
    }
    EXPECT_EQ(seenRadar, 151);
    EXPECT_LT(seenTcas, 151);
    EXPECT_GT(seenTcas, 50);
}

TEST_F(ModuleRun, ReportedValuesAreTheModulesToolTip) {
    const PreviewScenario s = builtin("below-1500");
    const RunResult r = run(s, DisplayKind::Tcas);
    ASSERT_EQ(r.displays.size(), 1u);
    const std::vector<FrameRecord>& frames = r.displays[0].frames;
    ASSERT_GT(frames.size(), 10u);
    EXPECT_EQ(frames[0].frame, 0);
    EXPECT_TRUE(frames[0].aircraft.empty());       // no traffic before the first cycle
    EXPECT_FALSE(frames[1].aircraft.at(0).found);  // first cycle: not yet classified
    const AircraftObservation& o = frames[5].aircraft.at(0);
    ASSERT_TRUE(o.found);
    EXPECT_EQ(o.level, -1);  // Other throughout
    EXPECT_NEAR(o.altDiff, -1500.0, 1e-6);
    EXPECT_NEAR(o.groundSpeed, 250.0, 1e-6);
    EXPECT_NEAR(o.track, 90.0, 1e-6);
    // The published properties of the normal frame come with it.
    bool advisorySeen = false;
    for (const PropertyValue& p : frames[5].properties) {
        if (p.name == "advisory") {
            advisorySeen = true;
            EXPECT_TRUE(p.ok);
            EXPECT_EQ(p.number, 0.0);
        }
    }
    EXPECT_TRUE(advisorySeen);
}

TEST_F(ModuleRun, ProbesDoNotChangeTheClassification) {
    // The same run with and without hover probes takes the same advisories.
    const PreviewScenario s = builtin("head-on");
    RunOptions probed, plain;
    plain.probe = false;
    probed.onlyDisplay = plain.onlyDisplay = DisplayKind::Tcas;
    const RunResult a = runScenario(*session_, s, probed);
    const RunResult b = runScenario(*session_, s, plain);
    ASSERT_EQ(a.displays[0].frames.size(), b.displays[0].frames.size());
    for (size_t i = 0; i < a.displays[0].frames.size(); ++i) {
        const auto& pa = a.displays[0].frames[i].properties;
        const auto& pb = b.displays[0].frames[i].properties;
        ASSERT_EQ(pa.size(), pb.size());
        for (size_t k = 0; k < pa.size(); ++k) {
            EXPECT_EQ(pa[k].number, pb[k].number) << pa[k].name << " frame " << i;
            EXPECT_EQ(pa[k].text, pb[k].text) << pa[k].name << " frame " << i;
        }
    }
}

}  // namespace
}  // namespace cs::preview
