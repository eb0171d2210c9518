// Fuzzes the life of gauges and their drawables on the replacement host:
// random sequences of gauge and drawable creation (any kind), updates with
// the tick counter and clock moving any way, draws with any sizes, scales,
// parameter values (of the declared type or not), font texts and device
// contexts (none, or a small Cairo surface), property writes, and releases
// in any order, the gauge before its drawables included. The host may turn
// hostile at any point (non-finite numbers, lying counts, unterminated names,
// a flipping mode).
//
// Drawing goes through the test drawing backend, which aborts on a non-finite
// coordinate, size or pen width, an unterminated text, or a dead resource,
// and counts resources and contexts: after the last release none may be
// left.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "drawables/ToolTip.h"
#include "host/ImportTable.h"
#include "properties/AircraftCallback.h"
#include "properties/GaugeCallback.h"
#include "properties/PanelCallback.h"
#include "render/DrawingSurface.h"
#include "simhost/Canvas.h"
#include "simhost/GaugeHost.h"
#include "simhost/SimHost.h"
#include "testsupport/TestDrawingBackend.h"

// Fontconfig, Pango and Cairo keep font and glyph caches for the life of
// the process; they are not the module's memory. (Once in a few hundred
// thousand runs Cairo reports two of its own blocks, allocated entirely
// inside libcairo, as lost; the backend's use of Cairo is checked for
// balance by the test drawing backend here and by the Valgrind leak check.)
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libpango\nleak:libharfbuzz\nleak:libcairo.so\n";
}

