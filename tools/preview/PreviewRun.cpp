#include "tools/preview/PreviewRun.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "properties/PropertyCatalogue.h"
#include "simhost/Canvas.h"
#include "simhost/GaugeHost.h"
#include "simhost/ModuleLoader.h"
#include "simhost/SimHost.h"
#include "tools/preview/ImageFiles.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace cs::preview {

namespace {

constexpr double kDegPerRad = 57.29577951308232;
constexpr const char* kPanelName = "va9vedored";  // the registration that names both displays
constexpr int32_t kProbeWord = 0x20;              // counts and can be hovered, draws nothing
constexpr double kProbeSymbolSize = 0.5;          // hover radius 1.5 world units
constexpr int32_t kProbeMaxDisplayed = 1000000;

// Initial true course from point 1 to point 2, degrees 0 to below 360.
double courseDeg(double lat1, double lon1, double lat2, double lon2) {
    const double p1 = lat1 / kDegPerRad, p2 = lat2 / kDegPerRad;
    const double dl = (lon2 - lon1) / kDegPerRad;
    const double y = std::sin(dl) * std::cos(p2);
    const double x = std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl);
    double c = std::atan2(y, x) * kDegPerRad;
    c = std::fmod(c + 360.0, 360.0);
    return c;
}

// Where a display turned to `headingDeg` puts `a` relative to the own
// aircraft, in view units of `nmPerUnit` nautical miles, x to the right and y
// down (single precision, as the module computes it).
void displayOffset(const sim::Aircraft& own, const sim::Aircraft& a, double headingDeg,
                   float nmPerUnit, float* x, float* y) {
    const double d =
        sim::greatCircleDistanceNm(own.latitude, own.longitude, a.latitude, a.longitude);
    const double b = courseDeg(own.latitude, own.longitude, a.latitude, a.longitude);
    const double beta = (b - headingDeg) / kDegPerRad;
    *x = static_cast<float>(std::sin(beta) * d / nmPerUnit);
    *y = static_cast<float>(-std::cos(beta) * d / nmPerUnit);
}

sim::Aircraft makeAircraft(const AircraftPlan& plan, const sim::Aircraft* own) {
    sim::Aircraft a;
    a.id = plan.id;
    if (plan.relative && own != nullptr) {
        sim::destinationPoint(own->latitude, own->longitude, plan.bearingDeg, plan.distanceNm,
                              &a.latitude, &a.longitude);
    } else {
        a.latitude = plan.latitude;
        a.longitude = plan.longitude;
    }
    double altitude = plan.altitudeFt;
    if (plan.altitudeRelative && own != nullptr) {
        altitude += own->trueAltitude;
    }
    a.trueAltitude = altitude;
    a.indicatedAltitude = altitude;
    a.altAboveGround = plan.radioAltitudeFt ? *plan.radioAltitudeFt : std::fmax(altitude, 0.0);
    if (plan.velocityComponents) {
        a.velocityNorth = plan.velocityNorthKt;
        a.velocityEast = plan.velocityEastKt;
        a.headingTrue =
            std::fmod(std::atan2(a.velocityEast, a.velocityNorth) * kDegPerRad + 360.0, 360.0);
        a.verticalSpeed = plan.verticalSpeedFpm;
    } else {
        a.moving(plan.trackDeg, plan.groundSpeedKt, plan.verticalSpeedFpm);
    }
    if (plan.headingDeg) {
        a.headingTrue = *plan.headingDeg;
    }
    for (const VerticalSpeedStep& s : plan.verticalSpeedSteps) {
        a.changeVerticalSpeed(s.atS, s.verticalSpeedFpm);
    }
    a.engineRunning = plan.engineRunning;
    a.atcId = plan.atcId;
    a.name = plan.name.empty() ? plan.atcId : plan.name;
    return a;
}

void applyValues(sim::DrawParameterValues& values, const std::vector<NamedValue>& list) {
    for (const NamedValue& v : list) {
        if (v.type == 4) {
            values.setString(v.id, v.text);
        } else if (v.type == 3) {
            values.setInteger(v.id, sim::integerParameterFromReal(v.number));
        } else {
            values.setReal(v.id, v.number);
        }
    }
}

