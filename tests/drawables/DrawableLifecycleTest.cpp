// Reference counting, the paced traffic update, the redraw decision and the
// hand-over of the gathered settings to the renderer.
#include <cmath>
#include <limits>

#include "DrawableFixture.h"
#include "drawables/RadarCDrawable.h"
#include "drawables/TCASCDrawable.h"
#include "render/RadarScreen.h"
#include "render/TCASScreen.h"

namespace cs {
namespace {

using DrawableLifecycle = DrawableTest;

TEST_F(DrawableLifecycle, KindSelectsDrawableAndRenderer) {
    MyGaugeCDrawable* radar = make(0);
    MyGaugeCDrawable* tcas = make(1);
    ASSERT_NE(radar, nullptr);
    ASSERT_NE(tcas, nullptr);
    EXPECT_NE(dynamic_cast<RadarCDrawable*>(radar), nullptr);
    EXPECT_NE(dynamic_cast<RadarScreen*>(radar->renderer()), nullptr);
    EXPECT_NE(dynamic_cast<TCASCDrawable*>(tcas), nullptr);
    EXPECT_NE(dynamic_cast<TCASScreen*>(tcas->renderer()), nullptr);
    EXPECT_EQ(radar->gaugeCallback(), gauge);
    EXPECT_EQ(make(2), nullptr);
}

TEST_F(DrawableLifecycle, ReferenceCountingAndTheInertSlots) {
    MyGaugeCDrawable* drawable = make(1);
    EXPECT_EQ(drawable->flags(), 1u);
    drawable->ignoredSlot4(42);
    EXPECT_FALSE(drawable->setupDraw(100, 100, testDeviceContext(), nullptr));
    EXPECT_FALSE(drawable->getDraw(&values));
    EXPECT_EQ(drawable->addRef(), 2u);
    EXPECT_EQ(drawable->release(), 1u);  // kept
    EXPECT_EQ(drawable->renderer()->trafficData() != nullptr, true);
    const size_t shutdowns = recorder.count(DrawOp::Shutdown);
    EXPECT_EQ(releaseOwned(drawable), 0u);  // renderer and drawable gone
    EXPECT_EQ(recorder.count(DrawOp::Shutdown), shutdowns + 1);
}

TEST_F(DrawableLifecycle, TickCounterStartsAtCreation) {
    host.setTicks(500.0);
    MyGaugeCDrawable* drawable = make(1);
    EXPECT_EQ(drawable->tickVar().token, 1);
    EXPECT_EQ(drawable->tickVar().value, 500.0);
    EXPECT_EQ(drawable->tickVar().previousValue, 500.0);
}

TEST_F(DrawableLifecycle, UpdateRunsOneTrafficCycleEvery18Ticks) {
    host.setTicks(100.0);
    MyGaugeCDrawable* drawable = make(1);
    auto& counts = host.traffic().counts();
    struct Step {
        double ticks;
        bool cycle;
    };
    const Step steps[] = {
        {101.0, false}, {117.0, false}, {117.9, false},
        {118.0, true},                                  // 18 above creation
        {118.0, false}, {135.0, false}, {136.0, true},  // 18 above the last run
        {50.0, false},  {130.0, false}, {153.9, false},
        {154.0, true},  // backwards, then past again
    };
    int cycles = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.ticks);
        host.setTicks(step.ticks);
        drawable->update();
        cycles += step.cycle ? 1 : 0;
        EXPECT_EQ(counts.listAircraft, cycles);
        EXPECT_EQ(drawable->tickVar().value, step.ticks);  // refreshed on every call
        EXPECT_EQ(drawable->redrawPending(), cycles > 0);
    }
}

TEST_F(DrawableLifecycle, UpdateHandsCountRangeAndTheGaugesSeparationsToTheCycle) {
    MyGaugeCDrawable* drawable = make(0);
    values.set("MaxNumAct", 99.9);
    values.set("MaxRange", 25.0);
    draw(drawable);
    gauge->timeSeparationTA = 44.0;
    gauge->altSeparationRA = 111.0;
    host.setTicks(18.0);
    drawable->update();
    EXPECT_EQ(host.traffic().counts().lastCapacity, 99u);
    EXPECT_DOUBLE_EQ(host.traffic().counts().lastRadiusMetres, 25.0 * 1851.8518518518517);
    const TrafficData::Thresholds& t = drawable->renderer()->trafficData()->thresholds();
    EXPECT_EQ(t.timeSeparationTA, 44.0);
    EXPECT_EQ(t.timeSeparationRA, 20.0);
    EXPECT_EQ(t.altSeparationRA, 111.0);
}

