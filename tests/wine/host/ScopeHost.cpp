// Scenario host of the Wine suite: loads the built module as a library (the
// DLL under Wine, the shared object on Linux), hands it the replacement
// host's services, starts it, runs every encounter scenario through one TCAS
// and one radar gauge, and writes what a panel would see:
//
//   <out>/<scenario>-<display>-<cycle>.png   every frame the display drew
//   <out>/log.jsonl                          one JSON object per line:
//     {"event":"start", ...}   registrations made by DLLStart
//     {"event":"cycle", ...}   published properties after each cycle's draw,
//                              with the host's own geometry of every aircraft
//     {"event":"stop", ...}    unregistrations made by DLLStop
//     {"event":"fonts", ...}   (Windows) which font families GDI+ finds
//
// Usage: scope_host <module> <out folder> [importtable|panels] [scenario...]
// Exit code: the number of scenarios that could not be run.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "simhost/Canvas.h"
#include "simhost/GaugeHost.h"
#include "simhost/ModuleLoader.h"
#include "simhost/Scenario.h"
#include "simhost/SimHost.h"
#include "tests/wine/host/PngWriter.h"
#include "tests/wine/host/Scenarios.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

using cs::sim::GaugeHost;
using cs::sim::HandOverRoute;
using cs::sim::ModuleLoader;
using cs::sim::SimHost;

constexpr int kCanvasSize = 400;
constexpr double kRangeNm = 10.0;  // 10 nm over 200 px: 0.05 nm per pixel
constexpr double kSymbolSize = 4.0;
constexpr uint32_t kUntouched = 0xFF303030u;  // canvas colour before each draw

// A canvas of the platform: the device context the module draws into.
class Canvas {
  public:
    Canvas() : canvas_(kCanvasSize, kCanvasSize) {}
    cs::DeviceContext dc() const { return canvas_.dc(); }
    void clear() { canvas_.clear(kUntouched); }
    uint32_t pixel(int x, int y) const { return canvas_.pixel(x, y); }
    bool save(const std::string& path) const {
        return cs::winetest::writePng(path, kCanvasSize, kCanvasSize,
                                      [this](int x, int y) { return canvas_.pixel(x, y); });
    }

  private:
    cs::sim::Canvas canvas_;
};

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string jsonNumber(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char text[40];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

// Initial true course from the own aircraft to a target, degrees 0 to 360.
double bearingDeg(double lat1, double lon1, double lat2, double lon2) {
    const double k = cs::sim::kDegreesPerRadian;
    const double p1 = lat1 / k, p2 = lat2 / k, dl = (lon2 - lon1) / k;
    const double b =
        std::atan2(std::sin(dl) * std::cos(p2),
                   std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl));
    return std::fmod(b * k + 360.0, 360.0);
}

std::string registrations(const SimHost& host, size_t from, bool removals) {
    std::string out = "[";
    const auto& log = host.registrationLog();
    bool first = true;
    for (size_t i = from; i < log.size(); ++i) {
        if ((log[i].callback == nullptr) != removals) {
            continue;
        }
        out += first ? "" : ",";
        out += jsonString(log[i].name);
        first = false;
    }
    return out + "]";
}

// The traffic as the host knows it, with where each aircraft's symbol
// centre belongs on the canvas of a north-up display.
std::string aircraftJson(SimHost& host) {
    const cs::sim::Aircraft& own = host.scenario().own();
    const double nmPerPixel = static_cast<double>(static_cast<float>(2.0 * kRangeNm / kCanvasSize));
    std::string out = "[";
    bool first = true;
    for (const cs::sim::Aircraft& a : host.scenario().traffic()) {
        const double dist =
            cs::sim::greatCircleDistanceNm(own.latitude, own.longitude, a.latitude, a.longitude);
        const double brg = bearingDeg(own.latitude, own.longitude, a.latitude, a.longitude);
        const double x =
            kCanvasSize / 2 + std::sin(brg / cs::sim::kDegreesPerRadian) * dist / nmPerPixel;
        const double y =
            kCanvasSize / 2 - std::cos(brg / cs::sim::kDegreesPerRadian) * dist / nmPerPixel;
        out += first ? "" : ",";
        first = false;
        out += "{\"id\":" + std::to_string(a.id) + ",\"name\":" + jsonString(a.atcId) +
               ",\"dist\":" + jsonNumber(dist) + ",\"brg\":" + jsonNumber(brg) +
               ",\"altDiff\":" + jsonNumber(a.indicatedAltitude - own.indicatedAltitude) +
               ",\"vs\":" + jsonNumber(a.verticalSpeed) + ",\"x\":" + jsonNumber(x) +
               ",\"y\":" + jsonNumber(y) + "}";
    }
    return out + "]";
}

