// The frame: set-up, the two passes over the snapshot, the hover pick and
// the defences against geometry that cannot be drawn.
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "RenderTestSupport.h"
#include "render/TCASScreen.h"

namespace cs::test {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Logs what the frame asks of the symbology, drawing nothing itself.
class ProbeScreen : public GdiPlusRadar {
  public:
    struct Call {
        bool pad;
        int32_t id;
        float x;
        float y;
        int32_t flags;
        Argb colour;
        double heading;
        std::wstring tag;
        std::wstring label;
    };
    void drawSymbol(float x, float y, int32_t flags, const TrafficRecord* record, double heading,
                    Argb colour, const wchar_t* altitudeTag, const wchar_t* label) override {
        calls.push_back(
            {false, record->objectId, x, y, flags, colour, heading, altitudeTag, label});
    }
    void drawPad(float x, float y, int32_t flags, const TrafficRecord* record,
                 const wchar_t* altitudeTag, const wchar_t* label) override {
        calls.push_back({true, record->objectId, x, y, flags, 0, 0.0, altitudeTag, label});
    }
    std::vector<int32_t> sequence(bool pads) const {
        std::vector<int32_t> ids;
        for (const Call& c : calls) {
            if (c.pad == pads) {
                ids.push_back(c.id);
            }
        }
        return ids;
    }
    std::vector<Call> calls;
};

using FrameTest = RecorderTest;

TEST_F(FrameTest, ConstructionHasTheDocumentedDefaultsAndStartsTheBackendLast) {
    {
        ProbeScreen radar;
        EXPECT_EQ(std::wstring(radar.fontName()), L"Arial");
        EXPECT_EQ(radar.levelColour(0), 0xFFF0F0F0u);
        EXPECT_EQ(radar.levelColour(1), 0xFF00FF00u);
        EXPECT_EQ(radar.levelColour(2), 0xFFFFFF00u);
        EXPECT_EQ(radar.levelColour(3), 0xFFFF0000u);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(radar.levelDetail(i), 3);
        }
        EXPECT_EQ(radar.padSymbols(), 0);
        EXPECT_EQ(radar.maxDisplayed(), 100);
        EXPECT_DOUBLE_EQ(radar.nmPerUnit(), 0.3);
        EXPECT_FLOAT_EQ(radar.viewWidth(), 100.0f);
        EXPECT_FLOAT_EQ(radar.viewHeight(), 100.0f);
        EXPECT_DOUBLE_EQ(radar.hoverDistance(), -1.0);
        EXPECT_EQ(radar.hoverTarget().objectId, 0);
        ASSERT_NE(radar.trafficData(), nullptr);
        EXPECT_EQ(radar.advisoryRecord(), &radar.trafficData()->advisory());
        EXPECT_EQ(ops(recorder.calls), std::vector<DrawOp>{DrawOp::Startup});
    }
    ASSERT_EQ(recorder.calls.size(), 2u);
    EXPECT_EQ(recorder.calls[1].op, DrawOp::Shutdown);
    EXPECT_EQ(recorder.calls[1].token, 1u);
}

TEST_F(FrameTest, ANotStartedBackendIsNotShutDown) {
    recorder.startupToken = 0;
    { ProbeScreen radar; }
    EXPECT_EQ(recorder.count(DrawOp::Shutdown), 0u);
}

