#include "tools/workbench/Workbench.h"

#include <cairo/cairo.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "simhost/ModuleLoader.h"
#include "simhost/SimHost.h"
#include "tools/gauge/GaugeReader.h"
#include "tools/gauge/PanelConfig.h"
#include "tools/preview/ImageFiles.h"
#include "tools/workbench/Compositor.h"
#include "tools/workbench/ScenarioTraffic.h"

#if !defined(_WIN32)
#include <dlfcn.h>
#endif

namespace cs::workbench {

namespace fs = std::filesystem;

namespace {

struct View {
    std::string name;  // output file prefix: the gauge's name, or "window09"
    int width = 0, height = 0;
};

struct PlacedGauge {
    gauge::GaugeFile file;
    Placement placement;
    size_t view = 0;
    GaugeImages images;
};

double mouseAt(const std::vector<preview::MouseKey>& keys, double t, bool x) {
    double v = 0.5;  // the middle until the first key
    for (const preview::MouseKey& k : keys) {
        if (k.atS <= t + 1e-9) {
            v = x ? k.x : k.y;
        }
    }
    return v;
}

std::string seconds(double t) {
    char buffer[32];
    if (std::fabs(t - std::round(t)) < 1e-6) {
        std::snprintf(buffer, sizeof buffer, "%.0f", t);
    } else {
        std::snprintf(buffer, sizeof buffer, "%.2f", t);
    }
    return buffer;
}

void collectElements(const gauge::Node& node, const std::vector<NodeState>& states,
                     std::vector<ElementLog>& out) {
    const NodeState& st = states[static_cast<size_t>(node.id)];
    if (node.kind == gauge::NodeKind::Element || node.kind == gauge::NodeKind::Text) {
        ElementLog e;
        e.line = node.line;
        e.text = node.kind == gauge::NodeKind::Text;
        e.visible = st.visible;
        e.string = st.text;
        out.push_back(std::move(e));
    }
    for (const gauge::Node& c : node.children) {
        collectElements(c, states, out);
    }
}

nlohmann::ordered_json jsonNumber(double v) {
    if (!std::isfinite(v)) {
        return nullptr;
    }
    return std::round(v * 1e4) / 1e4;
}

}  // namespace

struct Workbench::State {
    sim::SimHost host;
    sim::ModuleLoader loader;
    PropertyCatalogue catalogue{host};
    std::vector<std::unique_ptr<PlacedGauge>> gauges;
    std::vector<View> views;
    preview::ModuleVocabulary vocabulary;
};

Workbench::Workbench() = default;
Workbench::~Workbench() {
    if (state_) {
        state_->gauges.clear();
        state_->loader.unload();  // stops the module first
    }
}

bool Workbench::open(const std::string& modulePath, std::string* error) {
    state_ = std::make_unique<State>();
    State& s = *state_;
    if (!s.loader.load(modulePath)) {
        *error = "cannot load the module " + modulePath + ": " + s.loader.error();
        return false;
    }
#if !defined(_WIN32)
    // As the preview does: keep the drawing libraries' one-time caches mapped.
    dlopen(modulePath.c_str(), RTLD_NOW | RTLD_NODELETE);
#endif
    if (!s.loader.handOver(s.host.services()) || !s.loader.start()) {
        *error = "the module " + modulePath + " has no import record or could not be started";
        return false;
    }
    // The names a scenario may use, from a scratch TCAS display.
    sim::GaugeHost scratch(s.host);
    if (!scratch.create("va9vedored", "tcas")) {
        *error = "the module would not create a TCAS display";
        return false;
    }
    for (const sim::ParameterDeclaration& d : scratch.display().declarations().declarations()) {
        s.vocabulary.parameters.push_back({d.name, d.id, d.type});
    }
    IPanelCCallback* panel = scratch.panel();
    s.vocabulary.propertyId = [panel](const std::string& name, int32_t* id) {
        return panel->propertyNameToId(name.c_str(), id);
    };
    PropertyCatalogue* catalogue = &s.catalogue;
    s.vocabulary.propertyWritable = [catalogue, panel](int32_t id) {
        char name[64] = {};
        char* buffer = name;
        if (!panel->propertyIdToName(id, &buffer)) {
            return false;
        }
        const PropertyCatalogue::Property* p = catalogue->find(panel, name);
        return p != nullptr && p->writable;
    };
    return true;
}

void Workbench::resolve(preview::PreviewScenario& scenario) {
    preview::resolveNames(scenario, state_->vocabulary);
}

namespace {

// Finds the file of a panel's gauge line.
std::string findPanelGauge(const WorkbenchOptions& options, const gauge::PanelGauge& g,
                           std::vector<std::string>* tried) {
    const fs::path beside = fs::path(options.panel).parent_path();
    std::vector<fs::path> candidates;
    if (!options.gaugesDir.empty()) {
        candidates.push_back(fs::path(options.gaugesDir) / (g.name + ".xml"));
    }
    candidates.push_back(beside / g.folder / (g.name + ".xml"));
    candidates.push_back(beside / (g.name + ".xml"));  // a kit: gauges beside the panel.cfg
    for (const fs::path& c : candidates) {
        std::error_code ec;
        if (fs::is_regular_file(c, ec)) {
            return c.string();
        }
        tried->push_back(c.string());
    }
    return std::string();
}

bool readText(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    text->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace

bool Workbench::load(const WorkbenchOptions& options, gauge::Diagnostics& d) {
    State& s = *state_;
    s.gauges.clear();
    s.views.clear();
    const size_t errors = d.errorCount();
    gauge::PanelWindow window;
    if (!options.panel.empty()) {
        std::string text;
        if (!readText(options.panel, &text)) {
            d.error(gauge::Origin{options.panel, 0, ""}, "cannot read the file");
            return false;
        }
        if (text.size() > gauge::kMaxGaugeFileBytes) {
            d.error(gauge::Origin{options.panel, 1, ""}, "too large for a panel.cfg");
            return false;
        }
        if (!gauge::readPanelWindow(text, options.panel, options.window, window, d)) {
            return false;
        }
        char name[32];
        std::snprintf(name, sizeof name, "window%02d", options.window);
        s.views.push_back(View{name, 0, 0});
        for (const gauge::PanelGauge& g : window.gauges) {
            std::vector<std::string> tried;
            const std::string path = findPanelGauge(options, g, &tried);
            const gauge::Origin at{options.panel, g.line, ""};
            if (path.empty()) {
                std::string list;
                for (const std::string& t : tried) {
                    list += (list.empty() ? "" : ", ") + t;
                }
                d.error(at, g.folder + "!" + g.name + ": no gauge file; looked for " + list);
                continue;
            }
            auto placed = std::make_unique<PlacedGauge>();
            gauge::readGaugeFile(path, placed->file, d);
            placed->placement = Placement{g.x, g.y, g.width, g.height};
            s.gauges.push_back(std::move(placed));
        }
    }
    for (const std::string& path : options.gauges) {
        auto placed = std::make_unique<PlacedGauge>();
        gauge::readGaugeFile(path, placed->file, d);
        placed->view = s.views.size();
        s.views.push_back(View{placed->file.name, 0, 0});
        s.gauges.push_back(std::move(placed));
    }
    for (auto& placed : s.gauges) {
        gauge::GaugeFile& f = placed->file;
        placed->images.load(f, d);
        if (f.width <= 0 || f.height <= 0) {
            cairo_surface_t* bg = placed->images.find(f.background);
            if (bg == nullptr) {
                continue;  // unreadable; already reported
            }
            f.width = cairo_image_surface_get_width(bg);
            f.height = cairo_image_surface_get_height(bg);
        }
        Placement& p = placed->placement;
        if (p.width <= 0 && p.height <= 0) {
            p.width = f.width;
            p.height = f.height;
        } else if (p.height <= 0) {
            p.height = p.width * f.height / f.width;
        }
        View& v = s.views[placed->view];
        if (options.panel.empty() || placed->view > 0) {
            v.width = std::max(v.width, static_cast<int>(std::lround(p.x + p.width)));
            v.height = std::max(v.height, static_cast<int>(std::lround(p.y + p.height)));
        }
        // Every name against the module: a scratch run of the gauge.
        LocalVariables locals;
        GaugeRuntime runtime(f, s.host, locals, s.catalogue, p);
        runtime.prepare(d);
    }
    if (!options.panel.empty() && !s.views.empty()) {
        View& v = s.views[0];
        v.width = static_cast<int>(std::lround(window.width));
        v.height = static_cast<int>(std::lround(window.height));
        for (auto& placed : s.gauges) {
            const Placement& p = placed->placement;
            if (placed->view == 0 && window.width <= 0) {
                v.width = std::max(v.width, static_cast<int>(std::lround(p.x + p.width)));
            }
            if (placed->view == 0 && window.height <= 0) {
                v.height = std::max(v.height, static_cast<int>(std::lround(p.y + p.height)));
            }
        }
    }
    for (const View& v : s.views) {
        if (v.width < 1 || v.height < 1 || v.width > 8192 || v.height > 8192) {
            d.error(gauge::Origin{options.panel.empty() ? v.name : options.panel, 0, ""},
                    "the picture would be " + std::to_string(v.width) + " x " +
                        std::to_string(v.height) + " pixels; expected 1 to 8192 each way");
        }
    }
    return d.errorCount() == errors && !s.gauges.empty();
}

ScenarioRun Workbench::run(const preview::PreviewScenario& scenario,
                           const WorkbenchOptions& options, gauge::Diagnostics& d) {
    State& s = *state_;
    sim::SimHost& host = s.host;
    ScenarioRun result;
    result.scenario = scenario.name;
    placeTraffic(host, scenario);

    LocalVariables locals;
    for (const preview::NamedValue& v : scenario.localVariables) {
        locals.set(v.name, v.number);
    }
    std::vector<std::unique_ptr<GaugeRuntime>> runtimes;
    for (auto& placed : s.gauges) {
        runtimes.push_back(std::make_unique<GaugeRuntime>(placed->file, host, locals, s.catalogue,
                                                          placed->placement));
        gauge::Diagnostics prepare;
        if (!runtimes.back()->prepare(prepare)) {
            throw std::runtime_error(prepare.problems().at(0).text());
        }
        for (const preview::NamedValue& v : scenario.gauge) {
            runtimes.back()->setProperty(v.id, v.number);
        }
    }

    if (!options.outDir.empty()) {
        result.folder = (fs::path(options.outDir) / scenario.name).string();
        std::error_code ec;
        fs::create_directories(result.folder, ec);
        if (ec) {
            throw std::runtime_error("cannot create the folder " + result.folder + ": " +
                                     ec.message());
        }
    }
    const bool writing = !result.folder.empty();
    std::vector<std::unique_ptr<Compositor>> compositors;
    for (const View& v : s.views) {
        compositors.push_back(std::make_unique<Compositor>(v.width, v.height));
        if (!compositors.back()->valid()) {
            throw std::runtime_error("cannot make a picture of " + std::to_string(v.width) + " x " +
                                     std::to_string(v.height) + " pixels");
        }
    }

    double interval =
        options.frameIntervalS >= 0.0 ? options.frameIntervalS : scenario.frameIntervalS;
    if (interval <= 0.0) {
        interval = 1.0;  // every traffic cycle
    }
    const double dt = 1.0 / scenario.callsPerSecond;
    const double ticksPerCall = scenario.ticksPerSecond / scenario.callsPerSecond;
    const long calls =
        static_cast<long>(std::floor(scenario.durationS * scenario.callsPerSecond + 0.5));
    double nextImage = 0.0;
    double lastX = std::nan(""), lastY = std::nan("");
    for (long call = 0; call <= calls; ++call) {
        const double t = call * dt;
        if (call > 0) {
            host.advance(dt, ticksPerCall);
        }
        const double mx = mouseAt(scenario.mouse, t, true);
        const double my = mouseAt(scenario.mouse, t, false);
        const bool moved = !(mx == lastX && my == lastY);
        lastX = mx;
        lastY = my;
        for (size_t i = 0; i < runtimes.size(); ++i) {
            const View& v = s.views[s.gauges[i]->view];
            const Placement& p = runtimes[i]->placement();
            runtimes[i]->mouse((mx * v.width - p.x) / runtimes[i]->scaleX(),
                               (my * v.height - p.y) / runtimes[i]->scaleY(), moved, d);
        }
        for (auto& runtime : runtimes) {
            runtime->tick(call > 0, t, d);
        }
        if (t + 1e-9 < nextImage) {
            continue;
        }
        while (nextImage <= t + 1e-9) {
            nextImage += interval;
        }
        std::vector<std::pair<std::string, double>> localValues;
        for (size_t i = 0; i < locals.names.size(); ++i) {
            localValues.emplace_back(locals.names[i], locals.values[i]);
        }
        for (size_t v = 0; v < s.views.size(); ++v) {
            ViewFrame frame;
            frame.view = s.views[v].name;
            frame.time = t;
            frame.locals = localValues;
            Compositor& c = *compositors[v];
            c.clear();
            for (size_t i = 0; i < runtimes.size(); ++i) {
                if (s.gauges[i]->view != v) {
                    continue;
                }
                c.draw(*runtimes[i], s.gauges[i]->images);
                GaugeFrame g;
                g.gauge = s.gauges[i]->file.name;
                for (const gauge::Node& n : s.gauges[i]->file.elements) {
                    collectElements(n, runtimes[i]->states(), g.elements);
                }
                g.tooltip = runtimes[i]->tooltip();
                g.properties = runtimes[i]->takeAccesses();
                frame.gauges.push_back(std::move(g));
            }
            sim::Image picture = c.image();
            if (writing && options.writeFrames) {
                char name[96];
                std::snprintf(name, sizeof name, "%s-%04ld.png", frame.view.c_str(),
                              std::lround(t));
                const std::vector<uint8_t> png = preview::encodePng(picture);
                const std::string path = (fs::path(result.folder) / name).string();
                preview::writeFileAtomic(path, png.data(), png.size());
                result.files.push_back(path);
                frame.image = name;
            }
            if (options.keepImages) {
                frame.picture = std::move(picture);
            }
            result.frames.push_back(std::move(frame));
        }
    }
    for (size_t i = 0; i < runtimes.size(); ++i) {
        result.texts.push_back(
            GaugeTexts{s.gauges[i]->file.file, s.gauges[i]->file.name, runtimes[i]->texts()});
    }

    if (writing && options.writeLog) {
        using Json = nlohmann::ordered_json;
        std::string log;
        Json views = Json::array();
        for (const View& v : s.views) {
            views.push_back({{"name", v.name}, {"size", {v.width, v.height}}});
        }
        Json gauges = Json::array();
        for (const auto& placed : s.gauges) {
            const Placement& p = placed->placement;
            gauges.push_back({{"name", placed->file.name},
                              {"file", placed->file.file},
                              {"view", s.views[placed->view].name},
                              {"place", {p.x, p.y, p.width, p.height}}});
        }
        log += Json{{"type", "run"},
                    {"scenario", scenario.name},
                    {"title", scenario.title},
                    {"file", scenario.file},
                    {"duration", scenario.durationS},
                    {"views", views},
                    {"gauges", gauges}}
                   .dump() +
               "\n";
        for (const ViewFrame& f : result.frames) {
            Json line = {{"type", "frame"}, {"view", f.view}, {"time", jsonNumber(f.time)}};
            line["image"] = f.image.empty() ? Json(nullptr) : Json(f.image);
            Json gs = Json::array();
            for (const GaugeFrame& g : f.gauges) {
                Json elements = Json::array();
                for (const ElementLog& e : g.elements) {
                    Json je = {{"line", e.line}, {"visible", e.visible}};
                    if (e.text) {
                        je["string"] = e.string;
                    }
                    elements.push_back(je);
                }
                Json props = Json::array();
                for (const PropertyAccess& a : g.properties) {
                    Json v = a.value.isText ? Json(a.value.text) : jsonNumber(a.value.number);
                    props.push_back({{"name", a.name}, {a.written ? "written" : "read", v}});
                }
                gs.push_back({{"gauge", g.gauge},
                              {"elements", elements},
                              {"tooltip", g.tooltip},
                              {"C", props}});
            }
            line["gauges"] = gs;
            Json l = Json::object();
            for (const auto& [name, value] : f.locals) {
                l[name] = jsonNumber(value);
            }
            line["L"] = l;
            log += line.dump() + "\n";
        }
        Json texts = Json::array();
        for (const GaugeTexts& g : result.texts) {
            for (const TextShown& t : g.texts) {
                Json first = t.time < 0 ? Json(nullptr)
                                        : Json{{"time", jsonNumber(t.time)}, {"string", t.text}};
                texts.push_back({{"gauge", g.gauge}, {"line", t.line}, {"firstShown", first}});
            }
        }
        log += Json{{"type", "summary"}, {"texts", texts}}.dump() + "\n";
        const std::string path = (fs::path(result.folder) / "log.jsonl").string();
        preview::writeFileAtomic(path, log);
        result.files.push_back(path);
    }
    return result;
}

std::string Workbench::summary(const preview::PreviewScenario& scenario, const ScenarioRun& run) {
    std::string out = scenario.name;
    if (!scenario.title.empty()) {
        out += " - " + scenario.title;
    }
    out += " (" + seconds(scenario.durationS) + " s)\n";
    for (const GaugeTexts& g : run.texts) {
        const std::string file = fs::path(g.file).filename().string();
        for (const TextShown& t : g.texts) {
            char line[512];
            const std::string where = file + ":" + std::to_string(t.line);
            if (t.time < 0.0) {
                std::snprintf(line, sizeof line, "  %-28s (text) never showed\n", where.c_str());
            } else {
                std::snprintf(line, sizeof line, "  %-28s %s appeared at %s s\n", where.c_str(),
                              t.text.substr(0, 60).c_str(), seconds(t.time).c_str());
            }
            out += line;
        }
    }
    if (!run.folder.empty()) {
        out += "  -> " + run.folder + "\n";
    }
    return out;
}

namespace {

void printProblems(const gauge::Diagnostics& d) {
    for (const gauge::Problem& p : d.problems()) {
        if (p.severity == gauge::Severity::Error) {
            std::fprintf(stderr, "%s\n", p.text().c_str());
        } else {
            gauge::Problem w = p;
            w.message = "warning: " + w.message;
            std::fprintf(stderr, "%s\n", w.text().c_str());
        }
    }
    if (d.dropped() > 0) {
        std::fprintf(stderr, "... and %zu more problems\n", d.dropped());
    }
}

}  // namespace

int runWorkbench(const WorkbenchOptions& options, const std::string& modulePath,
                 std::vector<preview::PreviewScenario>& scenarios, bool check, bool quiet) {
    Workbench bench;
    std::string error;
    if (!bench.open(modulePath, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    gauge::Diagnostics d;
    const bool ok = bench.load(options, d);
    printProblems(d);
    try {
        for (preview::PreviewScenario& s : scenarios) {
            bench.resolve(s);
        }
    } catch (const preview::InputError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }
    if (!ok) {
        std::fprintf(stderr, "%zu error(s), %zu warning(s); nothing was run\n", d.errorCount(),
                     d.warningCount());
        return 2;
    }
    if (check) {
        std::printf("ok: %zu warning(s)\n", d.warningCount());
        return 0;
    }
    gauge::Diagnostics runtime;
    try {
        for (const preview::PreviewScenario& s : scenarios) {
            const ScenarioRun run = bench.run(s, options, runtime);
            if (!quiet) {
                std::fputs(Workbench::summary(s, run).c_str(), stdout);
                std::fflush(stdout);
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    printProblems(runtime);
    return 0;
}

}  // namespace cs::workbench
