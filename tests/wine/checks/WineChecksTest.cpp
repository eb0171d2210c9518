// Checks of what the real module did under Wine (ContactScope.dll with
// Wine's GDI+) and, for comparison, on Linux (ContactScope.so with Cairo),
// from the logs and frames the scenario hosts wrote (tests/wine/host).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/wine/checks/RunData.h"

namespace cs::winetest {
namespace {

using nlohmann::json;

const char* const kWine = "wine-importtable";
const char* const kWinePanels = "wine-panels";
const char* const kLinux = "linux";

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kTcasOther = 0xF0F0F0;  // Other and Proximity on the TCAS display
constexpr uint32_t kTcasTA = 0xFFFF00;
constexpr uint32_t kTcasRA = 0xFF0000;
constexpr double kSymbolSize = 4.0;  // what the hosts give "SymbolSize"

#define REQUIRE_RUN(var, name)                  \
    const ::cs::winetest::Run& var = run(name); \
    ASSERT_EQ(var.error, "") << "run " << name; \
    ASSERT_FALSE(var.events.empty()) << "run " << name

std::vector<std::string> strings(const json& list) {
    std::vector<std::string> out;
    for (const json& item : list) {
        out.push_back(item.get<std::string>());
    }
    return out;
}

int level(const json& cycle) {
    return static_cast<int>(cycle.value("advisory", -99.0));
}

// ---- Start and stop ------------------------------------------------------

class StartStop : public ::testing::TestWithParam<const char*> {};

TEST_P(StartStop, EachStartRegistersBothNamesAndEachStopRemovesBoth) {
    REQUIRE_RUN(r, GetParam());
    const std::vector<std::string> both = {"va9vedored", "ContactScope"};
    const auto starts = r.byEvent("start");
    const auto stops = r.byEvent("stop");
    ASSERT_FALSE(starts.empty());
    ASSERT_EQ(starts.size(), stops.size()) << "every scenario stops the module";
    for (const json* e : starts) {
        EXPECT_EQ(strings((*e)["registered"]), both) << e->dump();
    }
    for (const json* e : stops) {
        EXPECT_EQ(strings((*e)["unregistered"]), both) << e->dump();
        EXPECT_TRUE((*e)["registered"].empty()) << "DLLStop registered something";
        EXPECT_FALSE((*e)["stillFound"].get<bool>()) << "a name is still registered after DLLStop";
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, StartStop, ::testing::Values(kWine, kWinePanels, kLinux));

// ---- Fonts ---------------------------------------------------------------

TEST(WineFonts, ThePrefixHasNoArialButAGenericSansSerifFamily) {
    REQUIRE_RUN(r, kWine);
    const auto fonts = r.byEvent("fonts");
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_FALSE((*fonts[0])["arialInstalled"].get<bool>())
        << "the fallback check needs a prefix without Arial";
    EXPECT_NE((*fonts[0])["genericSansSerif"].get<std::string>(), "");
}

// ---- Advisories per cycle ------------------------------------------------

struct Encounter {
    const char* scenario;
    int cycles;
    int firstTA;  // expected from the geometry: the cycle at which tau reaches 35 s
    int firstRA;  // ... and 20 s; 0: never
};

// Head-on: 500 kt closing from 8 nm, tau = 57.6 s - t. Crossing: 353.6 kt
// from 7.07 nm, tau = 72 s - t, the climb brings the predicted separation to
// 0 ft. Overtaking: 150 kt from 2 nm, tau = 48 s - t, 200 ft above.
// Position-only: the head-on encounter with derived speeds. Far below: 5000
// ft below, never an advisory.
const Encounter kEncounters[] = {
    {"headon", 45, 23, 38},       {"crossing", 60, 37, 52}, {"overtaking", 40, 13, 28},
    {"positiononly", 45, 23, 38}, {"farbelow", 20, 0, 0},
};

struct EncounterCase {
    Encounter encounter;
    const char* display;
    const char* run;
};

std::vector<EncounterCase> encounterCases() {
    std::vector<EncounterCase> out;
    for (const Encounter& e : kEncounters) {
        for (const char* display : {"tcas", "radar"}) {
            for (const char* runName : {kWine, kLinux}) {
                out.push_back({e, display, runName});
            }
        }
    }
    return out;
}

void PrintTo(const EncounterCase& c, std::ostream* os) {
    *os << c.encounter.scenario << "/" << c.display << " in " << c.run;
}

class Encounters : public ::testing::TestWithParam<EncounterCase> {};

TEST_P(Encounters, AdvisoryLevelAndIdFollowTheGeometry) {
    const EncounterCase& c = GetParam();
    REQUIRE_RUN(r, c.run);
    const auto cycles = r.cycles(c.encounter.scenario, c.display);
    ASSERT_EQ(static_cast<int>(cycles.size()), c.encounter.cycles);
    int firstTA = 0, firstRA = 0, previous = 0;
    for (const json* cycle : cycles) {
        const int n = (*cycle)["cycle"].get<int>();
        const int lv = level(*cycle);
        ASSERT_GE(lv, 0) << "cycle " << n;
        ASSERT_LE(lv, 2) << "cycle " << n;
        EXPECT_GE(lv, previous) << "an approaching encounter never de-escalates, cycle " << n;
        previous = lv;
        EXPECT_EQ((*cycle)["advisoryId"].get<std::string>(), lv > 0 ? "T2" : "") << "cycle " << n;
        if (lv >= 1 && firstTA == 0)
            firstTA = n;
        if (lv >= 2 && firstRA == 0)
            firstRA = n;
        if (lv > 0 && std::string(c.encounter.scenario) == "positiononly") {
            // Speeds derived from two snapshots one second apart.
            EXPECT_NEAR((*cycle)["advisoryGroundSpeed"].get<double>(), 250.0, 1.0) << "cycle " << n;
        }
    }
    EXPECT_EQ(level(*cycles.front()), 0) << "the first cycle classifies nothing";
    if (c.encounter.firstTA == 0) {
        EXPECT_EQ(firstTA, 0);
    } else {
        EXPECT_NEAR(firstTA, c.encounter.firstTA, 1);
        EXPECT_NEAR(firstRA, c.encounter.firstRA, 1);
    }
}

std::string encounterName(const ::testing::TestParamInfo<EncounterCase>& info) {
    std::string run = info.param.run;
    for (char& ch : run) {
        if (ch == '-')
            ch = '_';
    }
    return std::string(info.param.encounter.scenario) + "_" + info.param.display + "_" + run;
}

INSTANTIATE_TEST_SUITE_P(Scenarios, Encounters, ::testing::ValuesIn(encounterCases()),
                         encounterName);

// Every cycle of every scenario and display: the DLL under Wine publishes the
// same advisory as the Linux module, and the Panels route the same as the
// import record.
TEST(WineVersusLinux, SameAdvisoryLevelAndIdInEveryCycle) {
    REQUIRE_RUN(wine, kWine);
    REQUIRE_RUN(linux, kLinux);
    const auto wineCycles = wine.byEvent("cycle");
    const auto linuxCycles = linux.byEvent("cycle");
    ASSERT_EQ(wineCycles.size(), linuxCycles.size());
    for (size_t i = 0; i < wineCycles.size(); ++i) {
        const json& w = *wineCycles[i];
        const json& l = *linuxCycles[i];
        const std::string where = w["scenario"].get<std::string>() + "/" +
                                  w["display"].get<std::string>() + " cycle " +
                                  std::to_string(w["cycle"].get<int>());
        ASSERT_EQ(w["scenario"], l["scenario"]);
        ASSERT_EQ(w["cycle"], l["cycle"]);
        EXPECT_EQ(level(w), level(l)) << where;
        EXPECT_EQ(w["advisoryId"], l["advisoryId"]) << where;
        EXPECT_NEAR(w["advisoryDist"].get<double>(), l["advisoryDist"].get<double>(), 1e-6)
            << where;
        EXPECT_EQ(w["drew"], l["drew"]) << where;
    }
}

TEST(WinePanelsRoute, SameAdvisoriesAndIdenticalFramesAsTheImportRecord) {
    REQUIRE_RUN(wine, kWine);
    REQUIRE_RUN(panels, kWinePanels);
    int compared = 0;
    for (const char* scenario : {"headon", "positiononly"}) {
        for (const char* display : {"tcas", "radar"}) {
            const auto a = wine.cycles(scenario, display);
            const auto b = panels.cycles(scenario, display);
            ASSERT_EQ(a.size(), b.size()) << scenario << "/" << display;
            for (size_t i = 0; i < a.size(); ++i) {
                EXPECT_EQ(level(*a[i]), level(*b[i]));
                EXPECT_EQ((*a[i])["advisoryId"], (*b[i])["advisoryId"]);
                const Image* fa = wine.frame(*a[i]);
                const Image* fb = panels.frame(*b[i]);
                ASSERT_TRUE(fa != nullptr && fb != nullptr) << scenario << " cycle " << i + 1;
                EXPECT_TRUE(fa->rgb == fb->rgb) << scenario << "/" << display << " cycle " << i + 1;
                ++compared;
            }
        }
    }
    EXPECT_EQ(compared, 180);
}

// ---- Pixels --------------------------------------------------------------

TEST(WineFrames, EveryCycleDrawsAFrameWithABlackBackground) {
    REQUIRE_RUN(r, kWine);
    const auto cycles = r.byEvent("cycle");
    ASSERT_GT(cycles.size(), 400u);
    for (const json* cycle : cycles) {
        ASSERT_TRUE((*cycle)["drew"].get<bool>()) << cycle->dump().substr(0, 160);
        const Image* frame = r.frame(*cycle);
        ASSERT_NE(frame, nullptr) << (*cycle)["frame"];
        ASSERT_EQ(frame->width, 400);
        ASSERT_EQ(frame->height, 400);
        // The host clears to grey before each draw: the frame covers it all.
        for (int y : {0, 399}) {
            for (int x : {0, 399}) {
                EXPECT_EQ(frame->at(x, y), kBlack) << (*cycle)["frame"] << " at " << x << "," << y;
            }
        }
    }
}

enum class Shape { Hidden, HollowDiamond, FilledDiamond, FilledCircle, FilledSquare, Unsure };

// The TCAS symbol the single intruder of a cycle must show, from its
// published advisory and the host's geometry (default TCAS windows: Other
// within 2700 ft, Proximity within 6 nm and 1200 ft).
Shape expectedTcasShape(const json& cycle, uint32_t* colour) {
    const json& a = cycle["aircraft"][0];
    const double dist = a["dist"].get<double>();
    const double altDiff = std::fabs(a["altDiff"].get<double>());
    *colour = kTcasOther;
    if (cycle["cycle"].get<int>() == 1)
        return Shape::Hidden;
    switch (level(cycle)) {
        case 2:
            *colour = kTcasRA;
            return Shape::FilledSquare;
        case 1:
            *colour = kTcasTA;
            return Shape::FilledCircle;
        default:
            break;
    }
    if (altDiff > 2750.0)
        return Shape::Hidden;
    if (altDiff < 1150.0 && dist < 5.95)
        return Shape::FilledDiamond;
    if (altDiff < 2650.0 && dist > 6.05)
        return Shape::HollowDiamond;
    return Shape::Unsure;
}

// Pixels within `radius` of (cx, cy) whose colour lies within `tolerance` of `colour`.
int countNear(const Image& image, double cx, double cy, double rMin, double rMax, uint32_t colour,
              int tolerance) {
    int n = 0;
    for (int y = static_cast<int>(cy - rMax) - 1; y <= static_cast<int>(cy + rMax) + 1; ++y) {
        for (int x = static_cast<int>(cx - rMax) - 1; x <= static_cast<int>(cx + rMax) + 1; ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            if (d >= rMin && d <= rMax && image.inside(x, y) &&
                channelDistance(image.at(x, y), colour) <= tolerance) {
                ++n;
            }
        }
    }
    return n;
}

// Lit pixels in the box where the altitude tag hangs: above the symbol for
// traffic at or above the own level, below for traffic below.
int tagPixels(const Image& image, double x, double y, double altDiff) {
    const double s = kSymbolSize;
    const bool above = std::floor(altDiff / 100.0 + 0.5) >= 0;
    const int top = static_cast<int>(above ? y - 5.5 * s : y + 2.0 * s);
    int lit = 0;
    for (int py = top; py < top + static_cast<int>(3.5 * s); ++py) {
        for (int px = static_cast<int>(x - 3.5 * s); px <= static_cast<int>(x + 3.5 * s); ++px) {
            if (image.inside(px, py) && channelDistance(image.at(px, py), kBlack) > 80) {
                ++lit;
            }
        }
    }
    return lit;
}

struct PixelCase {
    const char* scenario;
    const char* run;
};

void PrintTo(const PixelCase& c, std::ostream* os) {
    *os << c.scenario << " in " << c.run;
}

class TcasPixels : public ::testing::TestWithParam<PixelCase> {};

TEST_P(TcasPixels, SymbolColourShapeTagAndNothingForTheOwnAircraft) {
    REQUIRE_RUN(r, GetParam().run);
    const auto cycles = r.cycles(GetParam().scenario, "tcas");
    ASSERT_FALSE(cycles.empty());
    int checked = 0, visible = 0, tags = 0;
    for (const json* cycle : cycles) {
        const Image* frame = r.frame(*cycle);
        ASSERT_NE(frame, nullptr);
        const json& a = (*cycle)["aircraft"][0];
        const double x = a["x"].get<double>(), y = a["y"].get<double>();
        const std::string where = (*cycle)["frame"].get<std::string>();
        // Nothing at the display centre: the own aircraft is listed first and
        // never drawn (checked while the intruder and its tag are well away).
        if (std::hypot(x - 200.0, y - 200.0) > 40.0) {
            EXPECT_EQ(countNear(*frame, 200.0, 200.0, 0.0, 3.0, kBlack, 0),
                      countNear(*frame, 200.0, 200.0, 0.0, 3.0, 0, 255))
                << where << ": something drawn at the own aircraft's place";
        }
        if (x < 30 || y < 30 || x > 370 || y > 370)
            continue;
        uint32_t colour = 0;
        const Shape shape = expectedTcasShape(*cycle, &colour);
        const uint32_t centre = frame->at(static_cast<int>(x), static_cast<int>(y));
        switch (shape) {
            case Shape::Unsure:
                continue;
            case Shape::Hidden:
                EXPECT_EQ(countNear(*frame, x, y, 0.0, 8.0, kBlack, 0),
                          countNear(*frame, x, y, 0.0, 8.0, 0, 255))
                    << where << ": a hidden aircraft was drawn";
                ++checked;
                continue;
            case Shape::HollowDiamond:
                EXPECT_EQ(centre, kBlack) << where << ": hollow diamond filled";
                // The outline runs 4.2 to 6 px from the centre (corners at 1.5 s).
                EXPECT_GT(countNear(*frame, x, y, 4.0, 6.5, colour, 24), 4)
                    << where << ": no outline";
                break;
            default:
                EXPECT_LE(channelDistance(centre, colour), 8)
                    << where << std::hex << ": centre " << centre << " expected " << colour;
                break;
        }
        // Square, circle and diamond differ between the circle's radius (1.5 s)
        // and the square's corner: a point at (4.8, 4.8) lies inside the square
        // only, one at (6, 6) outside all but the square's corner region.
        const uint32_t inner = frame->at(static_cast<int>(x + 4.8), static_cast<int>(y + 4.8));
        const uint32_t outer = frame->at(static_cast<int>(x + 6.0), static_cast<int>(y + 6.0));
        if (shape == Shape::FilledSquare) {
            EXPECT_LE(channelDistance(inner, colour), 24) << where << ": RA symbol is not a square";
        }
        if (shape == Shape::FilledCircle || shape == Shape::FilledDiamond) {
            EXPECT_GT(channelDistance(outer, colour), 128)
                << where << ": symbol reaches into the square's corner";
        }
        ++visible;
        ++checked;
        // The altitude tag: under Wine "Arial" is missing, so it only shows
        // when the generic sans-serif fallback works.
        const int lit = tagPixels(*frame, x, y, a["altDiff"].get<double>());
        EXPECT_GT(lit, 8) << where << ": no altitude tag text";
        tags += lit > 8;
    }
    EXPECT_GT(checked, 10);
    EXPECT_EQ(tags, visible) << "every visible symbol has its altitude tag";
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, TcasPixels,
    ::testing::Values(PixelCase{"headon", kWine}, PixelCase{"crossing", kWine},
                      PixelCase{"overtaking", kWine}, PixelCase{"farbelow", kWine},
                      PixelCase{"positiononly", kWine}, PixelCase{"headon", kLinux},
                      PixelCase{"crossing", kLinux}, PixelCase{"overtaking", kLinux},
                      PixelCase{"positiononly", kLinux}),
    [](const ::testing::TestParamInfo<PixelCase>& info) {
        return std::string(info.param.scenario) + (info.param.run == kWine ? "_wine" : "_linux");
    });

// The brightest pixel of the 3 x 3 block around (x, y). Wine's GDI+ draws
// pen outlines and lines without anti-aliasing, snapped to whole pixels, where
// Cairo spreads a line over partly covered pixels; a block absorbs that.
uint32_t brightestNear(const Image& image, int x, int y) {
    uint32_t best = 0;
    int bestSum = -1;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const uint32_t c = image.at(x + dx, y + dy);
            const int sum = static_cast<int>((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF);
            if (sum > bestSum) {
                bestSum = sum;
                best = c;
            }
        }
    }
    return best;
}

// Around every symbol centre the two platforms paint the same colour: for
// the single encounters at every aircraft, in the busy scenario (where tags
// of neighbours may cover a centre and the fonts differ) at nearly all.
TEST(WineVersusLinux, SymbolCentresAgree) {
    REQUIRE_RUN(wine, kWine);
    REQUIRE_RUN(linux, kLinux);
    const auto w = wine.byEvent("cycle");
    const auto l = linux.byEvent("cycle");
    ASSERT_EQ(w.size(), l.size());
    long busyTotal = 0, busyAgree = 0, singleTotal = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        const Image* fw = wine.frame(*w[i]);
        const Image* fl = linux.frame(*l[i]);
        ASSERT_TRUE(fw != nullptr && fl != nullptr) << (*w[i])["frame"];
        const bool busy = (*w[i])["scenario"] == "busy";
        for (const json& a : (*w[i])["aircraft"]) {
            const int x = static_cast<int>(a["x"].get<double>());
            const int y = static_cast<int>(a["y"].get<double>());
            if (x < 4 || y < 4 || x > 395 || y > 395)
                continue;
            const uint32_t cw = brightestNear(*fw, x, y);
            const uint32_t cl = brightestNear(*fl, x, y);
            const bool agree = channelDistance(cw, cl) <= 64;
            if (busy) {
                ++busyTotal;
                busyAgree += agree;
            } else {
                ++singleTotal;
                EXPECT_TRUE(agree) << (*w[i])["frame"] << std::hex << " at " << std::dec << x << ","
                                   << y << std::hex << ": wine " << cw << " linux " << cl;
            }
        }
    }
    EXPECT_GT(singleTotal, 300);
    ASSERT_GT(busyTotal, 500);
    EXPECT_GE(static_cast<double>(busyAgree) / busyTotal, 0.95)
        << busyAgree << " of " << busyTotal << " centres agree";
}

}  // namespace
}  // namespace cs::winetest