TEST_F(FrameTest, SetUpScalesFillsTheWholeAreaThenTranslates) {
    ProbeScreen radar;
    radar.setGeometry(200.0, 150.0, 2.0, 2.0, 50.0, 37.5, 15.0, 0, 1.0);
    recorder.clear();
    ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 1, 0.0));
    const std::vector<DrawOp> expected = {
        DrawOp::CreateBrush,
        DrawOp::CreateContext,
        DrawOp::ScaleWorldTransform,
        DrawOp::AntiAliasShapes,
        DrawOp::AntiAliasText,
        DrawOp::FillRectangle,
        DrawOp::TranslateWorldTransform,
        DrawOp::DeleteBrush,
    };
    EXPECT_EQ(ops(recorder.calls), expected);
    const RecordedCall& fill = recorder.calls[5];
    EXPECT_EQ(fill.colour, 0xFF000000u);
    EXPECT_FLOAT_EQ(fill.rect.x, 0.0f);
    EXPECT_FLOAT_EQ(fill.rect.y, 0.0f);
    EXPECT_FLOAT_EQ(fill.rect.width, 100.0f);
    EXPECT_FLOAT_EQ(fill.rect.height, 75.0f);
    EXPECT_FLOAT_EQ(fill.transform.scaleX, 2.0f);
    EXPECT_FLOAT_EQ(fill.transform.offsetX, 0.0f);
    // Device point = (world + translation) * scale: the origin lands on the
    // centre pixel.
    const RecordedCall& translate = recorder.calls[6];
    EXPECT_FLOAT_EQ(translate.points[0].x, 50.0f);
    EXPECT_FLOAT_EQ(translate.points[0].y, 37.5f);
    EXPECT_EQ(recorder.liveResources(), 0);
}

TEST_F(FrameTest, WithoutAntiAliasTheContextKeepsItsDefaults) {
    ProbeScreen radar;
    ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
    EXPECT_EQ(recorder.count(DrawOp::AntiAliasShapes), 0u);
    EXPECT_EQ(recorder.count(DrawOp::AntiAliasText), 0u);
}

TEST_F(FrameTest, TheContextIsRebuiltEveryFrameAndTheLastLivesWithTheRenderer) {
    {
        ProbeScreen radar;
        ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
        ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
        EXPECT_EQ(recorder.count(DrawOp::CreateContext), 2u);
        EXPECT_EQ(recorder.count(DrawOp::DeleteContext), 1u);
        EXPECT_EQ(recorder.liveContexts(), 1);
    }
    EXPECT_EQ(recorder.liveContexts(), 0);
}

TEST_F(FrameTest, NoDeviceContextMeansNoFrameAndKeepsTheLastPick) {
    ProbeScreen radar;
    exactGeometry(radar, 2.0);
    stage(radar, {ownAircraft(), aircraft(7, threat::TA, 0.0, 10.0)});
    radar.setMousePosition(0.5, 44.0 / 128.0);  // on (0, -20)
    ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
    ASSERT_EQ(radar.hoverTarget().objectId, 7);
    recorder.clear();
    EXPECT_FALSE(radar.drawFrame(nullptr, 0, 0.0));
    EXPECT_EQ(recorder.count(DrawOp::CreateContext), 0u);
    EXPECT_EQ(radar.hoverTarget().objectId, 7);
    EXPECT_DOUBLE_EQ(radar.hoverDistance(), 0.0);
    EXPECT_EQ(recorder.liveResources(), 0);
}

TEST_F(FrameTest, AContextHolderThatCannotBeMadeFailsThisFrameOnly) {
    ProbeScreen radar;
    recorder.failContexts = true;
    EXPECT_FALSE(radar.drawFrame(testDeviceContext(), 0, 0.0));
    EXPECT_EQ(recorder.count(DrawOp::FillRectangle), 0u);
    recorder.failContexts = false;
    EXPECT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
    EXPECT_EQ(recorder.count(DrawOp::FillRectangle), 1u);
}

TEST_F(FrameTest, ResourcesThatCannotBeMadeDrawNothingAndTheFrameGoesOn) {
    TCASScreen radar;
    exactGeometry(radar);
    radar.setDisplayOptions(nullptr, 31, 31, 31, 31, 1, 100);
    stage(radar, {ownAircraft(), aircraft(1, threat::RA, 0.0, 10.0, 0.0, 900.0, "X")});
    recorder.failResources = true;
    EXPECT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
    EXPECT_TRUE(recorder.drawingCalls().empty());
    EXPECT_EQ(recorder.liveResources(), 0);
}

