// Symbol geometry of both displays, recorded in world units. One aircraft is
// placed at (0, -20) with symbol size s = 2, on a display centred at (64, 64).
#include <limits>
#include <string>
#include <vector>

#include "RenderTestSupport.h"
#include "render/RadarScreen.h"
#include "render/TCASScreen.h"

namespace cs::test {
namespace {

constexpr Argb kOther = 0xFF010203u;
constexpr Argb kProximity = 0xFF040506u;
constexpr Argb kTA = 0xFF070809u;
constexpr Argb kRA = 0xFF0A0B0Cu;
constexpr Argb kPad = 0xFF101010u;

struct Expect {
    DrawOp op;
    float a, b, c, d;  // rect (x, y, w, h), line (x1, y1, x2, y2) or text origin (x, y)
    const wchar_t* text = nullptr;
};

void checkCalls(const std::vector<RecordedCall>& calls, const std::vector<Expect>& expected,
                const char* what) {
    ASSERT_EQ(ops(calls).size(), expected.size()) << what;
    for (size_t i = 0; i < expected.size(); ++i) {
        const RecordedCall& c = calls[i];
        const Expect& e = expected[i];
        ASSERT_EQ(c.op, e.op) << what << " call " << i << " is " << drawOpName(c.op);
        switch (e.op) {
            case DrawOp::FillRectangle:
            case DrawOp::FillEllipse:
            case DrawOp::DrawRectangle:
            case DrawOp::DrawEllipse:
                EXPECT_FLOAT_EQ(c.rect.x, e.a) << what << " call " << i;
                EXPECT_FLOAT_EQ(c.rect.y, e.b) << what << " call " << i;
                EXPECT_FLOAT_EQ(c.rect.width, e.c) << what << " call " << i;
                EXPECT_FLOAT_EQ(c.rect.height, e.d) << what << " call " << i;
                break;
            case DrawOp::DrawLine:
                // Ends computed through sine and cosine may miss 0 by 1e-15.
                EXPECT_NEAR(c.points[0].x, e.a, 1e-5) << what << " call " << i;
                EXPECT_NEAR(c.points[0].y, e.b, 1e-5) << what << " call " << i;
                EXPECT_NEAR(c.points[1].x, e.c, 1e-5) << what << " call " << i;
                EXPECT_NEAR(c.points[1].y, e.d, 1e-5) << what << " call " << i;
                break;
            case DrawOp::DrawString:
            case DrawOp::MeasureString:
                EXPECT_FLOAT_EQ(c.points[0].x, e.a) << what << " call " << i;
                EXPECT_FLOAT_EQ(c.points[0].y, e.b) << what << " call " << i;
                EXPECT_EQ(c.text, e.text) << what << " call " << i;
                EXPECT_TRUE(c.centred) << what << " call " << i;
                EXPECT_EQ(c.fontFamily, L"Arial") << what;
                EXPECT_FLOAT_EQ(c.fontSize, 4.5f) << what;  // 2.25 s points
                break;
            default:
                break;
        }
    }
}

void checkDiamond(const RecordedCall& c) {
    ASSERT_EQ(c.pointCount, 4);
    const PointF corners[4] = {{0.0f, -23.0f}, {3.0f, -20.0f}, {0.0f, -17.0f}, {-3.0f, -20.0f}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(c.points[i].x, corners[i].x) << i;
        EXPECT_FLOAT_EQ(c.points[i].y, corners[i].y) << i;
    }
}

class SymbologyTest : public RecorderTest {
  protected:
    // Paints one aircraft and returns what it drew (the background removed).
    template <typename Screen>
    std::vector<RecordedCall> paint(TrafficRecord record, int32_t word, double heading = 0.0,
                                    int32_t pads = 0) {
        recorder.clear();
        Screen screen;
        exactGeometry(screen, 2.0);
        screen.setLevelColours(255, 0x010203, 0x040506, 0x070809, 0x0A0B0C);
        screen.setDisplayOptions(nullptr, word, word, word, word, pads, 100);
        stage(screen, {ownAircraft(), record});
        EXPECT_TRUE(screen.drawFrame(testDeviceContext(), 0, heading));
        EXPECT_EQ(recorder.liveResources(), 0);
        EXPECT_TRUE(allFinite(recorder));
        std::vector<RecordedCall> calls = recorder.drawingCalls();
        EXPECT_FALSE(calls.empty());
        if (!calls.empty()) {
            calls.erase(calls.begin());
        }
        return calls;
    }
    // The record at (0, -20) for heading 0.
    static TrafficRecord at(ThreatLevel level, double altDiff = 500.0, double vs = 0.0,
                            const char* id = "AB") {
        return aircraft(1, level, 0.0, 10.0, altDiff, vs, id);
    }
};

TEST_F(SymbologyTest, TCASDrawsEveryElementOfEachLevelInOrder) {
    struct LevelCase {
        ThreatLevel level;
        Argb colour;
        DrawOp outline;
        DrawOp fill;
    };
    const LevelCase cases[] = {
        {threat::Other, kOther, DrawOp::DrawPolygon, DrawOp::FillPolygon},
        {threat::Proximity, kProximity, DrawOp::DrawPolygon, DrawOp::FillPolygon},
        {threat::TA, kTA, DrawOp::DrawEllipse, DrawOp::FillEllipse},
        {threat::RA, kRA, DrawOp::DrawRectangle, DrawOp::FillRectangle},
    };
    for (const LevelCase& lc : cases) {
        const auto calls = paint<TCASScreen>(at(lc.level, 500.0, 600.0), 0x1F);
        const std::vector<Expect> expected = {
            {DrawOp::FillEllipse, -1.0f, -21.0f, 2.0f, 2.0f},  // the dot, diameter s
            {lc.outline, -3.0f, -23.0f, 6.0f, 6.0f},
            {lc.fill, -3.0f, -23.0f, 6.0f, 6.0f},
            {DrawOp::DrawString, 0.0f, -31.0f, 0, 0, L"+05"},  // 5.5 s above
            {DrawOp::DrawLine, 6.0f, -17.0f, 6.0f, -23.0f},    // shaft at x + 3 s
            {DrawOp::DrawLine, 6.0f, -23.0f, 4.5f, -21.5f},
            {DrawOp::DrawLine, 6.0f, -23.0f, 7.5f, -21.5f},
            {DrawOp::DrawString, 0.0f, -16.0f, 0, 0, L"AB"},  // 2 s below
        };
        checkCalls(calls, expected, "tcas level");
        for (const RecordedCall& c : calls) {
            EXPECT_EQ(c.colour, lc.colour);
            if (c.op == DrawOp::DrawLine || c.op == DrawOp::DrawPolygon ||
                c.op == DrawOp::DrawEllipse || c.op == DrawOp::DrawRectangle) {
                EXPECT_FLOAT_EQ(c.penWidth, 1.0f);  // 0.5 s
            }
            EXPECT_FLOAT_EQ(c.transform.offsetX, 64.0f);
            EXPECT_FLOAT_EQ(c.transform.offsetY, 64.0f);
        }
        if (lc.outline == DrawOp::DrawPolygon) {
            checkDiamond(calls[1]);
            checkDiamond(calls[2]);
        }
    }
}

TEST_F(SymbologyTest, TCASTextsSwapSidesForTrafficBelow) {
    struct Case {
        double altDiff;
        const wchar_t* tag;
        float tagY;
        float labelY;
    };
    const Case cases[] = {
        {-40.0, L"+00", -31.0f, -16.0f},  // level: tag above, label below
        {-60.0, L"-01", -16.0f, -31.0f},  // below: tag below, label above
        {1200.0, L"+12", -31.0f, -16.0f},
        {-1234.0, L"-12", -16.0f, -31.0f},
    };
    for (const Case& c : cases) {
        const auto calls = paint<TCASScreen>(at(threat::TA, c.altDiff), 0x18);
        const std::vector<Expect> expected = {
            {DrawOp::DrawString, 0.0f, c.tagY, 0, 0, c.tag},
            {DrawOp::DrawString, 0.0f, c.labelY, 0, 0, L"AB"},
        };
        checkCalls(calls, expected, "tag side");
    }
}

TEST_F(SymbologyTest, TCASTrendArrowNeedsMoreThan500FeetPerMinute) {
    struct Case {
        double vs;
        int lines;
        float barbY;  // end the barbs start from
        float barbTipY;
    };
    const Case cases[] = {
        {500.0, 0, 0, 0},           {-500.0, 0, 0, 0},           {0.0, 0, 0, 0},
        {501.0, 3, -23.0f, -21.5f}, {-501.0, 3, -17.0f, -18.5f}, {6000.0, 3, -23.0f, -21.5f},
    };
    for (const Case& c : cases) {
        const auto calls = paint<TCASScreen>(at(threat::RA, 500.0, c.vs), 0x08);
        ASSERT_EQ(calls.size(), static_cast<size_t>(1 + c.lines)) << c.vs;
        EXPECT_EQ(calls[0].op, DrawOp::DrawString);
        if (c.lines == 0) {
            continue;
        }
        const std::vector<Expect> expected = {
            {DrawOp::DrawString, 0.0f, -31.0f, 0, 0, L"+05"},
            {DrawOp::DrawLine, 6.0f, -17.0f, 6.0f, -23.0f},
            {DrawOp::DrawLine, 6.0f, c.barbY, 4.5f, c.barbTipY},
            {DrawOp::DrawLine, 6.0f, c.barbY, 7.5f, c.barbTipY},
        };
        checkCalls(calls, expected, "trend");
    }
}

TEST_F(SymbologyTest, SingleElementWordsDrawOnlyTheirElement) {
    struct Case {
        int32_t word;
        std::vector<DrawOp> tcas;
        std::vector<DrawOp> radar;
    };
    const Case cases[] = {
        {0x01, {DrawOp::FillEllipse}, {DrawOp::FillEllipse}},
        {0x02, {DrawOp::DrawEllipse}, {DrawOp::DrawEllipse, DrawOp::DrawLine}},
        {0x04, {DrawOp::FillEllipse}, {DrawOp::FillEllipse}},
        {0x08,
         {DrawOp::DrawString, DrawOp::DrawLine, DrawOp::DrawLine, DrawOp::DrawLine},
         {DrawOp::DrawString}},
        {0x10, {DrawOp::DrawString}, {DrawOp::DrawString}},
        {0x20, {}, {}},
        {static_cast<int32_t>(0xFFFFFFE0u), {}, {}},
    };
    for (const Case& c : cases) {
        TrafficRecord r = at(threat::TA, 500.0, 900.0);
        r.groundSpeed = 150.0;
        EXPECT_EQ(ops(paint<TCASScreen>(r, c.word)), c.tcas) << c.word;
        EXPECT_EQ(ops(paint<RadarScreen>(r, c.word)), c.radar) << c.word;
    }
}

TEST_F(SymbologyTest, TCASPadCoversSymbolTextsAndArrow) {
    const auto calls = paint<TCASScreen>(at(threat::TA, 500.0, 600.0, "AB"), 0x1E, 0.0, 1);
    const RectF tag = TestDrawingBackend::measureBox(L"+05", 4.5f, PointF{0.0f, -31.0f});
    const RectF label = TestDrawingBackend::measureBox(L"AB", 4.5f, PointF{0.0f, -16.0f});
    // Pads first, then the symbol (outline, fill, tag, 3 lines, label).
    ASSERT_EQ(calls.size(), 4u + 7u);
    const std::vector<Expect> pads = {
        {DrawOp::FillRectangle, -4.25f, -24.25f, 8.5f, 8.5f},
        {DrawOp::FillRectangle, tag.x, tag.y, tag.width, tag.height},
        {DrawOp::FillRectangle, 3.875f, -24.25f, 4.25f, 8.5f},  // behind the arrow
        {DrawOp::FillRectangle, label.x, label.y, label.width, label.height},
    };
    checkCalls({calls.begin(), calls.begin() + 4}, pads, "tcas pad");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(calls[i].colour, kPad);
    }
    // The measured boxes come from measuring the texts at their origins.
    std::vector<RecordedCall> measured;
    for (const RecordedCall& c : recorder.calls) {
        if (c.op == DrawOp::MeasureString) {
            measured.push_back(c);
        }
    }
    checkCalls(measured,
               {{DrawOp::MeasureString, 0.0f, -31.0f, 0, 0, L"+05"},
                {DrawOp::MeasureString, 0.0f, -16.0f, 0, 0, L"AB"}},
               "tcas measures");
}

TEST_F(SymbologyTest, TCASPadFollowsTheTextSidesAndSkipsTheArrowPadWhenLevel) {
    const auto calls = paint<TCASScreen>(at(threat::RA, -60.0, 100.0, "AB"), 0x18, 0.0, 1);
    const RectF tag = TestDrawingBackend::measureBox(L"-01", 4.5f, PointF{0.0f, -16.0f});
    const RectF label = TestDrawingBackend::measureBox(L"AB", 4.5f, PointF{0.0f, -31.0f});
    const std::vector<Expect> pads = {
        {DrawOp::FillRectangle, tag.x, tag.y, tag.width, tag.height},
        {DrawOp::FillRectangle, label.x, label.y, label.width, label.height},
    };
    checkCalls({calls.begin(), calls.begin() + 2}, pads, "tcas pad below");
}

TEST_F(SymbologyTest, ADotAloneGetsNoPad) {
    const auto tcas = paint<TCASScreen>(at(threat::TA), 0x01, 0.0, 1);
    EXPECT_EQ(ops(tcas), std::vector<DrawOp>{DrawOp::FillEllipse});
    const auto radar = paint<RadarScreen>(at(threat::TA), 0x01, 0.0, 1);
    EXPECT_EQ(ops(radar), std::vector<DrawOp>{DrawOp::FillEllipse});
}

TEST_F(SymbologyTest, RadarDrawsACircleWithTrackVectorTagAboveAndLabelBelow) {
    // Heading 90 with the aircraft due east: it lies straight up at (0, -20).
    TrafficRecord r = aircraft(1, threat::Proximity, 90.0, 10.0, -1200.0, 0.0, "AB");
    r.groundSpeed = 250.0;
    r.trackAngle = 90.0;
    const auto calls = paint<RadarScreen>(r, 0x1F, 90.0);
    const std::vector<Expect> expected = {
        {DrawOp::FillEllipse, -1.0f, -21.0f, 2.0f, 2.0f},
        {DrawOp::DrawEllipse, -3.0f, -23.0f, 6.0f, 6.0f},
        {DrawOp::DrawLine, 0.0f, -28.0f, 0.0f, -20.0f},  // 4 s, straight up, ends at the aircraft
        {DrawOp::FillEllipse, -3.0f, -23.0f, 6.0f, 6.0f},
        {DrawOp::DrawString, 0.0f, -31.0f, 0, 0, L"-12"},  // above, although below
        {DrawOp::DrawString, 0.0f, -16.0f, 0, 0, L"AB"},
    };
    checkCalls(calls, expected, "radar");
    for (const RecordedCall& c : calls) {
        EXPECT_EQ(c.colour, kProximity);
    }
    EXPECT_FLOAT_EQ(calls[1].penWidth, 1.0f);
}

TEST_F(SymbologyTest, RadarTrackVectorPointsAlongTheTrackSeenFromTheHeading) {
    struct Case {
        double track, heading, groundSpeed;
        bool drawn;
        float tipX, tipY;
    };
    // Aircraft at (0, -20) whatever the heading: bearing equals heading.
    const Case cases[] = {
        {90.0, 90.0, 250.0, true, 0.0f, -28.0f},
        {180.0, 90.0, 250.0, true, 8.0f, -20.0f},
        {0.0, 90.0, 250.0, true, -8.0f, -20.0f},
        {270.0, 0.0, 0.001, true, -8.0f, -20.0f},  // any positive speed: full length
        {180.0, 0.0, 1e9, true, 0.0f, -12.0f},
        {90.0, 90.0, 0.0, false, 0, 0},
        {90.0, 90.0, -5.0, false, 0, 0},
        {std::numeric_limits<double>::quiet_NaN(), 90.0, 250.0, false, 0, 0},
        {std::numeric_limits<double>::infinity(), 90.0, 250.0, false, 0, 0},
    };
    for (const Case& c : cases) {
        TrafficRecord r = aircraft(1, threat::TA, c.heading, 10.0);
        r.trackAngle = c.track;
        r.groundSpeed = c.groundSpeed;
        const auto calls = paint<RadarScreen>(r, 0x02, c.heading);
        if (!c.drawn) {
            EXPECT_EQ(ops(calls), std::vector<DrawOp>{DrawOp::DrawEllipse}) << c.track;
            continue;
        }
        checkCalls(calls,
                   {{DrawOp::DrawEllipse, -3.0f, -23.0f, 6.0f, 6.0f},
                    {DrawOp::DrawLine, c.tipX, c.tipY, 0.0f, -20.0f}},
                   "track vector");
    }
}

TEST_F(SymbologyTest, RadarPadMeasuresBothTextsButFillsOnlyTheShownOnes) {
    const auto calls = paint<RadarScreen>(at(threat::TA, -1200.0, 0.0, "AB"), 0x12, 0.0, 1);
    const RectF label = TestDrawingBackend::measureBox(L"AB", 4.5f, PointF{0.0f, -16.0f});
    const std::vector<Expect> pads = {
        {DrawOp::FillRectangle, -4.25f, -24.25f, 8.5f, 8.5f},
        {DrawOp::FillRectangle, label.x, label.y, label.width, label.height},
    };
    checkCalls({calls.begin(), calls.begin() + 2}, pads, "radar pad");
    EXPECT_EQ(recorder.count(DrawOp::MeasureString), 2u);
}

TEST_F(SymbologyTest, EverySymbolCallMakesAndReleasesItsOwnResources) {
    recorder.clear();
    {
        TCASScreen screen;
        exactGeometry(screen);
        screen.setDisplayOptions(nullptr, 31, 31, 31, 31, 1, 100);
        stage(screen, {ownAircraft(), at(threat::TA), at(threat::RA), at(threat::Other)});
        ASSERT_TRUE(screen.drawFrame(testDeviceContext(), 0, 0.0));
    }
    // Three pads (brush, font, format) and three symbols (plus a pen), and
    // the frame's black brush.
    EXPECT_EQ(recorder.count(DrawOp::CreatePen), 3u);
    EXPECT_EQ(recorder.count(DrawOp::CreateFont), 6u);
    EXPECT_EQ(recorder.count(DrawOp::CreateStringFormat), 6u);
    EXPECT_EQ(recorder.count(DrawOp::CreateBrush), 7u);
    EXPECT_EQ(recorder.liveResources(), 0);
}

}  // namespace
}  // namespace cs::test