struct Display {
    const char* name;  // the property name that selects it
    std::unique_ptr<GaugeHost> gauge;
};

// One scenario from module load to unload; false when it could not run.
bool runScenario(const cs::winetest::ScenarioPlan& plan, const std::string& modulePath,
                 const std::string& outDir, HandOverRoute route, const char* routeName, FILE* log) {
    cs::sim::SimHostOptions options;
    options.addRefOnRegister = true;  // as the simulator, the host keeps its own references
    SimHost host(options);
    ModuleLoader module;
    if (!module.load(modulePath)) {
        std::fprintf(stderr, "%s: cannot load %s: %s\n", plan.name.c_str(), modulePath.c_str(),
                     module.error().c_str());
        return false;
    }
    if (!module.handOver(host.services(), route) || !module.start()) {
        std::fprintf(stderr, "%s: no hand-over or start\n", plan.name.c_str());
        return false;
    }
    std::fprintf(log, "{\"event\":\"start\",\"scenario\":%s,\"route\":\"%s\",\"registered\":%s}\n",
                 jsonString(plan.name).c_str(), routeName, registrations(host, 0, false).c_str());
    plan.build(host);

    bool ok = true;
    {
        Canvas canvas;
        Display displays[2] = {{"tcas", nullptr}, {"radar", nullptr}};
        for (Display& d : displays) {
            d.gauge = std::make_unique<GaugeHost>(host);
            if (!d.gauge->create("va9vedored", d.name)) {
                std::fprintf(stderr, "%s: no %s gauge (stage %d)\n", plan.name.c_str(), d.name,
                             static_cast<int>(d.gauge->stage()));
                ok = false;
                continue;
            }
            d.gauge->display().set("Range", kRangeNm);
            d.gauge->display().set("SymbolSize", kSymbolSize);
        }
        for (int cycle = 1; ok && cycle <= plan.cycles; ++cycle) {
            // One second at the host's rate: 18 ticks, one traffic cycle per drawable.
            for (int tick = 0; tick < 18; ++tick) {
                host.advance(1.0 / 18.0, 1.0);
                for (Display& d : displays) {
                    d.gauge->update();
                }
            }
            const std::string traffic = aircraftJson(host);
            for (Display& d : displays) {
                canvas.clear();
                const bool drew = d.gauge->display().draw(kCanvasSize, kCanvasSize, canvas.dc());
                char file[128];
                std::snprintf(file, sizeof file, "%s-%s-%02d.png", plan.name.c_str(), d.name,
                              cycle);
                if (drew && !canvas.save(outDir + "/" + file)) {
                    std::fprintf(stderr, "cannot write %s\n", file);
                }
                const GaugeHost& g = *d.gauge;
                std::fprintf(
                    log,
                    "{\"event\":\"cycle\",\"scenario\":%s,\"route\":\"%s\",\"display\":\"%s\","
                    "\"cycle\":%d,\"time\":%s,\"drew\":%s,\"frame\":%s,\"advisory\":%s,"
                    "\"advisoryId\":%s,\"advisoryDist\":%s,\"advisoryBrg\":%s,"
                    "\"advisoryAltDiff\":%s,\"advisoryGroundSpeed\":%s,\"toolTip\":%s,"
                    "\"aircraft\":%s}\n",
                    jsonString(plan.name).c_str(), routeName, d.name, cycle,
                    jsonNumber(host.time()).c_str(), drew ? "true" : "false",
                    drew ? jsonString(file).c_str() : "null",
                    jsonNumber(g.number("advisory")).c_str(),
                    jsonString(g.text("advisoryId")).c_str(),
                    jsonNumber(g.number("advisoryDist")).c_str(),
                    jsonNumber(g.number("advisoryBrg")).c_str(),
                    jsonNumber(g.number("advisoryAltDiff")).c_str(),
                    jsonNumber(g.number("advisoryGroundSpeed")).c_str(),
                    jsonString(g.text("toolTip")).c_str(), traffic.c_str());
            }
        }
    }  // gauges (drawables first) released before the module stops

    const size_t before = host.registrationLog().size();
    module.stop();
    std::fprintf(
        log,
        "{\"event\":\"stop\",\"scenario\":%s,\"route\":\"%s\",\"unregistered\":%s,"
        "\"registered\":%s,\"stillFound\":%s}\n",
        jsonString(plan.name).c_str(), routeName, registrations(host, before, true).c_str(),
        registrations(host, before, false).c_str(),
        (host.find("va9vedored") != nullptr || host.find("ContactScope") != nullptr) ? "true"
                                                                                     : "false");
    std::fflush(log);
    return ok;
}