TEST_F(FrameTest, GeometryFollowsTheHostScaleOrTheDevicePixels) {
    ProbeScreen radar;
    // 200 x 200 pixels at host scale 2, default centre, range 15.
    radar.setGeometry(200.0, 200.0, 2.0, 2.0, 50.0, 50.0, 15.0, 0, 4.0);
    EXPECT_FLOAT_EQ(radar.viewWidth(), 100.0f);
    EXPECT_FLOAT_EQ(radar.viewHeight(), 100.0f);
    EXPECT_FLOAT_EQ(radar.translateX(), 50.0f);
    EXPECT_FLOAT_EQ(radar.scaleX(), 2.0f);
    EXPECT_EQ(radar.nmPerUnit(), static_cast<double>(0.3f));
    EXPECT_FLOAT_EQ(radar.symbolSize(), 4.0f);
    radar.setGeometry(200.0, 200.0, 2.0, 2.0, 50.0, 50.0, 15.0, 1, 4.0);
    EXPECT_FLOAT_EQ(radar.viewWidth(), 200.0f);
    EXPECT_FLOAT_EQ(radar.translateX(), 100.0f);
    EXPECT_FLOAT_EQ(radar.translateY(), 100.0f);
    EXPECT_FLOAT_EQ(radar.scaleX(), 1.0f);
    EXPECT_FLOAT_EQ(radar.scaleY(), 1.0f);
    EXPECT_EQ(radar.nmPerUnit(), static_cast<double>(0.15f));
    EXPECT_FLOAT_EQ(radar.symbolSize(), 4.0f);
    // The shorter side spans twice the range.
    radar.setGeometry(300.0, 100.0, 1.0, 1.0, 150.0, 50.0, 10.0, 0, 1.0);
    EXPECT_EQ(radar.nmPerUnit(), static_cast<double>(0.2f));
}

TEST_F(FrameTest, AircraftArePlacedRelativeToTheHeadingUp) {
    struct Case {
        double bearing, distance, heading;
        float x, y;
    };
    const Case cases[] = {
        {90.0, 5.0, 90.0, 0.0f, -10.0f},  // straight ahead is up
        {0.0, 10.0, 0.0, 0.0f, -20.0f},   // north up
        {90.0, 4.0, 0.0, 8.0f, 0.0f},     // east is right
        {180.0, 3.0, 0.0, 0.0f, 6.0f},    // south is down
        {270.0, 2.0, 0.0, -4.0f, 0.0f},   // west is left
        {0.0, 2.0, 90.0, -4.0f, 0.0f},    // north seen heading east: left
        {45.0, 1.0, 0.0, 1.4142135f, -1.4142135f},
    };
    for (const Case& c : cases) {
        ProbeScreen radar;
        exactGeometry(radar);  // 0.5 nm per unit
        stage(radar, {ownAircraft(), aircraft(1, threat::Other, c.bearing, c.distance)});
        ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, c.heading));
        ASSERT_EQ(radar.calls.size(), 1u);
        EXPECT_NEAR(radar.calls[0].x, c.x, 1e-5) << c.bearing << "/" << c.heading;
        EXPECT_NEAR(radar.calls[0].y, c.y, 1e-5) << c.bearing << "/" << c.heading;
        EXPECT_EQ(radar.calls[0].heading, c.heading);
    }
}

TEST_F(FrameTest, BearingAlongTheHeadingIsStraightUp) {
    ProbeScreen radar;
    radar.setGeometry(100.0, 100.0, 1.0, 1.0, 50.0, 50.0, 5.0, 0, 1.0);  // 0.1 nm per unit
    stage(radar, {ownAircraft(), aircraft(1, threat::Other, 90.0, 5.0)});
    ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 90.0));
    ASSERT_EQ(radar.calls.size(), 1u);
    EXPECT_FLOAT_EQ(radar.calls[0].x, 0.0f);
    EXPECT_FLOAT_EQ(radar.calls[0].y, -50.0f);
}