namespace {

using cs::fuzz::check;

// The draw parameter types by id (fonts at 19 are texts; colours, switches,
// details and MaxDispNumAct are integers; the rest reals).
int32_t parameterType(int32_t id) {
    if (id == 19) {
        return cs::sim::kParameterTypeString;
    }
    if ((id >= 2 && id <= 7) || (id >= 13 && id <= 18) || id == 26) {
        return cs::sim::kParameterTypeInteger;
    }
    return cs::sim::kParameterTypeReal;
}

struct Display {
    cs::IGaugeCDrawable* drawable = nullptr;
    std::unique_ptr<cs::sim::DrawableDeclarations> declarations;
    std::unique_ptr<cs::sim::DrawParameterValues> values;
};

struct Gauge {
    cs::MyGaugeCCallback* callback = nullptr;
};

double parameterReal(FuzzedDataProvider& in) {
    return in.ConsumeBool() ? in.ConsumeFloatingPointInRange<double>(-500.0, 500.0)
                            : cs::fuzz::hostileDouble(in);
}

void setParameter(FuzzedDataProvider& in, cs::sim::DrawParameterValues& values) {
    const int32_t id = in.ConsumeIntegralInRange<int32_t>(-1, 28);
    int32_t type = parameterType(id);
    if (in.ConsumeIntegralInRange<int>(0, 7) == 0) {
        type = in.ConsumeIntegralInRange<int32_t>(2, 4);  // the gauge supplies the wrong type
    }
    switch (in.ConsumeIntegralInRange<int>(0, 5)) {
        case 0:
            values.unset(id);
            return;
        case 1:
            if (type == cs::sim::kParameterTypeString) {
                values.setNullString(id);
                return;
            }
            break;
        default:
            break;
    }
    if (type == cs::sim::kParameterTypeString) {
        values.setString(id, in.ConsumeRandomLengthString(400));
    } else if (type == cs::sim::kParameterTypeInteger) {
        values.setInteger(id, cs::fuzz::hostileInt(in));
    } else {
        values.setReal(id, parameterReal(in));
    }
}

double scaleValue(FuzzedDataProvider& in) {
    return in.ConsumeIntegralInRange<int>(0, 3) != 0 ? in.ConsumeFloatingPointInRange(0.1, 4.0)
                                                     : cs::fuzz::hostileDouble(in);
}

int32_t drawExtent(FuzzedDataProvider& in) {
    return in.ConsumeIntegralInRange<int>(0, 3) != 0 ? in.ConsumeIntegralInRange<int32_t>(1, 400)
                                                     : cs::fuzz::hostileInt(in);
}

void checkGaugeTexts(cs::MyGaugeCCallback* gauge) {
    for (int32_t id : {6, 14, 21}) {
        const char* text = nullptr;
        check(gauge->getTextProperty(id, &text), "text property unreadable", id);
        const size_t capacity = id == 6 ? static_cast<size_t>(cs::kToolTipCapacity)
                                        : static_cast<size_t>(cs::kAtcIdLength + 1);
        check(cs::fuzz::terminatedWithin(text, capacity), "published text unterminated", id);
    }
    double level = -1.0;
    check(gauge->getNumberProperty(7, &level), "advisory unreadable");
    check(level == 0.0 || level == 1.0 || level == 2.0, "advisory level", level);
}

void makeHostile(FuzzedDataProvider& in, cs::sim::SimHost& host) {
    cs::sim::HostileOptions& h = host.hostile();
    switch (in.ConsumeIntegralInRange<int>(0, 9)) {
        case 0:
            h.forceNumbers = in.ConsumeBool();
            h.forcedValue = cs::fuzz::hostileDouble(in);
            h.forcedMask = in.ConsumeIntegral<uint32_t>();
            break;
        case 1:
            h.dropReads = in.ConsumeBool();
            break;
        case 2:
            h.overrideListCount = in.ConsumeBool();
            h.listCount = in.ConsumeIntegral<uint32_t>();
            break;
        case 3: {
            h.overrideListIds = in.ConsumeBool();
            h.listIds.clear();
            const int n = in.ConsumeIntegralInRange<int>(0, 12);
            for (int i = 0; i < n; ++i) {
                h.listIds.push_back(in.ConsumeBool() ? in.ConsumeIntegralInRange<uint32_t>(0, 6)
                                                     : in.ConsumeIntegral<uint32_t>());
            }
            break;
        }
        case 4: {
            h.modeSequence.clear();
            const int n = in.ConsumeIntegralInRange<int>(0, 5);
            for (int i = 0; i < n; ++i) {
                h.modeSequence.push_back(in.ConsumeIntegralInRange<int32_t>(-1, 2));
            }
            break;
        }
        case 5:
            h.nullNames = in.ConsumeBool();
            break;
        case 6:
            h.unterminatedNames = in.ConsumeBool();
            // At least the ten characters the module may read of a name.
            h.unterminatedLength = in.ConsumeIntegralInRange<size_t>(10, 30);
            break;
        case 7:
            h.fillStringBuffer = in.ConsumeBool();
            break;
        case 8:
            host.setPositionOnly(in.ConsumeBool());
            break;
        default:
            host.setTime(cs::fuzz::hostileDouble(in));
            break;
    }
}

void addTraffic(FuzzedDataProvider& in, cs::sim::SimHost& host) {
    const int32_t id =
        in.ConsumeBool() ? in.ConsumeIntegralInRange<int32_t>(0, 8) : cs::fuzz::hostileInt(in);
    if (in.ConsumeIntegralInRange<int>(0, 3) != 0) {
        host.scenario().addRelative(id, in.ConsumeFloatingPointInRange(0.0, 360.0),
                                    in.ConsumeFloatingPointInRange(0.0, 30.0),
                                    in.ConsumeFloatingPointInRange(-3000.0, 3000.0),
                                    in.ConsumeFloatingPointInRange(0.0, 360.0),
                                    in.ConsumeFloatingPointInRange(0.0, 600.0),
                                    in.ConsumeFloatingPointInRange(-4000.0, 4000.0));
        return;
    }
    cs::sim::Aircraft a;
    a.id = id;
    a.latitude = cs::fuzz::hostileDouble(in);
    a.longitude = cs::fuzz::hostileDouble(in);
    a.trueAltitude = cs::fuzz::hostileDouble(in);
    a.indicatedAltitude = cs::fuzz::hostileDouble(in);
    a.velocityNorth = cs::fuzz::hostileDouble(in);
    a.velocityEast = cs::fuzz::hostileDouble(in);
    a.verticalSpeed = cs::fuzz::hostileDouble(in);
    a.headingTrue = cs::fuzz::hostileDouble(in);
    a.altAboveGround = cs::fuzz::hostileDouble(in);
    a.atcId = in.ConsumeRandomLengthString(30);
    a.name = in.ConsumeRandomLengthString(30);
    a.nameIsNull = in.ConsumeBool();
    host.scenario().add(a);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);

