// Checks of what the real module did under Wine (ContactScope.dll with
// Wine's GDI+) and, for comparison, on Linux (ContactScope.so with Cairo),
// from the logs contactscope-preview wrote for the scenario library: the
// module's start and stop, the advisories it published, and the agreement of
// the two platforms and of the two ways of handing over the host's services.
// The frames are checked in PixelChecksTest.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/wine/checks/RunData.h"

namespace cs::winetest {
namespace {

const char* const kSides[] = {"wine", "linux"};
const char* const kDisplays[] = {"tcas", "radar"};

#define REQUIRE_RUN(var, name)                  \
    const ::cs::winetest::Run& var = run(name); \
    ASSERT_EQ(var.error, "") << "run " << name

std::vector<std::string> strings(const json& list) {
    std::vector<std::string> out;
    for (const json& item : list) {
        out.push_back(item.get<std::string>());
    }
    return out;
}

int advisory(const json& frame) {
    return static_cast<int>(frame["properties"].value("advisory", -99.0));
}

// ---- The library -----------------------------------------------------------

// Both sides ran every scenario of scenarios/ with both displays, and the
// module drew a frame at the start and after each traffic cycle (one a
// second at 18 ticks a second).
TEST(Library, EveryScenarioRanOnBothSidesWithAFramePerTrafficCycle) {
    const std::vector<std::string> names = library();
    ASSERT_GE(names.size(), 7u);
    for (const char* side : kSides) {
        for (const std::string& name : names) {
            const ScenarioLog* log = onSide(side, name);
            ASSERT_NE(log, nullptr) << name << " did not run on " << side;
            ASSERT_EQ(log->error, "");
            EXPECT_EQ(log->head["displays"], json({"tcas", "radar"})) << name;
            EXPECT_EQ(log->head["probes"].get<bool>(), name != "busy-terminal") << name;
            const size_t duration = static_cast<size_t>(log->head["duration"].get<double>());
            for (const char* display : kDisplays) {
                const auto frames = log->frames(display);
                ASSERT_EQ(frames.size(), duration + 1) << side << " " << name << "/" << display;
                for (size_t i = 0; i < frames.size(); ++i) {
                    EXPECT_EQ((*frames[i])["frame"].get<size_t>(), i);
                    EXPECT_EQ((*frames[i])["time"].get<double>(), static_cast<double>(i));
                }
            }
        }
    }
}

// ---- Start and stop --------------------------------------------------------

class StartStop : public ::testing::TestWithParam<const char*> {};

TEST_P(StartStop, StartRegistersBothNamesAndStopRemovesBoth) {
    const std::string name = GetParam();
    REQUIRE_RUN(r, name);
    const std::vector<std::string> both = {"va9vedored", "ContactScope"};
    ASSERT_EQ(r.session.size(), 2u);
    const json& start = r.session[0];
    const json& stop = r.session[1];
    ASSERT_EQ(start["type"], "start");
    ASSERT_EQ(stop["type"], "stop");
    EXPECT_EQ(start["entry"], name == "wine-panels" ? "panels" : "importtable");
    EXPECT_EQ(strings(start["registered"]), both);
    EXPECT_EQ(strings(stop["unregistered"]), both);
    EXPECT_TRUE(stop["registered"].empty()) << "DLLStop registered something";
    EXPECT_TRUE(stop["stillRegistered"].empty()) << "a name is still registered after DLLStop";
}

INSTANTIATE_TEST_SUITE_P(Runs, StartStop,
                         ::testing::Values("wine-library", "wine-busy", "wine-panels",
                                           "linux-library", "linux-busy"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string n = info.param;
                             n[n.find('-')] = '_';
                             return n;
                         });

// ---- Published advisories per frame ----------------------------------------

struct Encounter {
    const char* scenario;
    int firstTA, firstRA;  // frames (= seconds) of the first published TA and RA; -1 never
    const char* taId;      // the advisory aircraft then
    const char* raId;
    int closest;         // closest approach (s): until then the advisory never relaxes
    double groundSpeed;  // of the advisory aircraft, kt; 0: not checked
};

const Encounter kEncounters[] = {
    // 500 kt closure from 10 nm: tau 35 s at about 4.9 nm, 20 s at about 2.8 nm.
    {"head-on", 38, 53, "SWR123", "SWR123", 72, 250.0},
    // From the right, predicted to reach the own level while still below.
    {"crossing-climb", 52, 67, "DLH4TK", "DLH4TK", 86, 250.0},
    // 30 kt closure never reaches the tau tests; the 1 nm distance test gives the TA.
    {"overtaking", 75, -1, "EZY81QP", "", 189, 240.0},
    // 0.8 nm abeam at the same level: a TA from the first classified cycle.
    {"parallel-approach", 2, -1, "AFR22C", "", 120, 140.0},
    // 1500 ft below is outside every 1200 ft window.
    {"below-1500", -1, -1, "", "", 90, 0.0},
    // 5000 ft below: outside every window, passing underneath at 50 s.
    {"far-below", -1, -1, "", "", 50, 0.0},
    // Speeds derived from successive positions: the head-on times, 250 kt within 1 kt.
    {"position-only", 38, 53, "N512QS", "N512QS", 72, 250.0},
    // TMA095 passes 0.6 nm away as a TA; the converging CONFLICT takes over as the RA.
    {"busy-terminal", 2, 41, "TMA095", "CONFLICT", 54, 0.0},
};

struct EncounterCase {
    Encounter encounter;
    const char* display;
    const char* side;
};

std::vector<EncounterCase> encounterCases() {
    std::vector<EncounterCase> out;
    for (const Encounter& e : kEncounters) {
        for (const char* display : kDisplays) {
            for (const char* side : kSides) {
                out.push_back({e, display, side});
            }
        }
    }
    return out;
}

void PrintTo(const EncounterCase& c, std::ostream* os) {
    *os << c.encounter.scenario << "/" << c.display << " on " << c.side;
}

class Encounters : public ::testing::TestWithParam<EncounterCase> {};

TEST_P(Encounters, PublishedAdvisoryFollowsTheGeometry) {
    const EncounterCase& c = GetParam();
    const Encounter& e = c.encounter;
    const ScenarioLog* log = onSide(c.side, e.scenario);
    ASSERT_NE(log, nullptr);
    const auto frames = log->frames(c.display);
    ASSERT_GT(frames.size(), 2u);
    EXPECT_EQ(advisory(*frames[0]), 0) << "nothing is classified before the first cycle";
    EXPECT_EQ(advisory(*frames[1]), 0) << "the first cycle classifies nothing";
    int firstTA = -1, firstRA = -1, previous = 0;
    for (const json* frame : frames) {
        const int n = (*frame)["frame"].get<int>();
        const json& p = (*frame)["properties"];
        const int level = advisory(*frame);
        ASSERT_GE(level, 0) << "frame " << n;
        ASSERT_LE(level, 2) << "frame " << n;
        if (n < e.closest) {
            EXPECT_GE(level, previous) << "an approaching encounter never relaxes, frame " << n;
        }
        previous = level;
        const std::string id = p["advisoryId"].get<std::string>();
        EXPECT_EQ(id.empty(), level == 0) << "frame " << n << ": \"" << id << "\"";
        if (level >= 1 && firstTA < 0) {
            firstTA = n;
            EXPECT_EQ(id, e.taId);
        }
        if (level >= 2 && firstRA < 0) {
            firstRA = n;
            EXPECT_EQ(id, e.raId);
        }
        if (level > 0 && e.groundSpeed > 0.0) {
            EXPECT_NEAR(p["advisoryGroundSpeed"].get<double>(), e.groundSpeed, 1.0)
                << "frame " << n;
        }
    }
    EXPECT_EQ(firstTA, e.firstTA);
    EXPECT_EQ(firstRA, e.firstRA);
}

INSTANTIATE_TEST_SUITE_P(Library, Encounters, ::testing::ValuesIn(encounterCases()),
                         [](const ::testing::TestParamInfo<EncounterCase>& info) {
                             std::string n = std::string(info.param.encounter.scenario) + "_" +
                                             info.param.display + "_" + info.param.side;
                             for (char& ch : n) {
                                 ch = ch == '-' ? '_' : ch;
                             }
                             return n;
                         });

// ---- Wine against Linux, Panels against the import record ------------------

// Every line of every scenario's log: the DLL under Wine published the same
// properties in the same frames as the Linux module, the probes found the
// same aircraft at the same levels with the same values, and the summaries
// agree.
TEST(WineVersusLinux, SameLogForEveryScenario) {
    int frames = 0;
    for (const std::string& name : library()) {
        const ScenarioLog* wine = onSide("wine", name);
        const ScenarioLog* linux = onSide("linux", name);
        ASSERT_TRUE(wine != nullptr && linux != nullptr) << name;
        ASSERT_EQ(wine->lines.size(), linux->lines.size()) << name;
        for (size_t i = 0; i < wine->lines.size(); ++i) {
            EXPECT_EQ(difference(wine->lines[i], linux->lines[i], 1e-3, ""), "")
                << name << " line " << i + 1;
            frames += wine->lines[i]["type"] == "frame";
        }
    }
    EXPECT_GT(frames, 1000);
}

// Services handed over through the exported Panels pointer instead of the
// import record: the same log and the same pixels.
TEST(WinePanelsRoute, SameLogAndIdenticalFramesAsTheImportRecord) {
    REQUIRE_RUN(panels, "wine-panels");
    int images = 0;
    for (const char* name : {"head-on", "position-only"}) {
        const ScenarioLog* viaImport = onSide("wine", name);
        ASSERT_NE(viaImport, nullptr);
        ASSERT_NE(panels.scenario(name), nullptr) << name;
        const ScenarioLog& viaPanels = *panels.scenario(name);
        ASSERT_EQ(viaPanels.lines.size(), viaImport->lines.size()) << name;
        for (size_t i = 0; i < viaPanels.lines.size(); ++i) {
            const json& a = viaImport->lines[i];
            const json& b = viaPanels.lines[i];
            EXPECT_EQ(difference(a, b, 0.0, ""), "") << name << " line " << i + 1;
            if (a["type"] == "frame" && a["image"].is_string()) {
                const Image* fa = viaImport->image(a);
                const Image* fb = viaPanels.image(b);
                ASSERT_TRUE(fa != nullptr && fb != nullptr) << name << " " << a["image"];
                EXPECT_TRUE(fa->rgb == fb->rgb) << name << " " << a["image"];
                ++images;
            }
        }
    }
    // Every 5 s of 90 s: 19 kept frames per display and scenario.
    EXPECT_EQ(images, 76);
}

}  // namespace
}  // namespace cs::winetest