TEST_F(FrameTest, EachLevelUsesItsColourAndWordAndHiddenOrUnknownLevelsAreSkipped) {
    ProbeScreen radar;
    exactGeometry(radar);
    radar.setLevelColours(255, 0x111111, 0x222222, 0x333333, 0x444444);
    radar.setDisplayOptions(nullptr, 1, 2, 4, 8, 0, 100);
    stage(radar,
          {ownAircraft(), aircraft(1, threat::Other, 0, 1), aircraft(2, threat::Proximity, 0, 1),
           aircraft(3, threat::TA, 0, 1), aircraft(4, threat::RA, 0, 1),
           aircraft(5, threat::Hidden, 0, 1), aircraft(6, 3, 0, 1), aircraft(7, -3, 0, 1)});
    ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
    ASSERT_EQ(radar.sequence(false), (std::vector<int32_t>{4, 3, 2, 1}));
    const Argb colours[] = {0xFF444444u, 0xFF333333u, 0xFF222222u, 0xFF111111u};
    const int32_t words[] = {8, 4, 2, 1};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(radar.calls[i].colour, colours[i]);
        EXPECT_EQ(radar.calls[i].flags, words[i]);
    }
}

TEST_F(FrameTest, TextsAreTheRoundedTagAndTheWidenedId) {
    ProbeScreen radar;
    exactGeometry(radar);
    stage(radar, {ownAircraft(), aircraft(1, threat::TA, 0, 1, 480.0, 0.0, "N12345"),
                  aircraft(2, threat::TA, 0, 1, -1234.0, 0.0, "ABCDEFGHIJ")});
    ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
    ASSERT_EQ(radar.calls.size(), 2u);
    EXPECT_EQ(radar.calls[0].tag, L"-12");
    EXPECT_EQ(radar.calls[0].label, L"ABCDEFGHIJ");
    EXPECT_EQ(radar.calls[1].tag, L"+05");
    EXPECT_EQ(radar.calls[1].label, L"N12345");
}

std::vector<TrafficRecord> fiveTA() {
    std::vector<TrafficRecord> records = {ownAircraft()};
    for (int32_t id = 1; id <= 5; ++id) {
        records.push_back(aircraft(id, threat::TA, 0.0, id));
    }
    return records;
}