    // One in eight runs paints through Cairo into a small surface; the others
    // through the checker alone, which is much faster.
    const bool cairo = in.ConsumeIntegralInRange<int>(0, 7) == 0;
    cs::TestDrawingBackend checker(cairo ? &cs::platformDrawingBackend() : nullptr);
    checker.recordCalls = false;
    cs::overrideDrawingBackend(&checker);
    std::unique_ptr<cs::sim::Canvas> canvas;
    if (cairo) {
        canvas = std::make_unique<cs::sim::Canvas>(in.ConsumeIntegralInRange<int32_t>(1, 48),
                                                   in.ConsumeIntegralInRange<int32_t>(1, 48));
    }
    cs::DeviceContext dc = cairo ? canvas->dc() : cs::testDeviceContext();

    {
        cs::sim::SimHost host;
        host.install();
        const int aircraftCount = in.ConsumeIntegralInRange<int>(0, 6);
        for (int i = 0; i < aircraftCount; ++i) {
            addTraffic(in, host);
        }

        cs::MyPanelCCallback* panel = cs::createPanelCallback(in.ConsumeIntegralInRange(0, 1));
        check(panel != nullptr, "panel callback");
        cs::IAircraftCCallback* aircraft = panel->createAircraftCallback(0);
        check(aircraft != nullptr, "aircraft callback");

        std::vector<Gauge> gauges;
        std::vector<Display> displays;

        int operations = 0;
        while (in.remaining_bytes() > 0 && operations++ < 120) {
            switch (in.ConsumeIntegralInRange<int>(0, 12)) {
                case 0: {  // a new gauge
                    if (gauges.size() < 3) {
                        auto* g =
                            static_cast<cs::MyGaugeCCallback*>(aircraft->createGaugeCallback());
                        check(g != nullptr, "gauge callback");
                        gauges.push_back({g});
                    }
                    break;
                }
                case 1: {  // a new drawable of any kind on a live gauge
                    if (gauges.empty() || displays.size() >= 6) {
                        break;
                    }
                    Gauge& g = gauges[in.ConsumeIntegralInRange<size_t>(0, gauges.size() - 1)];
                    int32_t kind = in.ConsumeIntegralInRange<int32_t>(-1, 2);
                    if (in.ConsumeIntegralInRange<int>(0, 7) == 0) {
                        kind = cs::fuzz::hostileInt(in);
                    }
                    Display d;
                    d.declarations = std::make_unique<cs::sim::DrawableDeclarations>();
                    d.values = std::make_unique<cs::sim::DrawParameterValues>();
                    d.values->recordReads = false;
                    d.values->useDeclarations(d.declarations.get());
                    const bool withDeclarations = in.ConsumeIntegralInRange<int>(0, 7) != 0;
                    d.drawable = g.callback->createDrawable(
                        kind, withDeclarations ? d.declarations.get() : nullptr);
                    check((d.drawable != nullptr) == (kind == 0 || kind == 1),
                          "drawable for the wrong kinds", kind);
                    if (withDeclarations) {
                        check(d.declarations->declarations().size() == 29, "parameter declarations",
                              d.declarations->declarations().size());
                    }
                    if (d.drawable != nullptr) {
                        check(d.drawable->flags() == 1, "drawable flags");
                        displays.push_back(std::move(d));
                    }
                    break;
                }
                case 2:
                case 3: {  // time passes; every display updates
                    if (in.ConsumeIntegralInRange<int>(0, 5) == 0) {
                        host.setTicks(in.ConsumeBool() ? host.ticks() - 40.0
                                                       : cs::fuzz::hostileDouble(in));
                    } else {
                        host.advance(in.ConsumeFloatingPointInRange(0.0, 5.0));
                    }
                    for (Display& d : displays) {
                        d.drawable->update();
                    }
                    break;
                }
                case 4:
                case 5:
                case 6: {  // draw one display
                    if (displays.empty()) {
                        break;
                    }
                    Display& d =
                        displays[in.ConsumeIntegralInRange<size_t>(0, displays.size() - 1)];
                    const int settings = in.ConsumeIntegralInRange<int>(0, 6);
                    for (int i = 0; i < settings; ++i) {
                        setParameter(in, *d.values);
                    }
                    if (in.ConsumeBool()) {
                        d.values->setScale(scaleValue(in), scaleValue(in));
                    }
                    const int32_t width = drawExtent(in);
                    const int32_t height = drawExtent(in);
                    const int target = in.ConsumeIntegralInRange<int>(0, 9);
                    cs::IDrawParameters* params = target == 0 ? nullptr : d.values.get();
                    cs::DeviceContext drawDc = target == 1 ? nullptr : dc;
                    d.drawable->draw(params, width, height, drawDc, nullptr);
                    break;
                }
                case 7: {  // the gauge writes a property
                    if (gauges.empty()) {
                        break;
                    }
                    Gauge& g = gauges[in.ConsumeIntegralInRange<size_t>(0, gauges.size() - 1)];
                    const int32_t id = in.ConsumeIntegralInRange<int32_t>(0, 14);
                    const double value = in.ConsumeBool()
                                             ? in.ConsumeFloatingPointInRange(-1.0, 2.0)
                                             : cs::fuzz::hostileDouble(in);
                    g.callback->setNumberProperty(id, value);
                    checkGaugeTexts(g.callback);
                    break;
                }
                case 8: {  // the host releases a drawable
                    if (displays.empty()) {
                        break;
                    }
                    const size_t i = in.ConsumeIntegralInRange<size_t>(0, displays.size() - 1);
                    check(displays[i].drawable->release() == 0, "drawable release");
                    displays.erase(displays.begin() + static_cast<long>(i));
                    break;
                }
                case 9: {  // the host releases a gauge, maybe before its drawables
                    if (gauges.empty()) {
                        break;
                    }
                    const size_t i = in.ConsumeIntegralInRange<size_t>(0, gauges.size() - 1);
                    checkGaugeTexts(gauges[i].callback);
                    check(gauges[i].callback->release() == 0, "gauge release");
                    gauges.erase(gauges.begin() + static_cast<long>(i));
                    break;
                }
                case 10: {  // the other slots of a drawable
                    if (displays.empty()) {
                        break;
                    }
                    Display& d =
                        displays[in.ConsumeIntegralInRange<size_t>(0, displays.size() - 1)];
                    check(d.drawable->addRef() == 2, "drawable addRef");
                    d.drawable->ignoredSlot4(in.ConsumeIntegral<uint32_t>());
                    check(!d.drawable->setupDraw(drawExtent(in), drawExtent(in), dc, nullptr),
                          "setupDraw answered true");
                    check(!d.drawable->getDraw(d.values.get()), "getDraw answered true");
                    check(d.drawable->release() == 1, "drawable release to one");
                    break;
                }
                case 11:
                    if (in.ConsumeBool()) {
                        makeHostile(in, host);
                        break;
                    }
                    {
                        // The tool-tip of any record, terminated or not, into
                        // exactly the gauge's 81 bytes.
                        cs::TrafficRecord record{};
                        const std::string bytes = in.ConsumeBytesAsString(sizeof record);
                        std::memcpy(&record, bytes.data(), bytes.size());
                        if (in.ConsumeBool()) {
                            record.altDiff = cs::fuzz::hostileDouble(in);
                            record.groundSpeed = cs::fuzz::hostileDouble(in);
                            record.trackAngle = cs::fuzz::hostileDouble(in);
                            record.distance = cs::fuzz::hostileDouble(in);
                        }
                        auto text = std::make_unique<char[]>(cs::kToolTipCapacity);
                        const size_t length =
                            cs::formatToolTip(record, text.get(), cs::kToolTipCapacity);
                        check(length < static_cast<size_t>(cs::kToolTipCapacity) &&
                                  std::strlen(text.get()) == length,
                              "tool-tip length", static_cast<double>(length));
                    }
                    break;
                default:
                    if (in.ConsumeBool()) {
                        addTraffic(in, host);
                    } else if (!host.scenario().traffic().empty()) {
                        host.scenario().traffic().erase(host.scenario().traffic().begin());
                    }
                    break;
            }
        }

        for (Display& d : displays) {
            check(d.drawable->release() == 0, "final drawable release");
        }
        for (Gauge& g : gauges) {
            checkGaugeTexts(g.callback);
            check(g.callback->release() == 0, "final gauge release");
        }
        check(aircraft->release() == 0, "aircraft release");
        check(panel->release() == 0, "panel release");
        ImportTable.panelServices.table = nullptr;
    }

    check(checker.liveResources() == 0, "drawing resources left", checker.liveResources());
    check(checker.liveContexts() == 0, "drawing contexts left", checker.liveContexts());
    cs::overrideDrawingBackend(nullptr);
    return 0;
}