const NamedValue* findValue(const std::vector<NamedValue>& list, int32_t id) {
    const NamedValue* found = nullptr;
    for (const NamedValue& v : list) {
        if (v.id == id) {
            found = &v;  // the last one given wins
        }
    }
    return found;
}

struct DisplayRun {
    DisplayKind kind;
    std::unique_ptr<sim::GaugeHost> gauge;
    sim::GaugeDisplay* display = nullptr;
    std::vector<NamedValue> values;  // the scenario's parameters for this display
    sim::DrawParameterValues probe;
    int32_t idRange = -1, idHeading = -1, idCenterX = -1, idCenterY = -1, idFixed = -1,
            idSymbol = -1, idPad = -1, idMaxDisp = -1, idAntiAlias = -1;
    int32_t idDetail[4] = {-1, -1, -1, -1};  // Other, Proximity, TA, RA
    DisplayResult result;
    std::vector<SheetFrame> sheet;
    double nextImageTime = 0.0;
    int probeToggle = 0;
};

int32_t declared(const sim::GaugeDisplay& d, const char* name) {
    const sim::ParameterDeclaration* p =
        const_cast<sim::GaugeDisplay&>(d).declarations().find(name);
    return p ? p->id : -1;
}

// Where the frame just drawn puts every scenario aircraft, in image pixels:
// the display centre (CenterX and CenterY, or the middle) plus the aircraft's
// offset at the display's range and heading.
std::vector<ImagePosition> imagePositions(DisplayRun& run, const PreviewScenario& scenario,
                                          const sim::Scenario& traffic) {
    std::vector<ImagePosition> out;
    const double scale = scenario.hostScale;
    const double viewW = scenario.width / scale, viewH = scenario.height / scale;
    const NamedValue* rangeValue = findValue(run.values, run.idRange);
    const double range = rangeValue ? rangeValue->number : run.gauge->number("range");
    const NamedValue* headingValue = findValue(run.values, run.idHeading);
    const NamedValue* cxValue = findValue(run.values, run.idCenterX);
    const NamedValue* cyValue = findValue(run.values, run.idCenterY);
    const float nmPerUnit = static_cast<float>(2.0 * range / std::fmin(viewW, viewH));
    if (!(range > 0.0) || !std::isfinite(range) || !(nmPerUnit > 0.0f)) {
        return out;
    }
    const double cx = cxValue ? cxValue->number : viewW / 2.0;
    const double cy = cyValue ? cyValue->number : viewH / 2.0;
    for (const AircraftPlan& plan : scenario.traffic) {
        const sim::Aircraft* a = traffic.find(plan.id);
        if (a != nullptr) {
            float x = 0.0f, y = 0.0f;
            displayOffset(traffic.own(), *a, headingValue ? headingValue->number : 0.0, nmPerUnit,
                          &x, &y);
            out.push_back({plan.id, (x + cx) * scale, (y + cy) * scale});
        }
    }
    return out;
}

}  // namespace

const char* levelName(int level) {
    switch (level) {
        case -1:
            return "Other";
        case 0:
            return "Proximity";
        case 1:
            return "TA";
        case 2:
            return "RA";
        default:
            return nullptr;
    }
}