TEST_F(FrameTest, PadsComeFirstThenSymbolsInReverseForTheFirstMaxDisplayed) {
    ProbeScreen radar;
    exactGeometry(radar);
    radar.setDisplayOptions(nullptr, 3, 3, 3, 3, 1, 3);
    stage(radar, fiveTA());
    ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
    ASSERT_EQ(radar.calls.size(), 6u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(radar.calls[i].pad);
    }
    EXPECT_EQ(radar.sequence(true), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(radar.sequence(false), (std::vector<int32_t>{3, 2, 1}));
    EXPECT_EQ(radar.displayedCount(), 3);
    EXPECT_EQ(radar.lastDisplayedIndex(), 3);
}

TEST_F(FrameTest, MaxDisplayedOfZeroOrLessDisplaysNothing) {
    for (int32_t limit : {0, -1, INT32_MIN}) {
        ProbeScreen radar;
        exactGeometry(radar);
        radar.setDisplayOptions(nullptr, 3, 3, 3, 3, 1, limit);
        stage(radar, fiveTA());
        ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
        EXPECT_TRUE(radar.calls.empty()) << limit;
    }
}

TEST_F(FrameTest, WithoutPadSymbolsNoPadIsDrawn) {
    ProbeScreen radar;
    exactGeometry(radar);
    radar.setDisplayOptions(nullptr, 3, 3, 3, 3, 0, 100);
    stage(radar, fiveTA());
    ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
    EXPECT_TRUE(radar.sequence(true).empty());
    EXPECT_EQ(radar.sequence(false), (std::vector<int32_t>{5, 4, 3, 2, 1}));
}

TEST_F(FrameTest, TheFirstRecordIsNeverDisplayed) {
    ProbeScreen radar;
    exactGeometry(radar);
    radar.setDisplayOptions(nullptr, 3, 3, 3, 3, 1, 100);
    stage(radar, {aircraft(9, threat::RA, 0.0, 1.0), aircraft(1, threat::TA, 0.0, 2.0)});
    ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
    EXPECT_EQ(radar.sequence(true), std::vector<int32_t>{1});
    EXPECT_EQ(radar.sequence(false), std::vector<int32_t>{1});
}

TEST_F(FrameTest, ASingleRecordSnapshotIsABlackFrameWithNoPick) {
    ProbeScreen radar;
    exactGeometry(radar);
    stage(radar, {aircraft(9, threat::RA, 0.0, 0.0)});
    radar.setMousePosition(0.5, 0.5);
    ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
    EXPECT_TRUE(radar.calls.empty());
    EXPECT_EQ(recorder.drawingCalls().size(), 1u);  // the background
    EXPECT_DOUBLE_EQ(radar.hoverDistance(), -1.0);
    EXPECT_EQ(radar.hoverTarget().objectId, 0);
}

TEST_F(FrameTest, WordZeroTakesNoPlaceWhileUnknownBitsTakeOneAndArePickable) {
    // Other has word 0, Proximity 0x20; with two places, the two Other
    // aircraft give way, and the 0x20 aircraft takes one place.
    ProbeScreen radar;
    exactGeometry(radar);
    radar.setDisplayOptions(nullptr, 0, 0x20, 3, 3, 1, 2);
    stage(radar, {ownAircraft(), aircraft(1, threat::Other, 0.0, 1.0),
                  aircraft(2, threat::Proximity, 0.0, 10.0), aircraft(3, threat::Other, 0.0, 2.0),
                  aircraft(4, threat::TA, 0.0, 3.0), aircraft(5, threat::TA, 0.0, 4.0)});
    radar.setMousePosition(0.5, 44.0 / 128.0);  // on aircraft 2 at (0, -20)
    ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
    EXPECT_EQ(radar.sequence(true), (std::vector<int32_t>{2, 4}));
    EXPECT_EQ(radar.sequence(false), (std::vector<int32_t>{4, 2}));
    EXPECT_EQ(radar.hoverTarget().objectId, 2);
}

TEST_F(FrameTest, TheCountersRestartEveryFrame) {
    ProbeScreen radar;
    exactGeometry(radar);
    radar.setDisplayOptions(nullptr, 3, 3, 3, 3, 0, 2);
    stage(radar, fiveTA());
    ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
    radar.calls.clear();
    ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
    EXPECT_EQ(radar.sequence(false), (std::vector<int32_t>{2, 1}));
}

TEST_F(FrameTest, AircraftBeyondTheRangeAreStillPaintedAndPickable) {
    ProbeScreen radar;
    exactGeometry(radar);
    stage(radar, {ownAircraft(), aircraft(1, threat::TA, 90.0, 64.0)});  // x = 128
    radar.setMousePosition(1.5, 0.5);  // (128, 0), outside the area
    ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
    ASSERT_EQ(radar.calls.size(), 1u);
    EXPECT_EQ(radar.hoverTarget().objectId, 1);
}

// ---- hover -----------------------------------------------------------------

struct HoverCase {
    const char* what;
    double mouseY;  // fraction; the aircraft is at (0, -20) = fraction 44/128
    bool hovered;
};

TEST_F(FrameTest, HoverRadiusIsThreeSymbolSizesInclusive) {
    const HoverCase cases[] = {
        {"on the centre", 44.0 / 128.0, true},
        {"exactly 3 s below", 47.0 / 128.0, true},
        {"exactly 3 s above", 41.0 / 128.0, true},
        {"a hair farther", 47.001 / 128.0, false},
        {"far away", 0.9, false},
    };
    for (const HoverCase& c : cases) {
        ProbeScreen radar;
        exactGeometry(radar, 1.0);
        stage(radar, {ownAircraft(), aircraft(5, threat::TA, 0.0, 10.0)});
        radar.setMousePosition(0.5, c.mouseY);
        ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
        if (c.hovered) {
            EXPECT_EQ(radar.hoverTarget().objectId, 5) << c.what;
            EXPECT_DOUBLE_EQ(radar.hoverDistance(), std::fabs(c.mouseY * 128.0 - 44.0)) << c.what;
        } else {
            EXPECT_EQ(radar.hoverTarget().objectId, 0) << c.what;
            EXPECT_DOUBLE_EQ(radar.hoverDistance(), -1.0) << c.what;
        }
    }
}

TEST_F(FrameTest, OfTwoSymbolsAtTheSameDistanceThePaintedFirstIsKept) {
    ProbeScreen radar;
    exactGeometry(radar, 2.0);
    // (0, -4) and (0, 4): both 4 units from the centre.
    stage(radar,
          {ownAircraft(), aircraft(1, threat::TA, 0.0, 2.0), aircraft(2, threat::TA, 180.0, 2.0)});
    radar.setMousePosition(0.5, 0.5);
    ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
    ASSERT_EQ(radar.sequence(false), (std::vector<int32_t>{2, 1}));
    EXPECT_EQ(radar.hoverTarget().objectId, 2);
    EXPECT_DOUBLE_EQ(radar.hoverDistance(), 4.0);
}

TEST_F(FrameTest, TheNearestPaintedSymbolWinsAndTheWholeRecordIsCopied) {
    ProbeScreen radar;
    exactGeometry(radar, 2.0);
    TrafficRecord near = aircraft(2, threat::RA, 0.0, 2.0, -250.0, 100.0, "NEAR");
    near.groundSpeed = 321.0;
    near.radAlt = 1500.0;
    stage(radar, {ownAircraft(), aircraft(1, threat::TA, 0.0, 3.0), near});
    radar.setMousePosition(0.5, 59.0 / 128.0);  // (0, -5): 1 from id 2, 1 from id 1 too
    ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
    // Both are 1 away; id 2 is painted first.
    EXPECT_EQ(radar.hoverTarget().objectId, 2);
    radar.setMousePosition(0.5, 60.0 / 128.0);  // (0, -4): on id 2
    ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
    const TrafficRecord& picked = radar.hoverTarget();
    EXPECT_EQ(picked.objectId, 2);
    EXPECT_STREQ(picked.atcId, "NEAR");
    EXPECT_EQ(picked.threatLevel, threat::RA);
    EXPECT_EQ(picked.altDiff, -250.0);
    EXPECT_EQ(picked.verticalSpeed, 100.0);
    EXPECT_EQ(picked.groundSpeed, 321.0);
    EXPECT_EQ(picked.radAlt, 1500.0);
    radar.setMousePosition(0.5, 58.0 / 128.0);  // (0, -6): on id 1
    ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
    EXPECT_EQ(radar.hoverTarget().objectId, 1);
}

TEST_F(FrameTest, UndisplayedAircraftAreNeverPicked) {
    ProbeScreen radar;
    exactGeometry(radar, 2.0);
    radar.setDisplayOptions(nullptr, 0, 3, 3, 3, 0, 1);
    // All at (0, -20): Other has word 0, Hidden is never drawn, and the
    // second TA lies beyond the single place.
    stage(radar, {ownAircraft(), aircraft(1, threat::Other, 0.0, 10.0),
                  aircraft(2, threat::Hidden, 0.0, 10.0), aircraft(3, threat::TA, 0.0, 20.0),
                  aircraft(4, threat::TA, 0.0, 10.0)});
    radar.setMousePosition(0.5, 44.0 / 128.0);
    ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
    EXPECT_EQ(radar.hoverTarget().objectId, 0);
    EXPECT_DOUBLE_EQ(radar.hoverDistance(), -1.0);
}

TEST_F(FrameTest, MouseInTheMiddleMeetsTheCentreWithOrWithoutFixedResolution) {
    for (int32_t fixed : {0, 1}) {
        ProbeScreen radar;
        // 201 x 201 pixels at host scale 2: centre (100 / 2) gauge units.
        radar.setGeometry(201.0, 201.0, 2.0, 2.0, 50.0, 50.0, 15.0, fixed, 1.0);
        stage(radar, {ownAircraft(), aircraft(1, threat::TA, 0.0, 0.0)});
        radar.setMousePosition(0.5, 0.5);
        ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
        EXPECT_EQ(radar.hoverTarget().objectId, 1);
        // Half a pixel: a quarter of a gauge unit at scale 2, or half a world unit.
        EXPECT_LE(radar.hoverDistance() * radar.scaleX(), 0.5 * std::sqrt(2.0) + 1e-9) << fixed;
    }
}

// ---- input that cannot be drawn --------------------------------------------

struct BadGeometry {
    const char* what;
    double width, height, scaleX, scaleY, centerX, centerY, range, symbolSize;
    bool frameDrawn;
};

TEST_F(FrameTest, GeometryThatCannotBeDrawnNeverReachesTheBackend) {
    const BadGeometry cases[] = {
        {"zero range", 128, 128, 1, 1, 64, 64, 0.0, 1.0, true},
        {"negative range mirrors", 128, 128, 1, 1, 64, 64, -32.0, 1.0, true},
        {"NaN range", 128, 128, 1, 1, 64, 64, kNaN, 1.0, true},
        {"infinite range", 128, 128, 1, 1, 64, 64, kInf, 1.0, true},
        {"empty width", 0, 128, 1, 1, 64, 64, 32.0, 1.0, false},
        {"empty area", 0, 0, 1, 1, 0, 0, 32.0, 1.0, false},
        {"negative area", -128, -128, 1, 1, 64, 64, 32.0, 1.0, false},
        {"zero host scale", 128, 128, 0, 0, 64, 64, 32.0, 1.0, false},
        {"NaN host scale", 128, 128, kNaN, 1, 64, 64, 32.0, 1.0, false},
        {"NaN centre", 128, 128, 1, 1, kNaN, 64, 32.0, 1.0, false},
        {"huge centre", 128, 128, 1, 1, 1e300, 64, 32.0, 1.0, false},
        {"huge area", 1e300, 1e300, 1, 1, 64, 64, 32.0, 1.0, false},
        {"huge symbol size", 128, 128, 1, 1, 64, 64, 32.0, 1e30, true},
        {"overflowing symbol size", 128, 128, 1, 1, 64, 64, 32.0, 1e300, true},
        {"NaN symbol size", 128, 128, 1, 1, 64, 64, 32.0, kNaN, true},
        {"tiny range", 128, 128, 1, 1, 64, 64, 1e-300, 1.0, true},
    };
    for (const BadGeometry& c : cases) {
        recorder.clear();
        TCASScreen radar;
        radar.setGeometry(c.width, c.height, c.scaleX, c.scaleY, c.centerX, c.centerY, c.range, 0,
                          c.symbolSize);
        radar.setDisplayOptions(nullptr, 31, 31, 31, 31, 1, 100);
        stage(radar, {ownAircraft(), aircraft(1, threat::RA, 0.0, 0.0, 100.0, 900.0, "A"),
                      aircraft(2, threat::TA, 45.0, 3.0, -300.0, -900.0, "B"),
                      aircraft(3, threat::Other, 200.0, 1000.0, 0.0, 0.0, "C")});
        radar.setMousePosition(0.5, 0.5);
        EXPECT_EQ(radar.drawFrame(testDeviceContext(), 1, 30.0), c.frameDrawn) << c.what;
        EXPECT_TRUE(allFinite(recorder)) << c.what;
        EXPECT_EQ(recorder.liveResources(), 0) << c.what;
        if (!c.frameDrawn) {
            EXPECT_TRUE(recorder.drawingCalls().empty()) << c.what;
            EXPECT_EQ(radar.hoverTarget().objectId, 0) << c.what;
        }
    }
}

struct BadRecord {
    const char* what;
    TrafficRecord record;
    double heading;
    bool drawn;
};

TEST_F(FrameTest, AnAircraftWithUnusableValuesIsSkippedAndTheOthersStillDrawn) {
    TrafficRecord nanTrack = aircraft(1, threat::TA, 0.0, 2.0);
    nanTrack.trackAngle = kNaN;
    nanTrack.groundSpeed = 200.0;
    TrafficRecord nanVs = aircraft(1, threat::TA, 0.0, 2.0);
    nanVs.verticalSpeed = kNaN;
    const BadRecord cases[] = {
        {"NaN bearing", aircraft(1, threat::TA, kNaN, 2.0), 0.0, false},
        {"infinite bearing", aircraft(1, threat::TA, kInf, 2.0), 0.0, false},
        {"NaN distance", aircraft(1, threat::TA, 10.0, kNaN), 0.0, false},
        {"infinite distance", aircraft(1, threat::TA, 10.0, kInf), 0.0, false},
        {"huge distance", aircraft(1, threat::TA, 10.0, 1e300), 0.0, false},
        {"NaN heading", aircraft(1, threat::TA, 10.0, 2.0), kNaN, false},
        {"NaN altitude difference", aircraft(1, threat::TA, 10.0, 2.0, kNaN), 0.0, false},
        {"infinite altitude difference", aircraft(1, threat::TA, 10.0, 2.0, kInf), 0.0, true},
        {"huge altitude difference", aircraft(1, threat::TA, 10.0, 2.0, -1e300), 0.0, true},
        {"NaN track", nanTrack, 0.0, true},
        {"NaN vertical speed", nanVs, 0.0, true},
        {"huge bearing", aircraft(1, threat::TA, 1e300, 2.0), 0.0, true},
    };
    for (const BadRecord& c : cases) {
        recorder.clear();
        ProbeScreen radar;
        exactGeometry(radar);
        stage(radar, {ownAircraft(), c.record, aircraft(2, threat::RA, 0.0, 1.0)});
        ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, c.heading)) << c.what;
        const std::vector<int32_t> expected =
            c.drawn ? std::vector<int32_t>{2, 1} : std::vector<int32_t>{2};
        if (std::isnan(c.heading)) {
            EXPECT_TRUE(radar.calls.empty()) << c.what;
        } else {
            EXPECT_EQ(radar.sequence(false), expected) << c.what;
        }
        for (const ProbeScreen::Call& call : radar.calls) {
            EXPECT_TRUE(std::isfinite(call.x) && std::isfinite(call.y)) << c.what;
        }
    }
}