TEST_F(DrawableLifecycle, MaxNumActTruncatesForTheRequestAndRoundsForTheDisplay) {
    struct Case {
        double maxNumAct;
        uint32_t capacity;  // what the host is asked for
        int32_t displayed;
    };
    const Case cases[] = {
        {2.5, 2, 3},
        {99.9, 99, 100},
        {-5.0, 0, 0},
        {std::numeric_limits<double>::quiet_NaN(), 0, 0},
        // A huge request is served as the largest one the traffic source
        // makes.
        {100000.0, 65536, 100000},
        {1e12, 65536, 2147483647},
        {std::numeric_limits<double>::infinity(), 65536, 2147483647},
    };
    double ticks = 0.0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.maxNumAct);
        host.setTicks(ticks);
        MyGaugeCDrawable* drawable = make(1);
        values.set("MaxNumAct", c.maxNumAct);
        draw(drawable);
        EXPECT_EQ(drawable->renderer()->maxDisplayed(), c.displayed);
        host.traffic().counts() = sim::TrafficCallCounts{};
        ticks += 18.0;
        host.setTicks(ticks);
        drawable->update();
        EXPECT_TRUE(drawable->redrawPending());
        EXPECT_EQ(host.traffic().counts().lastCapacity, c.capacity);
    }
}

TEST_F(DrawableLifecycle, RedrawOnlyForNewTrafficOrRangeOrBrightnessChange) {
    MyGaugeCDrawable* drawable = make(1);
    EXPECT_TRUE(draw(drawable));   // range 15 differs from the initial 0
    EXPECT_FALSE(draw(drawable));  // nothing changed
    host.setTicks(18.0);
    drawable->update();
    EXPECT_TRUE(drawable->redrawPending());
    EXPECT_TRUE(draw(drawable));  // pending snapshot
    EXPECT_FALSE(drawable->redrawPending());
    EXPECT_FALSE(draw(drawable));

    values.set("Range", 20.0);  // range change alone
    EXPECT_TRUE(draw(drawable));
    EXPECT_EQ(drawable->lastRange(), 20.0);
    EXPECT_FALSE(draw(drawable));
    gauge->brightness = 100;  // brightness change alone
    EXPECT_TRUE(draw(drawable));
    EXPECT_EQ(drawable->lastBrightness(), 100);
    EXPECT_FALSE(draw(drawable));
    values.set("TAColour", 0x00FFFF);  // other parameters wait for the next frame
    EXPECT_FALSE(draw(drawable));
    EXPECT_EQ(drawable->renderer()->levelColour(2), scaleColour(100, 0x00FFFF));
}

TEST_F(DrawableLifecycle, RangeThatIsNotANumberAlwaysRedraws) {
    MyGaugeCDrawable* drawable = make(1);
    values.set("Range", std::numeric_limits<double>::quiet_NaN());
    EXPECT_TRUE(draw(drawable));
    EXPECT_TRUE(draw(drawable));  // NaN never equals the last range
    EXPECT_TRUE(std::isnan(drawable->lastRange()));
    values.set("Range", 10.0);
    EXPECT_TRUE(draw(drawable));
    EXPECT_FALSE(draw(drawable));
}

TEST_F(DrawableLifecycle, NullDeviceContextClearsThePendingRedraw) {
    MyGaugeCDrawable* drawable = make(1);
    draw(drawable);
    host.setTicks(18.0);
    drawable->update();
    EXPECT_FALSE(drawable->draw(&values, 200, 200, nullptr, nullptr));
    EXPECT_FALSE(drawable->redrawPending());
    EXPECT_FALSE(draw(drawable));  // waits for the next snapshot or change
}

TEST_F(DrawableLifecycle, NullParametersDrawNothingAndHandNothingOver) {
    MyGaugeCDrawable* drawable = make(1);
    gauge->mouseRelPosX = 0.25;
    EXPECT_FALSE(drawable->draw(nullptr, 200, 200, testDeviceContext(), nullptr));
    EXPECT_EQ(drawable->renderer()->mouseRelX(), 0.0);
    EXPECT_EQ(drawable->lastRange(), 0.0);
    EXPECT_EQ(recorder.count(DrawOp::CreateContext), 0u);
}

