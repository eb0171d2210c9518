// Designers' art in the workbench: a gauge set in a cabinet found through a
// panel.cfg and run with its bitmaps read from the cabinet, names in any
// case; gauges without a size sized by their placement or their images;
// damaged cabinets refused with the cabinet's name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/workbench/SharedWorkbench.h"
#include "testsupport/ArtPanel.h"
#include "testsupport/BmpWriter.h"
#include "testsupport/RecordingReplayer.h"
#include "testsupport/TestFolders.h"

namespace cs::workbench {
namespace {

namespace fs = std::filesystem;

fs::path scratch(const std::string& name) {
    return test::freshFolder(fs::path(CS_TEST_ARTIFACTS) / "workbench-art" / name);
}

std::string problems(const gauge::Diagnostics& d) {
    std::string all;
    for (const gauge::Problem& p : d.problems()) {
        all += p.text() + "\n";
    }
    return all;
}

// The picture's pixel as 0xRRGGBB.
uint32_t rgb(const sim::Image& image, int x, int y) {
    const uint8_t* p = &image.rgba[(static_cast<size_t>(y) * image.width + x) * 4];
    return uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
}

// One picture at 0 s of what is loaded.
ScenarioRun runOnce(Workbench& bench, WorkbenchOptions& options) {
    options.outDir.clear();
    options.keepImages = true;
    options.frameIntervalS = 10.0;
    preview::PreviewScenario scenario = emptySky("1 s");
    bench.resolve(scenario);
    gauge::Diagnostics runtime;
    return bench.run(scenario, options, runtime);
}

using GaugeArt = SharedWorkbench;

TEST_F(GaugeArt, PanelGaugeSetFromACabinet) {
    const fs::path dir = scratch("cab-panel");
    WorkbenchOptions options;
    options.panel = testsupport::writeArtPanel(dir);
    options.window = 0;
    gauge::Diagnostics d;
    ASSERT_TRUE(bench_->load(options, d)) << problems(d);
    EXPECT_EQ(d.problems().size(), 0u) << problems(d);
    const ScenarioRun run = runOnce(*bench_, options);

    ASSERT_EQ(run.frames.size(), 1u);
    const sim::Image& picture = run.frames[0].picture;
    ASSERT_EQ(picture.width, 200);
    ASSERT_EQ(picture.height, 100);
    EXPECT_EQ(rgb(picture, 2, 2), 0xFF0000u) << "DialFace.bmp, the background";
    EXPECT_EQ(rgb(picture, 5, 5), 0xFF0000u) << "the needle's black border is transparent";
    EXPECT_EQ(rgb(picture, 8, 8), 0x00FF00u) << "Art\\Needle.bmp at 5,5";
    EXPECT_EQ(rgb(picture, 110, 10), 0x0000FFu) << "the tall strip, placed at 100,0";
    EXPECT_EQ(rgb(picture, 110, 59), 0x0000FFu);
    EXPECT_NE(rgb(picture, 110, 61), 0x0000FFu) << "the strip's gauge is 60 high";
    ASSERT_EQ(run.texts.size(), 2u);
    EXPECT_EQ(run.texts[0].file, (dir / "ArtSet.CAB" / "Dial.xml").string());
    ASSERT_EQ(run.texts[0].texts.size(), 1u);
    EXPECT_EQ(run.texts[0].texts[0].text, "CAB");
    // Unpacked in memory: nothing beside the panel but what was there.
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) {
        ++entries;
    }
    EXPECT_EQ(entries, 2u);
}

// The simulator's order: a folder Folder/ before a cabinet Folder.cab.
TEST_F(GaugeArt, FolderBeforeCabinet) {
    const fs::path dir = scratch("folder-first");
    WorkbenchOptions options;
    options.panel = testsupport::writeArtPanel(dir);
    options.window = 0;
    fs::create_directories(dir / "artset");
    std::ofstream(dir / "artset" / "DIAL.XML") << "<Gauge Name=\"Dial\"><Size X=\"40\" Y=\"20\"/>"
                                                  "<Element><Text X=\"40\" Y=\"10\"><String>"
                                                  "FOLDER</String></Text></Element></Gauge>\n";
    gauge::Diagnostics d;
    ASSERT_TRUE(bench_->load(options, d)) << problems(d);
    const ScenarioRun run = runOnce(*bench_, options);
    ASSERT_EQ(run.texts.size(), 2u);
    EXPECT_EQ(run.texts[0].file, (dir / "artset" / "DIAL.XML").string());
    EXPECT_EQ(run.texts[0].texts.at(0).text, "FOLDER");
}

// A gauge without <Size> and background image: the size of its place in
// the panel.cfg, else of its images with a warning, else an error.
struct Unsized {
    const char* label;
    const char* gauge;      // the elements
    const char* placement;  // the panel.cfg line's place; null: the gauge alone
    int width, height;      // of its place; 0: refused
    const char* says;       // the one problem
};

class UnsizedGauges : public GaugeArt, public ::testing::WithParamInterface<Unsized> {};

TEST_P(UnsizedGauges, Sized) {
    const Unsized& c = GetParam();
    const fs::path dir = scratch(std::string("unsized-") + c.label);
    testsupport::BmpWriter ten;
    ten.width = ten.height = 10;
    ten.rows.assign(10, std::string(30, '\x40'));
    std::ofstream(dir / "Ten.bmp", std::ios::binary) << ten.build();
    std::ofstream(dir / "Loose.xml") << "<Gauge Name=\"Loose\">\n" << c.gauge << "</Gauge>\n";
    WorkbenchOptions options;
    if (c.placement != nullptr) {
        std::ofstream(dir / "panel.cfg")
            << "[Window00]\nsize_mm=300,200\ngauge00=Set!Loose, " << c.placement << "\n";
        options.panel = (dir / "panel.cfg").string();
        options.window = 0;
    } else {
        options.gauges = {(dir / "Loose.xml").string()};
    }
    gauge::Diagnostics d;
    const bool loaded = bench_->load(options, d);
    EXPECT_EQ(loaded, c.width > 0) << problems(d);
    ASSERT_EQ(d.problems().size(), c.says[0] == '\0' ? 0u : 1u) << problems(d);
    if (c.says[0] != '\0') {
        EXPECT_EQ(d.problems()[0].text(), (dir / "Loose.xml").string() + c.says);
    }
    if (loaded) {
        // The gauge's place: what its drawing is clipped to.
        auto recorder = std::make_unique<RecordingReplayer>();
        RecordingReplayer* pictures = recorder.get();
        bench_->useReplayer(std::move(recorder));
        runOnce(*bench_, options);
        ASSERT_EQ(pictures->lists.size(), 1u);
        ASSERT_FALSE(pictures->lists[0].commands.empty());
        const PixelRect& place = pictures->lists[0].commands[0].clip;
        EXPECT_DOUBLE_EQ(place.width, c.width);
        EXPECT_DOUBLE_EQ(place.height, c.height);
    }
}

const char* const kTwoImages =
    "<Element><Position X=\"30\" Y=\"5\"/><Image Name=\"ten.BMP\"/></Element>\n"
    "<Element><Image Name=\"TEN.bmp\"/></Element>\n";

INSTANTIATE_TEST_SUITE_P(
    Art, UnsizedGauges,
    ::testing::Values(
        Unsized{"placed_with_a_size", kTwoImages, "10, 10, 64, 32", 64, 32, ""},
        Unsized{"alone_sized_by_its_images", kTwoImages, nullptr, 40, 15,
                ":1: warning: Gauge: no <Size> and no background <Image>: sized 40 x 15 by the "
                "extent of its images"},
        Unsized{"placed_without_a_size", kTwoImages, "10, 10", 40, 15,
                ":1: warning: Gauge: no <Size> and no background <Image>: sized 40 x 15 by the "
                "extent of its images"},
        Unsized{"nothing_to_size_it_by", "<Element><Position X=\"1\" Y=\"1\"/></Element>\n",
                "10, 10", 0, 0,
                ":1: Gauge: no <Size>, no background <Image>, no width and height in the "
                "panel.cfg and no images: the gauge has no size"}),
    [](const auto& info) { return std::string(info.param.label); });

// A damaged cabinet is named with what is wrong; a cabinet without the gauge
// is one more place looked in.
TEST_F(GaugeArt, CabinetsThatDoNotServe) {
    const fs::path dir = scratch("bad-cab");
    WorkbenchOptions options;
    options.panel = testsupport::writeArtPanel(dir);
    options.window = 0;
    std::string cab = testsupport::artPanelCabinet();
    cab[cab.size() - 3] ^= 0x10;
    std::ofstream(dir / "ArtSet.CAB", std::ios::binary) << cab;
    gauge::Diagnostics d;
    EXPECT_FALSE(bench_->load(options, d));
    ASSERT_EQ(d.problems().size(), 1u) << problems(d);
    EXPECT_EQ(d.problems()[0].text(), (dir / "ArtSet.CAB").string() +
                                          ": damaged cabinet: a data block's checksum does not "
                                          "match");

    std::ofstream(dir / "panel.cfg") << "[Window00]\nsize_mm=200,100\ngauge00=Other!Dial, 0, 0\n"
                                        "gauge01=ArtSet!Missing, 0, 0\n";
    std::ofstream(dir / "ArtSet.CAB", std::ios::binary) << testsupport::artPanelCabinet();
    gauge::Diagnostics missing;
    EXPECT_FALSE(bench_->load(options, missing));
    ASSERT_EQ(missing.problems().size(), 2u) << problems(missing);
    EXPECT_NE(missing.problems()[1].text().find("ArtSet!Missing: no gauge file; looked for " +
                                                (dir / "ArtSet" / "Missing.xml").string() + ", " +
                                                (dir / "ArtSet.CAB" / "Missing.xml").string() +
                                                ", " + (dir / "Missing.xml").string()),
              std::string::npos)
        << problems(missing);
}

}  // namespace
}  // namespace cs::workbench