TEST_F(FrameTest, TheFontNameIsWidenedAndALongOneCutTo255Characters) {
    ProbeScreen radar;
    radar.setDisplayOptions("Liberation Sans", 1, 1, 1, 1, 0, 1);
    EXPECT_EQ(std::wstring(radar.fontName()), L"Liberation Sans");
    radar.setDisplayOptions(nullptr, 1, 1, 1, 1, 0, 1);
    EXPECT_EQ(std::wstring(radar.fontName()), L"Liberation Sans");
    const std::string longName(300, 'F');
    radar.setDisplayOptions(longName.c_str(), 1, 1, 1, 1, 0, 1);
    EXPECT_EQ(std::wstring(radar.fontName()), std::wstring(255, L'F'));
    radar.setDisplayOptions("", 1, 1, 1, 1, 0, 1);
    EXPECT_EQ(std::wstring(radar.fontName()), L"");
}

TEST_F(FrameTest, NoTrafficYetGivesTheBackgroundOnly) {
    ProbeScreen radar;
    ASSERT_TRUE(radar.drawFrame(testDeviceContext(), 0, 0.0));
    EXPECT_EQ(recorder.drawingCalls().size(), 1u);
    EXPECT_TRUE(radar.calls.empty());
}

}  // namespace
}  // namespace cs::test