TEST_F(DrawableLifecycle, GeometryAtHostScaleTwo) {
    struct Case {
        int32_t fixedResolution;
        float view;
        float centre;
        float scale;
        double nmPerUnit;
    };
    const Case cases[] = {
        {0, 100.0f, 50.0f, 2.0f, 0.3},
        {1, 200.0f, 100.0f, 1.0f, 0.15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixedResolution);
        MyGaugeCDrawable* drawable = make(1);
        stage(drawable, {aircraftAt(1, "OWN", 0, 0, threat::Hidden),
                         aircraftAt(2, "HERE", 0.0, 0.0, threat::TA)});
        values.setScale(2.0, 2.0);
        values.set("FixedResolution", c.fixedResolution);
        recorder.clear();
        draw(drawable);
        const GdiPlusRadar& r = *drawable->renderer();
        EXPECT_EQ(r.viewWidth(), c.view);
        EXPECT_EQ(r.viewHeight(), c.view);
        EXPECT_EQ(r.translateX(), c.centre);
        EXPECT_EQ(r.translateY(), c.centre);
        EXPECT_EQ(r.scaleX(), c.scale);
        EXPECT_EQ(r.nmPerUnit(), static_cast<double>(static_cast<float>(c.nmPerUnit)));
        // An aircraft at the own position is drawn on the middle pixel either way.
        bool found = false;
        for (const RecordedCall& call : recorder.drawingCalls()) {
            if (call.op == DrawOp::FillEllipse) {
                const PointF centre = call.transform.toDevice(
                    PointF{call.rect.x + call.rect.width / 2, call.rect.y + call.rect.height / 2});
                EXPECT_FLOAT_EQ(centre.x, 100.0f);
                EXPECT_FLOAT_EQ(centre.y, 100.0f);
                found = true;
            }
        }
        EXPECT_TRUE(found);
    }
}

struct BrightnessCase {
    int32_t brightness;
    int32_t colour;
    Argb expected;
};

TEST_F(DrawableLifecycle, ColoursAreDimmedByTheClampedBrightness) {
    const BrightnessCase cases[] = {
        {128, 0xFFFF00, 0xFF808000u},   {300, 0xFFFF00, 0xFFFFFF00u}, {-5, 0xFFFF00, 0xFF000000u},
        {255, 0x12FFFFFF, 0xFFFFFFFFu}, {0, 0xFFFFFF, 0xFF000000u},
    };
    MyGaugeCDrawable* drawable = make(1);
    for (const BrightnessCase& c : cases) {
        SCOPED_TRACE(c.brightness);
        values.set("Brightness", c.brightness);
        values.setInteger(5, c.colour);
        values.set("RAColour", 0xFF0000);
        EXPECT_TRUE(draw(drawable));  // every brightness here differs from the last
        EXPECT_EQ(drawable->renderer()->levelColour(2), c.expected);
        EXPECT_EQ(drawable->lastBrightness(), c.brightness);  // unclamped
    }
}

TEST_F(DrawableLifecycle, DisplayOptionsAndFontReachTheRenderer) {
    MyGaugeCDrawable* drawable = make(0);
    values.setText("Font", "Courier New");
    values.set("PadSymbols", 1);
    values.set("OtherDetail", 0);
    values.set("MaxDispNumAct", 7);
    draw(drawable);
    const GdiPlusRadar& r = *drawable->renderer();
    EXPECT_STREQ(r.fontName(), L"Courier New");
    EXPECT_EQ(r.padSymbols(), 1);
    EXPECT_EQ(r.levelDetail(0), 0);
    EXPECT_EQ(r.levelDetail(1), 10);
    EXPECT_EQ(r.maxDisplayed(), 7);
    values.unset(19);  // no font supplied: the previous one stays
    draw(drawable);
    EXPECT_STREQ(r.fontName(), L"Courier New");
    values.setNullString(19);  // supplied as a null pointer: also kept
    draw(drawable);
    EXPECT_STREQ(r.fontName(), L"Courier New");
}

TEST_F(DrawableLifecycle, DisplayLimitsReachTheTrafficSource) {
    MyGaugeCDrawable* drawable = make(1);
    values.set("OtherMinRAlt", 10.0);
    values.set("ProximityBelowAlt", 900.0);
    draw(drawable);
    const TrafficData::Thresholds& t = drawable->renderer()->trafficData()->thresholds();
    EXPECT_EQ(t.otherMinRAlt, 10.0);
    EXPECT_EQ(t.otherAboveAlt, 2700.0);
    EXPECT_EQ(t.proximityRange, 6.0);
    EXPECT_EQ(t.proximityBelowAlt, 900.0);
}

