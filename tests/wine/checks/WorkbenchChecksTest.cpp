// The gauge workbench of the Windows build (under Wine, drawing with GDI+)
// against the Linux build (Cairo) on the same gauges: the same exit status,
// the same messages, the same log (texts, times, L: variables, C: values)
// and pictures with the same elements lit in the same places; only the
// fonts' shapes and widths may differ, within a bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "tests/wine/checks/RunData.h"

namespace cs::winetest {
namespace {

struct WorkbenchCase {
    const char* name;
    int status;            // 0 ran or checked, 2 refused
    const char* scenario;  // the run's scenario folder; null for --check or refusals
};

const WorkbenchCase kCases[] = {
    {"kit_window", 0, "head-on"},
    {"nav_traffic", 0, "crossing-climb"},
    {"nav_traffic_check", 0, nullptr},
    {"not_xml", 2, nullptr},
    {"bad_scripts", 2, nullptr},
    {"bad_names", 2, nullptr},
    {"designer_nd", 0, "designer-nd"},
    {"designer_mistakes", 2, nullptr},
    {"language", 0, "language"},
    {"needle", 0, "needle"},
    {"moving_parts", 0, "moving"},
    {"art_cab", 0, "head-on"},  // a gauge set in an MSZIP cabinet, its bitmaps in it
};

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A Windows text as Linux would print it: line ends, drive letters and
// backslashes of the paths.
std::string asOnLinux(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    // The runner's note on a start-up hang it stopped and ran again.
    for (size_t at = text.find("wine_run.sh: "); at != std::string::npos;
         at = text.find("wine_run.sh: ", at)) {
        if (at == 0 || text[at - 1] == '\n') {
            const size_t end = text.find('\n', at);
            text.erase(at, end == std::string::npos ? std::string::npos : end - at + 1);
        } else {
            ++at;
        }
    }
    for (size_t at = text.find("Z:"); at != std::string::npos; at = text.find("Z:", at)) {
        text.erase(at, 2);
    }
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

// A log line with its file paths as on Linux.
json asOnLinux(const json& line) {
    if (line.is_string()) {
        return asOnLinux(line.get<std::string>());
    }
    if (line.is_object() || line.is_array()) {
        json out = line;
        for (auto it = out.begin(); it != out.end(); ++it) {
            *it = asOnLinux(*it);
        }
        return out;
    }
    return line;
}

// Which 8 x 8 tiles of a picture hold a pixel unlike its background (the
// colour at the top-left corner) by more than a faint edge.
struct Tiles {
    int columns = 0, rows = 0;
    std::vector<bool> lit;
    bool at(int c, int r) const {
        return c >= 0 && r >= 0 && c < columns && r < rows &&
               lit[static_cast<size_t>(r * columns + c)];
    }
};

Tiles litTiles(const Image& image) {
    Tiles t;
    t.columns = (image.width + 7) / 8;
    t.rows = (image.height + 7) / 8;
    t.lit.assign(static_cast<size_t>(t.columns * t.rows), false);
    const uint32_t background = image.at(0, 0);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (channelDistance(image.at(x, y), background) > 64) {
                t.lit[static_cast<size_t>(y / 8 * t.columns + x / 8)] = true;
            }
        }
    }
    return t;
}

// Lit tiles of `a` with no lit tile of `b` at or next to them: something
// drawn in one picture and nowhere near in the other. Glyphs of two fonts
// end a few pixels apart, in the next tile at most.
size_t unmatched(const Tiles& a, const Tiles& b) {
    size_t n = 0;
    for (int r = 0; r < a.rows; ++r) {
        for (int c = 0; c < a.columns; ++c) {
            bool near = false;
            for (int dr = -1; dr <= 1; ++dr) {
                for (int dc = -1; dc <= 1; ++dc) {
                    near = near || b.at(c + dc, r + dr);
                }
            }
            n += a.at(c, r) && !near;
        }
    }
    return n;
}

class WorkbenchSides : public ::testing::TestWithParam<WorkbenchCase> {
  protected:
    std::string folder(const char* side) const {
        return std::string(CS_WINE_OUT) + "/" + side + "-wb-" + GetParam().name;
    }
};

TEST_P(WorkbenchSides, SameStatusMessagesLogAndPictures) {
    const WorkbenchCase& c = GetParam();
    const std::string wine = folder("wine"), linux = folder("linux");
    ASSERT_EQ(readText(linux + "/status.txt"), std::to_string(c.status) + "\n")
        << readText(linux + "/stderr.txt");
    EXPECT_EQ(readText(wine + "/status.txt"), readText(linux + "/status.txt"));
    EXPECT_EQ(asOnLinux(readText(wine + "/stdout.txt")), readText(linux + "/stdout.txt"));
    EXPECT_EQ(asOnLinux(readText(wine + "/stderr.txt")), readText(linux + "/stderr.txt"));
    if (c.scenario == nullptr) {
        return;
    }
    const auto winLog = readScenarioLog(wine + "/out/" + c.scenario);
    const auto linuxLog = readScenarioLog(linux + "/out/" + c.scenario);
    ASSERT_EQ(linuxLog->error, "");
    ASSERT_EQ(winLog->error, "");
    ASSERT_EQ(winLog->lines.size(), linuxLog->lines.size());
    int pictures = 0;
    size_t worstTiles = 0, worstOf = 0;
    for (size_t i = 0; i < linuxLog->lines.size(); ++i) {
        const json& l = linuxLog->lines[i];
        EXPECT_EQ(difference(asOnLinux(winLog->lines[i]), l, 0.0, ""), "") << "line " << i + 1;
        if (l.value("type", "") != "frame" || !l["image"].is_string()) {
            continue;
        }
        const Image* a = linuxLog->image(l);
        const Image* b = winLog->image(winLog->lines[i]);
        ASSERT_TRUE(a != nullptr && b != nullptr) << l["image"];
        ASSERT_EQ(a->width, b->width);
        ASSERT_EQ(a->height, b->height);
        const Tiles ta = litTiles(*a), tb = litTiles(*b);
        size_t lit = 0;
        for (size_t t = 0; t < ta.lit.size(); ++t) {
            lit += ta.lit[t] || tb.lit[t];
        }
        const size_t differ = unmatched(ta, tb) + unmatched(tb, ta);
        ASSERT_GT(lit, 0u) << l["image"];
        EXPECT_LE(differ * 50, lit) << l["image"] << ": " << differ << " of " << lit << " tiles";
        if (differ * worstOf >= worstTiles * lit) {
            worstTiles = differ;
            worstOf = lit;
        }
        ++pictures;
    }
    EXPECT_GT(pictures, 5);
    std::printf("%d pictures; most differing tiles: %zu of %zu lit\n", pictures, worstTiles,
                worstOf);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, WorkbenchSides, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<WorkbenchCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace cs::winetest
