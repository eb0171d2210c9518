// Frames rendered through the Cairo backend into image surfaces: the level
// colours land at the symbol centres on black, and a few frames are kept as
// PNG files for a look by eye.
#include <cairo.h>

#include <filesystem>
#include <string>
#include <vector>

#include "RenderTestSupport.h"
#include "render/RadarScreen.h"
#include "render/TCASScreen.h"
#include "render/backends/CairoBackend.h"

namespace cs::test {
namespace {

constexpr int kSize = 256;

class CairoRenderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSize, kSize);
        ASSERT_EQ(cairo_surface_status(surface), CAIRO_STATUS_SUCCESS);
    }
    void TearDown() override { cairo_surface_destroy(surface); }

    uint32_t pixel(int x, int y) {
        cairo_surface_flush(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        return *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
    }
    // Device pixel of a world point on the 256 x 256 display centred at 128.
    uint32_t pixelAtWorld(float x, float y) {
        return pixel(static_cast<int>(128.0f + x), static_cast<int>(128.0f + y));
    }
    int litPixels(int x0, int y0, int x1, int y1) {
        int lit = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                lit += pixel(x, y) != 0xFF000000u ? 1 : 0;
            }
        }
        return lit;
    }
    void save(const char* name) {
        std::filesystem::create_directories(CS_TEST_ARTIFACTS);
        const std::string path = std::string(CS_TEST_ARTIFACTS) + "/" + name;
        EXPECT_EQ(cairo_surface_write_to_png(surface, path.c_str()), CAIRO_STATUS_SUCCESS);
    }

    ScopedQuietHost host;
    cairo_surface_t* surface = nullptr;
};

// 256 px square, centre (128, 128), range 8 nm: 1/16 nm per pixel.
void displayGeometry(GdiPlusRadar& radar, double symbolSize) {
    radar.setGeometry(kSize, kSize, 1.0, 1.0, 128.0, 128.0, 8.0, 0, symbolSize);
}

// Four aircraft 5 nm out on the diagonals (80 px from the centre), one per level.
std::vector<TrafficRecord> fourLevels() {
    TrafficRecord other = aircraft(1, threat::Other, 315.0, 5.0, 500.0, 1500.0, "OTH1");
    TrafficRecord proximity = aircraft(2, threat::Proximity, 45.0, 5.0, -1200.0, -1500.0, "PRX2");
    TrafficRecord ta = aircraft(3, threat::TA, 225.0, 5.0, 300.0, 0.0, "TA3");
    TrafficRecord ra = aircraft(4, threat::RA, 135.0, 5.0, -300.0, 800.0, "RA4");
    other.groundSpeed = proximity.groundSpeed = ta.groundSpeed = ra.groundSpeed = 200.0;
    other.trackAngle = 90.0;
    proximity.trackAngle = 225.0;
    ta.trackAngle = 0.0;
    ra.trackAngle = 315.0;
    return {ownAircraft(), other, proximity, ta, ra};
}

const float kDiag = 56.568542f;  // 80 / sqrt(2)

TEST_F(CairoRenderTest, FilledSymbolsShowTheLevelColoursAtTheirCentresOnBlack) {
    for (int kind = 0; kind < 2; ++kind) {
        TCASScreen tcas;
        RadarScreen radarScreen;
        GdiPlusRadar& radar = kind == 0 ? static_cast<GdiPlusRadar&>(tcas) : radarScreen;
        displayGeometry(radar, 3.0);
        radar.setLevelColours(255, 0x3050F0, 0x00FF00, 0xFFFF00, 0xFF0000);
        radar.setDisplayOptions(nullptr, 0x0C, 0x0C, 0x0C, 0x0C, 0, 100);
        ASSERT_TRUE(radar.trafficData()->setSnapshot(fourLevels().data(), 5));
        ASSERT_TRUE(radar.drawFrame(surface, 0, 0.0));
        EXPECT_EQ(pixelAtWorld(-kDiag, -kDiag), 0xFF3050F0u) << kind;  // Other, NW
        EXPECT_EQ(pixelAtWorld(kDiag, -kDiag), 0xFF00FF00u) << kind;   // Proximity, NE
        EXPECT_EQ(pixelAtWorld(-kDiag, kDiag), 0xFFFFFF00u) << kind;   // TA, SW
        EXPECT_EQ(pixelAtWorld(kDiag, kDiag), 0xFFFF0000u) << kind;    // RA, SE
        EXPECT_EQ(pixel(128, 128), 0xFF000000u);                       // no own-aircraft symbol
        EXPECT_EQ(pixel(2, 2), 0xFF000000u);
        EXPECT_EQ(pixel(253, 253), 0xFF000000u);
        // The tag of the Other aircraft (above it) has ink.
        EXPECT_GT(litPixels(128 - 57 - 10, 128 - 57 - 17, 128 - 57 + 10, 128 - 57 - 6), 5);
    }
}