TEST_F(DrawableLifecycle, EmptyOrNegativeDrawingAreasDrawNoFrame) {
    MyGaugeCDrawable* drawable = make(1);
    stage(drawable,
          {aircraftAt(1, "OWN", 0, 0, threat::Hidden), aircraftAt(2, "A", 90.0, 2.0, threat::TA)});
    const int32_t sizes[][2] = {{0, 0}, {0, 200}, {-200, 200}, {200, -1}, {-2147483647 - 1, 5}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(size[0]);
        values.set("Range", size[0] + 0.5);  // force a frame attempt each time
        EXPECT_FALSE(draw(drawable, size[0], size[1]));
        EXPECT_EQ(recorder.count(DrawOp::CreateContext), 0u);
    }
    values.setScale(0.0, 0.0);  // a host scale of 0 is as unusable
    values.set("Range", 3.0);
    EXPECT_FALSE(draw(drawable));
    EXPECT_EQ(recorder.count(DrawOp::CreateContext), 0u);
}

TEST_F(DrawableLifecycle, GaugeReleasedFirstLeavesItsDrawablesDetached) {
    MyGaugeCDrawable* first = make(1);
    MyGaugeCDrawable* second = make(0);
    releaseGaugeFirst();
    EXPECT_EQ(first->gaugeCallback(), nullptr);
    EXPECT_EQ(second->gaugeCallback(), nullptr);
    host.setTicks(36.0);
    first->update();
    EXPECT_FALSE(first->redrawPending());
    EXPECT_EQ(host.traffic().counts().listAircraft, 0);
    EXPECT_FALSE(draw(first));
    EXPECT_FALSE(draw(second));
    EXPECT_EQ(releaseOwned(first), 0u);
}

TEST_F(DrawableLifecycle, DrawableReleasedFirstLeavesTheGaugeIntact) {
    MyGaugeCDrawable* first = make(1);
    MyGaugeCDrawable* second = make(1);
    EXPECT_EQ(releaseOwned(first), 0u);
    draw(second);
    releaseGaugeFirst();  // must not touch the destroyed first drawable
    EXPECT_EQ(second->gaugeCallback(), nullptr);
}

TEST_F(DrawableLifecycle, DrawableWithoutGaugeNeverUpdatesNorDraws) {
    IGaugeCDrawable* lone = new TCASCDrawable(nullptr);
    host.setTicks(100.0);
    lone->update();
    EXPECT_FALSE(lone->draw(&values, 100, 100, testDeviceContext(), nullptr));
    EXPECT_EQ(lone->release(), 0u);
}

TEST_F(DrawableLifecycle, WithoutAServicesTableTheCounterStaysPut) {
    ImportTable.panelServices.table = nullptr;
    MyGaugeCDrawable* drawable = make(1);
    drawable->update();
    EXPECT_EQ(drawable->tickVar().value, 0.0);
    host.install();
}

}  // namespace
}  // namespace cs

namespace cs {
namespace {

// The host and the module agree on slots, not names: the drawable's own
// operations follow the eight host slots, in declaration order.
#if !defined(_WIN32)
TEST_F(DrawableLifecycle, DefaultOperationsOccupySlotsEightToTen) {
    MyGaugeCDrawable* drawable = make(1);
    void** vtable = *reinterpret_cast<void***>(drawable);
    using FlagsSlot = uint32_t (*)(void*);
    using LimitsSlot = void (*)(void*, double*, double*, double*, double*, double*, double*);
    using WordsSlot = void (*)(void*, int32_t*, int32_t*, int32_t*, int32_t*);
    EXPECT_EQ(reinterpret_cast<FlagsSlot>(vtable[2])(drawable), 1u);
    double limits[6] = {};
    reinterpret_cast<LimitsSlot>(vtable[8])(drawable, &limits[0], &limits[1], &limits[2],
                                            &limits[3], &limits[4], &limits[5]);
    EXPECT_EQ(limits[0], 50.0);
    EXPECT_EQ(limits[3], 6.0);
    int32_t colours[4] = {};
    reinterpret_cast<WordsSlot>(vtable[9])(drawable, &colours[0], &colours[1], &colours[2],
                                           &colours[3]);
    EXPECT_EQ(colours[3], 0xFF0000);
    int32_t details[4] = {};
    reinterpret_cast<WordsSlot>(vtable[10])(drawable, &details[0], &details[1], &details[2],
                                            &details[3]);
    EXPECT_EQ(details[0], 10);
    EXPECT_EQ(details[1], 14);
    // Null pointers are skipped.
    reinterpret_cast<WordsSlot>(vtable[10])(drawable, nullptr, nullptr, nullptr, nullptr);
}
#endif

}  // namespace
}  // namespace cs