#if defined(_WIN32)
// Which families GDI+ finds in this installation: the displays ask for
// "Arial" and fall back to the generic sans-serif family.
extern "C" {
struct StartupInput {
    UINT32 version;
    void* debugCallback;
    BOOL suppressBackgroundThread;
    BOOL suppressExternalCodecs;
};
int WINAPI GdiplusStartup(ULONG_PTR* token, const StartupInput* input, void* output);
void WINAPI GdiplusShutdown(ULONG_PTR token);
int WINAPI GdipCreateFontFamilyFromName(const WCHAR* name, void* collection, void** family);
int WINAPI GdipGetGenericFontFamilySansSerif(void** family);
int WINAPI GdipGetFamilyName(void* family, WCHAR* name, LANGID language);
int WINAPI GdipDeleteFontFamily(void* family);
}

void logFonts(FILE* log) {
    ULONG_PTR token = 0;
    StartupInput input{1, nullptr, FALSE, FALSE};
    GdiplusStartup(&token, &input, nullptr);
    void* arial = nullptr;
    const bool hasArial = GdipCreateFontFamilyFromName(L"Arial", nullptr, &arial) == 0;
    if (arial != nullptr) {
        GdipDeleteFontFamily(arial);
    }
    void* sans = nullptr;
    char sansName[64] = "";
    if (GdipGetGenericFontFamilySansSerif(&sans) == 0 && sans != nullptr) {
        WCHAR wide[32] = {};
        GdipGetFamilyName(sans, wide, 0);
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, sansName, sizeof sansName, nullptr, nullptr);
    }
    std::fprintf(log, "{\"event\":\"fonts\",\"arialInstalled\":%s,\"genericSansSerif\":%s}\n",
                 hasArial ? "true" : "false", jsonString(sansName).c_str());
    if (token != 0) {
        GdiplusShutdown(token);
    }
}
#endif

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <module> <out folder> [importtable|panels] [scenario...]\n",
                     argv[0]);
        return 100;
    }
    const std::string modulePath = argv[1];
    const std::string outDir = argv[2];
    HandOverRoute route = HandOverRoute::ImportTable;
    const char* routeName = "importtable";
    int first = 3;
    if (argc > 3 && std::string(argv[3]) == "panels") {
        route = HandOverRoute::Panels;
        routeName = "panels";
        first = 4;
    } else if (argc > 3 && std::string(argv[3]) == "importtable") {
        first = 4;
    }
    std::vector<const cs::winetest::ScenarioPlan*> selected;
    for (int i = first; i < argc; ++i) {
        const cs::winetest::ScenarioPlan* plan = cs::winetest::findScenario(argv[i]);
        if (plan == nullptr) {
            std::fprintf(stderr, "unknown scenario %s\n", argv[i]);
            return 100;
        }
        selected.push_back(plan);
    }
    if (selected.empty()) {
        for (const cs::winetest::ScenarioPlan& plan : cs::winetest::scenarios()) {
            selected.push_back(&plan);
        }
    }
    FILE* log = std::fopen((outDir + "/log.jsonl").c_str(), "w");
    if (log == nullptr) {
        std::fprintf(stderr, "cannot write %s/log.jsonl\n", outDir.c_str());
        return 100;
    }
#if defined(_WIN32)
    logFonts(log);
#else
    // The Linux module pulls in Pango and GLib, whose type registry does not
    // survive being unloaded and loaded again; pin the module (and with it
    // those libraries) for the life of the process so that every scenario
    // can load and unload it as the simulator would.
    if (dlopen(modulePath.c_str(), RTLD_NOW | RTLD_NODELETE) == nullptr) {
        std::fprintf(stderr, "cannot load %s: %s\n", modulePath.c_str(), dlerror());
        return 100;
    }
#endif
    int failures = 0;
    for (const cs::winetest::ScenarioPlan* plan : selected) {
        if (!runScenario(*plan, modulePath, outDir, route, routeName, log)) {
            ++failures;
        }
    }
    std::fclose(log);
    return failures;
}