std::string utf8FromWindows1252(const std::string& text) {
    // 0x80-0x9F differ from Latin-1; the module's own texts use only 0xB0 (degree).
    static const uint16_t kHigh[32] = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    std::string out;
    for (unsigned char c : text) {
        uint32_t u = c;
        if (c >= 0x80 && c < 0xA0) {
            u = kHigh[c - 0x80];
        }
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

std::string defaultModulePath() {
#if defined(_WIN32)
    const char* file = "ContactScope.dll";
    char buffer[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    std::filesystem::path self =
        (n > 0 && n < MAX_PATH) ? std::filesystem::path(buffer) : std::filesystem::path();
#else
    const char* file = "ContactScope.so";
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
#endif
    const std::filesystem::path beside =
        self.empty() ? std::filesystem::path(file) : self.parent_path() / file;
#if defined(CS_PREVIEW_MODULE_PATH)
    std::error_code exists;
    if (!std::filesystem::exists(beside, exists)) {
        return CS_PREVIEW_MODULE_PATH;
    }
#endif
    return beside.string();
}

struct ModuleSession::State {
    sim::SimHost host;
    sim::ModuleLoader loader;
    std::vector<std::pair<int32_t, std::string>> parameterNames;
    std::vector<int32_t> writable;
    std::vector<PropertyValue> catalogue;  // ids 2..29 with names and kinds
    IPanelCCallback* panel = nullptr;
};

ModuleSession::ModuleSession() = default;

ModuleSession::~ModuleSession() {
    if (state_) {
        state_->loader.unload();  // stops the module first
    }
}

bool ModuleSession::open(const std::string& path, sim::HandOverRoute route) {
    state_ = std::make_unique<State>();
    State& s = *state_;
    if (!s.loader.load(path)) {
        error_ = "cannot load the module " + path + ": " + s.loader.error();
        return false;
    }
#if !defined(_WIN32)
    // Keep the module and the drawing libraries it brought in mapped after
    // the loader unloads it, so their one-time caches stay reachable rather
    // than turning into leaks at exit.
    dlopen(path.c_str(), RTLD_NOW | RTLD_NODELETE);
#endif
    if (!s.loader.handOver(s.host.services(), route) || !s.loader.start()) {
        error_ = "cannot load the module " + path + ": it exports no " +
                 (route == sim::HandOverRoute::Panels ? "Panels pointer" : "ImportTable record");
        return false;
    }
    for (const sim::RegistrationEvent& e : s.host.registrationLog()) {
        if (e.callback != nullptr) {
            registeredAtStart_.push_back(e.name);
        }
    }
    s.panel = s.host.services()->findPanelCallback(kPanelName);
    if (s.panel == nullptr) {
        error_ = std::string("the module registered no panel callback \"") + kPanelName + "\"";
        return false;
    }
    // The vocabulary, from a scratch gauge: declarations of a TCAS drawable,
    // the property catalogue and the values of a fresh gauge.
    sim::GaugeHost scratch(s.host);
    if (!scratch.create(kPanelName, "tcas")) {
        error_ = "the module would not create a TCAS display";
        return false;
    }
    for (const sim::ParameterDeclaration& d : scratch.display().declarations().declarations()) {
        vocabulary_.parameters.push_back({d.name, d.id, d.type});
    }
    IGaugeCCallback* gauge = scratch.gauge();
    for (int32_t id = 0; id < 64; ++id) {
        char name[64] = {};
        char* buffer = name;
        if (!s.panel->propertyIdToName(id, &buffer)) {
            continue;
        }
        int32_t kind = 0;
        s.panel->propertyValueKind(id, &kind);
        double value = 0.0;
        const bool readable = kind == kValueKindText
                                  ? [&] {
                                        const char* t = nullptr;
                                        return gauge->getTextProperty(id, &t);
                                    }()
                                  : gauge->getNumberProperty(id, &value);
        PropertyInfo info;
        info.id = id;
        info.name = name;
        info.kind = kind;
        info.readable = readable;
        info.number = value;
        if (kind == kValueKindText) {
            const char* t = nullptr;
            if (gauge->getTextProperty(id, &t) && t != nullptr) {
                info.text = t;
            }
        }
        // Which properties a gauge may write is part of the catalogue.
        const PropertyEntry* entry = findProperty(id);
        if (entry != nullptr && entry->access == PropertyAccess::ReadWrite) {
            s.writable.push_back(id);
            info.writable = true;
        }
        properties_.push_back(info);
        if (readable) {
            PropertyValue p;
            p.id = id;
            p.name = name;
            p.isText = kind == kValueKindText;
            s.catalogue.push_back(p);
        }
    }
    IPanelCCallback* panel = s.panel;
    vocabulary_.propertyId = [panel](const std::string& name, int32_t* id) {
        return panel->propertyNameToId(name.c_str(), id);
    };
    State* state = &s;
    vocabulary_.propertyWritable = [state](int32_t id) {
        for (int32_t w : state->writable) {
            if (w == id) {
                return true;
            }
        }
        return false;
    };
    return true;
}

ModuleSession::StopRecord ModuleSession::close() {
    StopRecord record;
    if (!state_) {
        return record;
    }
    sim::SimHost& host = state_->host;
    const size_t before = host.registrationLog().size();
    state_->loader.stop();
    for (size_t i = before; i < host.registrationLog().size(); ++i) {
        const sim::RegistrationEvent& e = host.registrationLog()[i];
        (e.callback == nullptr ? record.unregistered : record.registered).push_back(e.name);
    }
    for (const std::string& name : registeredAtStart_) {
        if (host.find(name) != nullptr) {
            record.stillRegistered.push_back(name);
        }
    }
    state_->loader.unload();
    state_.reset();
    return record;
}

namespace {

std::vector<PropertyValue> readProperties(const sim::GaugeHost& gauge,
                                          const std::vector<PropertyValue>& catalogue) {
    std::vector<PropertyValue> out = catalogue;
    IGaugeCCallback* cb = gauge.gauge();
    for (PropertyValue& p : out) {
        if (p.isText) {
            const char* t = nullptr;
            p.ok = cb->getTextProperty(p.id, &t) && t != nullptr;
            // The module's texts are at most 80 characters; read no further.
            p.text = p.ok ? utf8FromWindows1252(std::string(t, strnlen(t, 81))) : std::string();
        } else {
            p.ok = cb->getNumberProperty(p.id, &p.number);
        }
    }
    return out;
}

double mouseAt(const std::vector<MouseKey>& keys, double t, bool xAxis) {
    double v = 0.5;  // the middle until the first key
    bool any = false;
    for (const MouseKey& k : keys) {
        if (k.atS <= t + 1e-9) {
            v = xAxis ? k.x : k.y;
            any = true;
        }
    }
    if (!any && !keys.empty()) {
        return 0.5;
    }
    return v;
}

nlohmann::ordered_json number(double v) {
    if (!std::isfinite(v)) {
        return nullptr;
    }
    return std::round(v * 1e4) / 1e4;
}

}  // namespace

RunResult ModuleSession::run(const PreviewScenario& scenario, const RunOptions& options) {
    if (!state_) {
        throw std::runtime_error("the module is not loaded");
    }
    State& s = *state_;
    sim::SimHost& host = s.host;
    RunResult result;
    result.scenario = scenario.name;

    // The traffic.
    host.scenario() = sim::Scenario();
    host.setTime(0.0);
    host.setTicks(0.0);
    host.setPositionOnly(scenario.positionOnly);
    sim::Aircraft own = makeAircraft(scenario.own, nullptr);
    own.isUserSim = true;
    host.scenario().own() = own;
    for (const AircraftPlan& plan : scenario.traffic) {
        host.scenario().add(makeAircraft(plan, &host.scenario().own()));
    }

    // Output folder: created if missing, never emptied.
    if (!options.outDir.empty()) {
        result.folder = (std::filesystem::path(options.outDir) / scenario.name).string();
        std::error_code ec;
        std::filesystem::create_directories(result.folder, ec);
        if (ec) {
            throw std::runtime_error("cannot create the folder " + result.folder + ": " +
                                     ec.message());
        }
    }
    const bool writing = !result.folder.empty();
    const double interval =
        options.frameIntervalS >= 0.0 ? options.frameIntervalS : scenario.frameIntervalS;

    // One gauge per display, so each publishes its own tool-tip and advisory.
    std::vector<std::unique_ptr<DisplayRun>> runs;
    for (const DisplayPlan& plan : scenario.displays) {
        if (options.onlyDisplay && *options.onlyDisplay != plan.kind) {
            continue;
        }
        auto run = std::make_unique<DisplayRun>();
        run->kind = plan.kind;
        run->result.kind = plan.kind;
        run->gauge = std::make_unique<sim::GaugeHost>(host);
        if (!run->gauge->create(kPanelName, displayName(plan.kind))) {
            throw std::runtime_error(std::string("the module would not create the ") +
                                     displayName(plan.kind) + " display");
        }
        run->display = &run->gauge->display();
        run->values = scenario.parameters;
        run->values.insert(run->values.end(), plan.parameters.begin(), plan.parameters.end());
        sim::DrawParameterValues& params = run->display->parameters();
        params.recordReads = false;
        params.setScale(scenario.hostScale, scenario.hostScale);
        applyValues(params, run->values);
        run->probe.recordReads = false;
        run->probe.setScale(scenario.hostScale, scenario.hostScale);
        const sim::GaugeDisplay& d = *run->display;
        run->idRange = declared(d, "Range");
        run->idHeading = declared(d, "Heading");
        run->idCenterX = declared(d, "CenterX");
        run->idCenterY = declared(d, "CenterY");
        run->idFixed = declared(d, "FixedResolution");
        run->idSymbol = declared(d, "SymbolSize");
        run->idPad = declared(d, "PadSymbols");
        run->idMaxDisp = declared(d, "MaxDispNumAct");
        run->idAntiAlias = declared(d, "AntiAlias");
        run->idDetail[0] = declared(d, "OtherDetail");
        run->idDetail[1] = declared(d, "ProximityDetail");
        run->idDetail[2] = declared(d, "TADetail");
        run->idDetail[3] = declared(d, "RADetail");
        for (const NamedValue& v : scenario.gauge) {
            run->gauge->gauge()->setNumberProperty(v.id, v.number);
        }
        for (const AircraftPlan& a : scenario.traffic) {
            IntruderSummary summary;
            summary.id = a.id;
            summary.atcId = scenario.positionOnly && !a.name.empty() ? a.name : a.atcId;
            run->result.intruders.push_back(summary);
        }
        runs.push_back(std::move(run));
    }

    auto canvas = std::make_unique<sim::Canvas>(scenario.width, scenario.height, 0xFF000000u);
    auto scratch = std::make_unique<sim::Canvas>(scenario.width, scenario.height, 0xFF000000u);
    if (!canvas->valid() || !scratch->valid()) {
        throw std::runtime_error("cannot make a drawing area of the scenario's size");
    }

    const double dt = 1.0 / scenario.callsPerSecond;
    const double ticksPerCall = scenario.ticksPerSecond / scenario.callsPerSecond;
    const long calls =
        static_cast<long>(std::floor(scenario.durationS * scenario.callsPerSecond + 0.5));
    double lastMouseX = std::nan(""), lastMouseY = std::nan("");

    auto setMouse = [&](DisplayRun& run, double x, double y) {
        run.gauge->setProperty("mouseRelPosX", x);
        run.gauge->setProperty("mouseRelPosY", y);
    };

    // Hover probes of one display after a normal frame (see the header).
    auto probeAircraft = [&](DisplayRun& run, FrameRecord& record) {
        sim::GaugeHost& gauge = *run.gauge;
        const double w = scenario.width, h = scenario.height, scale = scenario.hostScale;
        const NamedValue* rangeValue = findValue(run.values, run.idRange);
        const double range = rangeValue ? rangeValue->number : gauge.number("range");
        const NamedValue* headingValue = findValue(run.values, run.idHeading);
        const double heading = headingValue ? headingValue->number : 0.0;
        const double viewW = w / scale, viewH = h / scale;
        const float nmPerUnit = static_cast<float>(2.0 * range / std::fmin(viewW, viewH));
        const double cx = viewW / 2.0, cy = viewH / 2.0;
        if (!(range > 0.0) || !std::isfinite(range) || !(nmPerUnit > 0.0f)) {
            return;  // nowhere to aim
        }
        const sim::Aircraft& ownNow = host.scenario().own();

        auto probeDraw = [&](const int32_t words[4]) {
            sim::DrawParameterValues& p = run.probe;
            p.clear();
            applyValues(p, run.values);  // same limits, MaxRange and MaxNumAct as the gauge's
            // A range a hair off the normal one: the frame is redrawn, while the
            // geometry (single precision) stays the same.
            run.probeToggle ^= 1;
            const double up = std::nextafter(range, 1e300);
            p.setReal(run.idRange, run.probeToggle ? up : std::nextafter(up, 1e300));
            p.setReal(run.idHeading, heading);
            p.setReal(run.idCenterX, cx);
            p.setReal(run.idCenterY, cy);
            p.setInteger(run.idFixed, 0);
            p.setReal(run.idSymbol, kProbeSymbolSize);
            p.setInteger(run.idPad, 0);
            p.setInteger(run.idAntiAlias, 0);
            p.setInteger(run.idMaxDisp, kProbeMaxDisplayed);
            for (int k = 0; k < 4; ++k) {
                p.setInteger(run.idDetail[k], words[k]);
            }
            run.display->drawable()->draw(&p, scenario.width, scenario.height, scratch->dc(),
                                          nullptr);
            return gauge.text("toolTipId");
        };

        for (size_t i = 0; i < scenario.traffic.size(); ++i) {
            const sim::Aircraft* a = host.scenario().find(scenario.traffic[i].id);
            AircraftObservation obs;
            obs.id = scenario.traffic[i].id;
            obs.atcId = run.result.intruders[i].atcId;
            if (a != nullptr) {
                float x = 0.0f, y = 0.0f;
                displayOffset(ownNow, *a, heading, nmPerUnit, &x, &y);
                setMouse(run, (x + cx) / viewW, (y + cy) / viewH);
                // The module's id text is at most 10 characters of the host's.
                const std::string expected = obs.atcId.substr(0, 10);
                const int32_t all[4] = {kProbeWord, kProbeWord, kProbeWord, kProbeWord};
                if (!expected.empty() && probeDraw(all) == expected) {
                    obs.found = true;
                    obs.reportedId = expected;
                    obs.altitude = gauge.number("toolTipAlt");
                    obs.distance = gauge.number("toolTipDist");
                    obs.bearing = gauge.number("toolTipBrg");
                    obs.altDiff = gauge.number("toolTipAltDiff");
                    obs.track = gauge.number("toolTipTrackAngle");
                    obs.groundSpeed = gauge.number("toolTipGroundSpeed");
                    obs.radAlt = gauge.number("toolTipRadAlt");
                    const int32_t severe[4] = {0, 0, kProbeWord, kProbeWord};
                    if (probeDraw(severe) == expected) {
                        const int32_t ra[4] = {0, 0, 0, kProbeWord};
                        obs.level = probeDraw(ra) == expected ? 2 : 1;
                    } else {
                        const int32_t prox[4] = {0, kProbeWord, 0, 0};
                        obs.level = probeDraw(prox) == expected ? 0 : -1;
                    }
                }
            }
            record.aircraft.push_back(obs);
        }
        // Back to the gauge's own mouse and parameters: one more frame, so
        // the tool-tip is the normal one again and later draws are not forced.
        setMouse(run, lastMouseX, lastMouseY);
        run.display->draw(scenario.width, scenario.height, scratch->dc());
    };

    auto recordFrame = [&](DisplayRun& run, int frame, double t) {
        FrameRecord record;
        record.frame = frame;
        record.time = t;
        record.properties = readProperties(*run.gauge, s.catalogue);
        record.positions = imagePositions(run, scenario, host.scenario());
        const bool keepImage = interval <= 0.0 || t + 1e-9 >= run.nextImageTime;
        if (keepImage) {
            if (interval > 0.0) {
                while (run.nextImageTime <= t + 1e-9) {
                    run.nextImageTime += interval;
                }
            }
            Image image = canvas->snapshot();
            if (options.overlay) {
                // Centre and scale as the gauge's own drawing would place them.
                const NamedValue* rv = findValue(run.values, run.idRange);
                const double range = rv ? rv->number : run.gauge->number("range");
                const double sc = scenario.hostScale;
                const NamedValue* cxv = findValue(run.values, run.idCenterX);
                const NamedValue* cyv = findValue(run.values, run.idCenterY);
                const double cx = cxv ? cxv->number * sc : (scenario.width / 2);
                const double cy = cyv ? cyv->number * sc : (scenario.height / 2);
                const double pxPerNm = std::fmin(scenario.width, scenario.height) / 2.0 / range;
                drawOwnAircraftOverlay(image, cx, cy, pxPerNm, 2.0);
            }
            char name[64];
            std::snprintf(name, sizeof name, "%s-%04d.png", displayName(run.kind), frame);
            if (writing && options.writeFrames) {
                const std::vector<uint8_t> png = encodePng(image);
                const std::string path = (std::filesystem::path(result.folder) / name).string();
                writeFileAtomic(path, png.data(), png.size());
                result.files.push_back(path);
                record.image = name;
            }
            char caption[48];
            std::snprintf(caption, sizeof caption, "t = %.0f s", t);
            run.sheet.push_back(SheetFrame{std::move(image), caption});
        }
        if (options.probe && frame > 0) {
            probeAircraft(run, record);
        }
        for (size_t i = 0; i < record.aircraft.size(); ++i) {
            const AircraftObservation& o = record.aircraft[i];
            IntruderSummary& sum = run.result.intruders[i];
            if (!o.found) {
                continue;
            }
            sum.seen = true;
            if (o.level > sum.highestLevel) {
                sum.highestLevel = o.level;
            }
            if (o.level >= 1 && sum.firstTaFrame < 0) {
                sum.firstTaFrame = frame;
                sum.firstTaTime = t;
            }
            if (o.level >= 2 && sum.firstRaFrame < 0) {
                sum.firstRaFrame = frame;
                sum.firstRaTime = t;
            }
            if (o.distance < sum.closestNm) {
                sum.closestNm = o.distance;
                sum.closestTime = t;
                sum.closestAltDiff = o.altDiff;
            }
        }
        run.result.frames.push_back(std::move(record));
    };

    // The gauge's frames: the first draw after creation, then one per traffic cycle.
    std::vector<int> frameCount(runs.size(), 0);
    for (long call = 0; call <= calls; ++call) {
        const double t = call * dt;
        if (call > 0) {
            host.advance(dt, ticksPerCall);
        }
        const double mx = mouseAt(scenario.mouse, t, true);
        const double my = mouseAt(scenario.mouse, t, false);
        const bool mouseMoved = !(mx == lastMouseX && my == lastMouseY);
        lastMouseX = mx;
        lastMouseY = my;
        for (auto& run : runs) {
            if (mouseMoved) {
                setMouse(*run, mx, my);
            }
            if (call > 0) {
                run->display->update();
            }
        }
        for (size_t r = 0; r < runs.size(); ++r) {
            DisplayRun& run = *runs[r];
            canvas->clear(options.clearArgb);
            if (run.display->draw(scenario.width, scenario.height, canvas->dc())) {
                recordFrame(run, frameCount[r]++, t);
            }
        }
        if (options.progress && (call % 16 == 0 || call == calls)) {
            options.progress(static_cast<double>(call) / static_cast<double>(calls));
        }
    }

    // Contact sheets and the log.
    for (auto& run : runs) {
        if (writing && options.writeSheet && !run->sheet.empty()) {
            const std::string title = scenario.name + " - " + displayName(run->kind) +
                                      (scenario.title.empty() ? "" : " - " + scenario.title);
            const Image sheet = contactSheet(run->sheet, title, 8);
            const std::vector<uint8_t> png = encodePng(sheet);
            const std::string path = (std::filesystem::path(result.folder) /
                                      (std::string(displayName(run->kind)) + "-sheet.png"))
                                         .string();
            writeFileAtomic(path, png.data(), png.size());
            result.files.push_back(path);
        }
    }
    if (writing && options.writeLog) {
        using Json = nlohmann::ordered_json;
        std::string log;
        Json head = {{"type", "run"},
                     {"scenario", scenario.name},
                     {"title", scenario.title},
                     {"file", scenario.file},
                     {"duration", scenario.durationS},
                     {"ticksPerSecond", scenario.ticksPerSecond},
                     {"callsPerSecond", scenario.callsPerSecond},
                     {"mode", scenario.positionOnly ? "positionOnly" : "full"},
                     {"size", {scenario.width, scenario.height}},
                     {"probes", options.probe}};
        Json displays = Json::array();
        for (auto& run : runs) {
            displays.push_back(displayName(run->kind));
        }
        head["displays"] = displays;
        log += head.dump() + "\n";
        for (auto& run : runs) {
            for (const FrameRecord& f : run->result.frames) {
                Json line = {{"type", "frame"},
                             {"display", displayName(run->kind)},
                             {"frame", f.frame},
                             {"time", number(f.time)}};
                line["image"] = f.image.empty() ? Json(nullptr) : Json(f.image);
                Json props = Json::object();
                for (const PropertyValue& p : f.properties) {
                    if (!p.ok) {
                        props[p.name] = nullptr;
                    } else if (p.isText) {
                        props[p.name] = p.text;
                    } else {
                        props[p.name] = number(p.number);
                    }
                }
                line["properties"] = props;
                Json aircraft = Json::array();
                for (const AircraftObservation& o : f.aircraft) {
                    Json a = {{"id", o.id}, {"atcId", o.atcId}, {"found", o.found}};
                    if (o.found) {
                        const char* level = levelName(o.level);
                        a["level"] = level ? Json(level) : Json(nullptr);
                        a["distance"] = number(o.distance);
                        a["bearing"] = number(o.bearing);
                        a["relativeAltitude"] = number(o.altDiff);
                        a["altitude"] = number(o.altitude);
                        a["groundSpeed"] = number(o.groundSpeed);
                        a["track"] = number(o.track);
                        a["radioAltitude"] = number(o.radAlt);
                    } else {
                        a["level"] = nullptr;
                    }
                    aircraft.push_back(a);
                }
                line["aircraft"] = aircraft;
                Json positions = Json::array();
                for (const ImagePosition& p : f.positions) {
                    positions.push_back({{"id", p.id}, {"x", number(p.x)}, {"y", number(p.y)}});
                }
                line["positions"] = positions;
                log += line.dump() + "\n";
            }
            Json summary = {{"type", "summary"}, {"display", displayName(run->kind)}};
            Json list = Json::array();
            for (const IntruderSummary& i : run->result.intruders) {
                Json e = {{"id", i.id}, {"atcId", i.atcId}, {"seen", i.seen}};
                e["highestLevel"] =
                    levelName(i.highestLevel) ? Json(levelName(i.highestLevel)) : Json(nullptr);
                e["firstTA"] = i.firstTaFrame < 0
                                   ? Json(nullptr)
                                   : Json{{"frame", i.firstTaFrame}, {"time", i.firstTaTime}};
                e["firstRA"] = i.firstRaFrame < 0
                                   ? Json(nullptr)
                                   : Json{{"frame", i.firstRaFrame}, {"time", i.firstRaTime}};
                e["closest"] = !std::isfinite(i.closestNm)
                                   ? Json(nullptr)
                                   : Json{{"distance", number(i.closestNm)},
                                          {"time", i.closestTime},
                                          {"relativeAltitude", number(i.closestAltDiff)}};
                list.push_back(e);
            }
            summary["intruders"] = list;
            log += summary.dump() + "\n";
        }
        const std::string path = (std::filesystem::path(result.folder) / "log.jsonl").string();
        writeFileAtomic(path, log);
        result.files.push_back(path);
    }
    for (auto& run : runs) {
        result.displays.push_back(std::move(run->result));
    }
    return result;
}

}  // namespace cs::preview