TEST_F(CairoRenderTest, BrightnessDimsWhatIsPainted) {
    RadarScreen radar;
    displayGeometry(radar, 3.0);
    radar.setLevelColours(128, 0xF0F0F0, 0x00FF00, 0xFFFF00, 0xFF0000);
    radar.setDisplayOptions(nullptr, 0x04, 0x04, 0x04, 0x04, 0, 100);
    ASSERT_TRUE(radar.trafficData()->setSnapshot(fourLevels().data(), 5));
    ASSERT_TRUE(radar.drawFrame(surface, 0, 0.0));
    EXPECT_EQ(pixelAtWorld(-kDiag, kDiag), 0xFF808000u);
}

TEST_F(CairoRenderTest, AFrameBlackensTheWholeAreaAndAZeroRangeDrawsNoTraffic) {
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_destroy(cr);
    TCASScreen radar;
    radar.setGeometry(kSize, kSize, 1.0, 1.0, 128.0, 128.0, 0.0, 0, 3.0);
    radar.setDisplayOptions(nullptr, 31, 31, 31, 31, 1, 100);
    ASSERT_TRUE(radar.trafficData()->setSnapshot(fourLevels().data(), 5));
    ASSERT_TRUE(radar.drawFrame(surface, 1, 0.0));
    EXPECT_EQ(litPixels(0, 0, kSize, kSize), 0);
}

TEST_F(CairoRenderTest, HostScaleMapsGaugeUnitsToPixels) {
    // 256 px at host scale 2: 128 gauge units, centre (64, 64).
    TCASScreen radar;
    radar.setGeometry(kSize, kSize, 2.0, 2.0, 64.0, 64.0, 8.0, 0, 1.5);
    radar.setLevelColours(255, 0x3050F0, 0x00FF00, 0xFFFF00, 0xFF0000);
    radar.setDisplayOptions(nullptr, 0x04, 0x04, 0x04, 0x04, 0, 100);
    ASSERT_TRUE(radar.trafficData()->setSnapshot(fourLevels().data(), 5));
    ASSERT_TRUE(radar.drawFrame(surface, 0, 0.0));
    EXPECT_EQ(pixelAtWorld(kDiag, kDiag), 0xFFFF0000u);
    EXPECT_EQ(pixelAtWorld(-kDiag, -kDiag), 0xFF3050F0u);
}

TEST_F(CairoRenderTest, AMissingFontFamilyFallsBackToSansSerif) {
    TCASScreen radar;
    displayGeometry(radar, 4.0);
    radar.setDisplayOptions("No Such Family At All", 0x08, 0x08, 0x08, 0x08, 0, 100);
    ASSERT_TRUE(radar.trafficData()->setSnapshot(fourLevels().data(), 5));
    ASSERT_TRUE(radar.drawFrame(surface, 1, 0.0));
    EXPECT_GT(litPixels(0, 0, kSize, kSize), 50);
}

// Frames kept for inspection.
TEST_F(CairoRenderTest, WritesSampleFrames) {
    {
        TCASScreen tcas;
        displayGeometry(tcas, 4.0);
        tcas.setLevelColours(255, 0xF0F0F0, 0xF0F0F0, 0xFFFF00, 0xFF0000);
        tcas.setDisplayOptions(nullptr, 10, 14, 14, 14, 0, 100);  // the TCAS defaults
        ASSERT_TRUE(tcas.trafficData()->setSnapshot(fourLevels().data(), 5));
        ASSERT_TRUE(tcas.drawFrame(surface, 1, 0.0));
        save("tcas_defaults.png");
        displayGeometry(tcas, 4.0);
        tcas.setDisplayOptions(nullptr, 31, 31, 31, 31, 1, 100);  // everything, padded
        ASSERT_TRUE(tcas.drawFrame(surface, 1, 0.0));
        save("tcas_all_padded.png");
    }
    {
        RadarScreen radar;
        displayGeometry(radar, 4.0);
        radar.setLevelColours(255, 0xF0F0F0, 0x00FF00, 0xFFFF00, 0xFF0000);
        radar.setDisplayOptions(nullptr, 10, 10, 10, 10, 0, 100);  // the radar defaults
        ASSERT_TRUE(radar.trafficData()->setSnapshot(fourLevels().data(), 5));
        ASSERT_TRUE(radar.drawFrame(surface, 1, 0.0));
        save("radar_defaults.png");
        radar.setDisplayOptions(nullptr, 0x1A, 0x1A, 0x1A, 0x1E, 1, 100);
        ASSERT_TRUE(radar.drawFrame(surface, 0, 30.0));  // heading 30, no anti-aliasing
        save("radar_labels_heading30.png");
    }
}

}  // namespace
}  // namespace cs::test
