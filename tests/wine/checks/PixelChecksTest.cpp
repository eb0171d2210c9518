// Checks of the frames the module drew under Wine (Wine's GDI+) and on Linux
// (Cairo) for the scenario library: the background covers the drawing area,
// each TCAS symbol has the shape and colour of the level the module gave the
// aircraft and an altitude tag (under Wine through the font fallback, the
// prefix having no Arial), and both platforms paint the same colour at every
// symbol centre. The images are the runs' kept frames, drawn over a grey
// canvas without the tool's overlay.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/wine/checks/RunData.h"

namespace cs::winetest {
namespace {

const char* const kSides[] = {"wine", "linux"};
const char* const kDisplays[] = {"tcas", "radar"};

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kClearColour = 0x303030;  // the runs' --clear-colour
constexpr uint32_t kTcasOther = 0xF0F0F0;    // Other and Proximity on the TCAS display
constexpr uint32_t kTcasTA = 0xFFFF00;
constexpr uint32_t kTcasRA = 0xFF0000;
constexpr double kSymbolSize = 4.0;  // "SymbolSize" of the library's single encounters

using Point = std::pair<double, double>;

// Every scenario aircraft's place in the frame, by id.
std::map<int, Point> positions(const json& frame) {
    std::map<int, Point> out;
    for (const json& p : frame["positions"]) {
        out[p["id"].get<int>()] = {p["x"].get<double>(), p["y"].get<double>()};
    }
    return out;
}

// Pixels between rMin and rMax of (cx, cy) whose colour lies within
// `tolerance` of `colour`.
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

// Whether nothing but black lies within `radius` of (x, y).
bool blackAround(const Image& image, double x, double y, double radius) {
    return countNear(image, x, y, 0.0, radius, kBlack, 0) ==
           countNear(image, x, y, 0.0, radius, 0, 255);
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

// ---- The background ---------------------------------------------------------

TEST(Frames, TheModulePaintsTheWholeDrawingArea) {
    int images = 0;
    for (const char* side : kSides) {
        for (const std::string& name : library()) {
            const ScenarioLog* log = onSide(side, name);
            ASSERT_NE(log, nullptr) << name;
            const int w = log->head["size"][0].get<int>(), h = log->head["size"][1].get<int>();
            for (const char* display : kDisplays) {
                for (const json* frame : log->frames(display)) {
                    if (!(*frame)["image"].is_string()) {
                        continue;
                    }
                    const Image* image = log->image(*frame);
                    ASSERT_NE(image, nullptr) << side << " " << name << " " << (*frame)["image"];
                    ASSERT_EQ(image->width, w);
                    ASSERT_EQ(image->height, h);
                    // The canvas was grey before the draw: the frame covers it all
                    // (nine points: corners, edge middles and the centre).
                    for (int y : {0, h / 2, h - 1}) {
                        for (int x : {0, w / 2, w - 1}) {
                            EXPECT_NE(image->at(x, y), kClearColour)
                                << side << " " << name << " " << (*frame)["image"] << " at " << x
                                << "," << y;
                        }
                    }
                    ++images;
                }
            }
        }
    }
    EXPECT_GT(images, 400);
}

// ---- TCAS symbols -----------------------------------------------------------

struct PixelCase {
    const char* scenario;
    const char* side;
};

void PrintTo(const PixelCase& c, std::ostream* os) {
    *os << c.scenario << " on " << c.side;
}

class TcasPixels : public ::testing::TestWithParam<PixelCase> {};

// What the module drew where the probes found each aircraft: the symbol of
// its level (hollow diamond Other, filled diamond Proximity, yellow circle
// TA, red square RA) with an altitude tag, nothing where it found none, and
// nothing for the own aircraft at the centre.
TEST_P(TcasPixels, SymbolOfTheLevelWithItsTagAndNothingForTheOwnAircraft) {
    const ScenarioLog* log = onSide(GetParam().side, GetParam().scenario);
    ASSERT_NE(log, nullptr);
    const int w = log->head["size"][0].get<int>(), h = log->head["size"][1].get<int>();
    int checked = 0, visible = 0, tags = 0;
    for (const json* frame : log->frames("tcas")) {
        const Image* image = log->image(*frame);
        if (image == nullptr) {
            continue;  // not a kept frame
        }
        const std::string where = (*frame)["image"].get<std::string>();
        const std::map<int, Point> at = positions(*frame);
        bool centreFree = true;
        for (const auto& [id, p] : at) {
            centreFree = centreFree && std::hypot(p.first - w / 2.0, p.second - h / 2.0) > 40.0;
        }
        if (centreFree) {
            EXPECT_TRUE(blackAround(*image, w / 2.0, h / 2.0, 3.0))
                << where << ": something drawn at the own aircraft's place";
        }
        for (const json& a : (*frame)["aircraft"]) {
            const int id = a["id"].get<int>();
            ASSERT_EQ(at.count(id), 1u) << where << " aircraft " << id;
            const auto [x, y] = at.at(id);
            bool alone = true;
            for (const auto& [other, p] : at) {
                alone = alone && (other == id || std::hypot(p.first - x, p.second - y) > 30.0);
            }
            if (!alone || x < 30 || y < 30 || x > w - 30 || y > h - 30) {
                continue;
            }
            ++checked;
            if (!a["found"].get<bool>()) {
                EXPECT_TRUE(blackAround(*image, x, y, 8.0))
                    << where << ": aircraft " << id << " drawn although the module hides it";
                continue;
            }
            const std::string level = a["level"].get<std::string>();
            const uint32_t colour = level == "RA" ? kTcasRA : level == "TA" ? kTcasTA : kTcasOther;
            const uint32_t centre = image->at(static_cast<int>(x), static_cast<int>(y));
            if (level == "Other") {
                EXPECT_EQ(centre, kBlack) << where << ": hollow diamond filled";
                // The outline runs 4.2 to 6 px from the centre (corners at 1.5 s).
                EXPECT_GT(countNear(*image, x, y, 4.0, 6.5, colour, 24), 4)
                    << where << ": no outline";
            } else {
                EXPECT_LE(channelDistance(centre, colour), 8)
                    << where << std::hex << ": centre " << centre << " expected " << colour;
            }
            // Square, circle and diamond differ between the circle's radius
            // (1.5 s) and the square's corner: a point at (4.8, 4.8) lies inside
            // the square only, one at (6, 6) outside all but its corner region.
            const uint32_t inner = image->at(static_cast<int>(x + 4.8), static_cast<int>(y + 4.8));
            const uint32_t outer = image->at(static_cast<int>(x + 6.0), static_cast<int>(y + 6.0));
            if (level == "RA") {
                EXPECT_LE(channelDistance(inner, colour), 24)
                    << where << ": RA symbol not a square";
            } else if (level == "TA" || level == "Proximity") {
                EXPECT_GT(channelDistance(outer, colour), 128)
                    << where << ": symbol reaches into the square's corner";
            }
            ++visible;
            const int lit = tagPixels(*image, x, y, a["relativeAltitude"].get<double>());
            EXPECT_GT(lit, 8) << where << ": no altitude tag text";
            tags += lit > 8;
        }
    }
    EXPECT_GT(checked, 8);
    EXPECT_EQ(tags, visible) << "every visible symbol has its altitude tag";
}

std::vector<PixelCase> pixelCases() {
    std::vector<PixelCase> out;
    for (const char* scenario : {"head-on", "crossing-climb", "overtaking", "parallel-approach",
                                 "below-1500", "far-below", "position-only"}) {
        for (const char* side : kSides) {
            out.push_back({scenario, side});
        }
    }
    return out;
}

INSTANTIATE_TEST_SUITE_P(Library, TcasPixels, ::testing::ValuesIn(pixelCases()),
                         [](const ::testing::TestParamInfo<PixelCase>& info) {
                             std::string n =
                                 std::string(info.param.scenario) + "_" + info.param.side;
                             for (char& ch : n) {
                                 ch = ch == '-' ? '_' : ch;
                             }
                             return n;
                         });

// ---- Wine against Linux -----------------------------------------------------

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

// Around every aircraft's place both platforms paint the same colour: in the
// single encounters at every aircraft; in the busy terminal at nearly all,
// since there the tags of neighbours, drawn in different fonts, cover many
// places (on the TCAS display also those of the aircraft it hides).
TEST(WineVersusLinux, SymbolCentresAgree) {
    const std::map<std::string, double> kBusyShare = {{"tcas", 0.88}, {"radar", 0.95}};
    std::map<std::string, std::pair<long, long>> busy;  // per display: places, agreeing
    long single = 0;
    for (const std::string& name : library()) {
        const ScenarioLog* wine = onSide("wine", name);
        const ScenarioLog* linux = onSide("linux", name);
        ASSERT_TRUE(wine != nullptr && linux != nullptr) << name;
        const int w = wine->head["size"][0].get<int>(), h = wine->head["size"][1].get<int>();
        for (const char* display : kDisplays) {
            const auto fw = wine->frames(display);
            const auto fl = linux->frames(display);
            ASSERT_EQ(fw.size(), fl.size()) << name;
            for (size_t i = 0; i < fw.size(); ++i) {
                const Image* iw = wine->image(*fw[i]);
                const Image* il = linux->image(*fl[i]);
                ASSERT_EQ(iw == nullptr, il == nullptr) << name << " " << (*fw[i])["image"];
                if (iw == nullptr) {
                    continue;
                }
                for (const auto& [id, p] : positions(*fw[i])) {
                    const int x = static_cast<int>(p.first), y = static_cast<int>(p.second);
                    if (x < 4 || y < 4 || x > w - 5 || y > h - 5) {
                        continue;
                    }
                    const uint32_t cw = brightestNear(*iw, x, y);
                    const uint32_t cl = brightestNear(*il, x, y);
                    const bool agree = channelDistance(cw, cl) <= 64;
                    if (name == "busy-terminal") {
                        ++busy[display].first;
                        busy[display].second += agree;
                    } else {
                        ++single;
                        EXPECT_TRUE(agree) << name << " " << (*fw[i])["image"] << " at " << x << ","
                                           << y << std::hex << ": wine " << cw << " linux " << cl;
                    }
                }
            }
        }
    }
    EXPECT_GT(single, 200);
    for (const auto& [display, share] : kBusyShare) {
        const auto [places, agreeing] = busy[display];
        ASSERT_GT(places, 500) << display;
        EXPECT_GE(static_cast<double>(agreeing) / places, share)
            << display << ": " << agreeing << " of " << places << " places agree";
    }
}

}  // namespace
}  // namespace cs::winetest
