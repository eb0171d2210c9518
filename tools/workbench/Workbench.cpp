#include "tools/workbench/Workbench.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "tools/gauge/MouseKinds.h"
#include "tools/output/ImageFiles.h"
#include "tools/scenario/InputError.h"
#include "tools/session/ScenarioTraffic.h"
#include "tools/workbench/Compositor.h"
#include "tools/workbench/WorkbenchLog.h"
#include "tools/workbench/WorkbenchState.h"

namespace cs::workbench {

namespace fs = std::filesystem;

namespace {

double mouseAt(const std::vector<preview::MouseKey>& keys, double t, bool x) {
    double v = 0.5;  // the middle until the first key
    for (const preview::MouseKey& k : keys) {
        if (k.atS <= t + 1e-9) {
            v = x ? k.x : k.y;
        }
    }
    return v;
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

// A picture's file name from its time: "<view>-0042.png" at a whole second,
// "<view>-0042.500.png" between seconds, so that pictures less than a second
// apart each have their own file; a name the previous picture already took
// (calls under a millisecond apart) gets the time's full digits.
std::string pictureName(const std::string& view, double t, const std::string& previous) {
    char name[160];
    const double whole = std::round(t);
    if (std::fabs(t - whole) < 1e-6) {
        std::snprintf(name, sizeof name, "%s-%04.0f.png", view.c_str(), whole);
    } else {
        std::snprintf(name, sizeof name, "%s-%08.3f.png", view.c_str(), t);
    }
    if (previous == name) {
        std::snprintf(name, sizeof name, "%s-%.9f.png", view.c_str(), t);
    }
    return name;
}

}  // namespace

Workbench::Workbench() = default;
Workbench::~Workbench() {
    if (state_) {
        state_->gauges.clear();
        state_->session.close();  // stops the module, then unloads it
    }
}

bool Workbench::open(const std::string& modulePath, std::string* error) {
    state_ = std::make_unique<State>();
    if (!state_->session.open(modulePath)) {
        *error = state_->session.error();
        return false;
    }
    return true;
}

void Workbench::useReplayer(std::unique_ptr<Replayer> replayer) {
    if (state_ && replayer) {
        state_->replayer = std::move(replayer);
    }
}

void Workbench::resolve(preview::PreviewScenario& scenario) {
    preview::resolveNames(scenario, state_->session.vocabulary());
    state_->inputs.admit(scenario);
    for (const preview::MouseKey& k : scenario.mouse) {
        if (!k.click.empty() && gauge::mouseKind(k.click) == 0) {
            throw preview::InputError(scenario.file, k.line, "mouse",
                                      "\"" + k.click + "\" is not a click" +
                                          gauge::didYouMean(k.click, gauge::mouseKindNames()));
        }
    }
}

// The clicks of the mouse track due by `t`, each to the topmost gauge (the
// last placed) with an area that takes it there.
void Workbench::clicks(const preview::PreviewScenario& scenario, double t,
                       const std::vector<GaugeRuntime*>& runtimes, ScenarioRun& result,
                       gauge::Diagnostics& d) {
    State& s = *state_;
    for (const preview::MouseKey& k : scenario.mouse) {
        if (k.click.empty() || k.atS > t + 1e-9 || k.atS <= s.clickedUntil + 1e-9) {
            continue;
        }
        const uint32_t kind = gauge::mouseKind(k.click);
        for (const View& v : s.views) {
            ClickLog log{t, v.name, gauge::mouseKindName(kind), k.x, k.y, "", 0};
            for (size_t i = runtimes.size(); i-- > 0 && log.line == 0;) {
                if (s.views[s.gauges[i]->view].name != v.name) {
                    continue;
                }
                const Placement& p = runtimes[i]->placement();
                log.line =
                    runtimes[i]->click((k.x * v.width - p.x) / runtimes[i]->scaleX(),
                                       (k.y * v.height - p.y) / runtimes[i]->scaleY(), kind, d);
                log.gauge = log.line != 0 ? s.gauges[i]->file.name : "";
            }
            result.clicks.push_back(std::move(log));
        }
    }
    s.clickedUntil = t;
}

ScenarioRun Workbench::run(const preview::PreviewScenario& scenario,
                           const WorkbenchOptions& options, gauge::Diagnostics& d) {
    State& s = *state_;
    sim::SimHost& host = s.session.host();
    ScenarioRun result;
    result.scenario = scenario.name;
    preview::loadTraffic(host, scenario);

    // The gauges as loaded run the first scenario; each further one gets
    // them made anew (fresh displays, variables from the start), as do
    // gauges prepared before the host's clock went back to 0 for this run
    // (a module never sees its time run backwards in the simulator), or
    // before a scenario brought aircraft variables they could bind.
    s.inputs.use(scenario);
    s.clickedUntil = -1.0;
    if (s.runtimesUsed || s.preparedAt != 0.0 || s.inputsPrepared != s.inputs.givenCount()) {
        for (auto& placed : s.gauges) {
            placed->runtime.reset();
        }
        s.locals = LocalVariables{};
        for (auto& placed : s.gauges) {
            placed->runtime = std::make_unique<GaugeRuntime>(
                placed->file, host, s.locals, s.inputs, s.session.catalogue(), placed->placement);
            gauge::Diagnostics prepare;
            if (!placed->runtime->prepare(prepare)) {
                throw std::runtime_error(prepare.problems().at(0).text());
            }
        }
    }
    s.runtimesUsed = true;
    s.inputsPrepared = s.inputs.givenCount();
    s.preparedAt = 0.0;
    LocalVariables& locals = s.locals;
    std::fill(locals.values.begin(), locals.values.end(), 0.0);
    for (const preview::NamedValue& v : scenario.localVariables) {
        locals.set(v.name, v.number);
    }
    std::vector<GaugeRuntime*> runtimes;
    for (auto& placed : s.gauges) {
        runtimes.push_back(placed->runtime.get());
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
    std::vector<std::unique_ptr<sim::Canvas>> canvases;
    for (const View& v : s.views) {
        canvases.push_back(std::make_unique<sim::Canvas>(v.width, v.height, 0xFF000000u));
        if (!canvases.back()->valid()) {
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
    std::vector<std::string> lastNames(s.views.size());
    DrawList list;
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
        clicks(scenario, t, runtimes, result, d);
        for (size_t i = 0; i < runtimes.size(); ++i) {
            runtimes[i]->tick(call > 0, t, d);
            for (SentEvent& e : runtimes[i]->takeEvents()) {
                result.events.push_back(
                    EventLog{e.time, s.gauges[i]->file.name, std::move(e.name), e.value});
            }
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
            beginPicture(list, s.views[v].width, s.views[v].height);
            for (size_t i = 0; i < runtimes.size(); ++i) {
                if (s.gauges[i]->view != v) {
                    continue;
                }
                composeGauge(list, *runtimes[i], s.gauges[i]->images);
                GaugeFrame g;
                g.gauge = s.gauges[i]->file.name;
                for (const gauge::Node& n : s.gauges[i]->file.elements) {
                    collectElements(n, runtimes[i]->states(), g.elements);
                }
                g.tooltip = runtimes[i]->tooltip();
                g.properties = runtimes[i]->properties();
                frame.gauges.push_back(std::move(g));
            }
            s.replayer->replay(list, *canvases[v]);
            sim::Image picture = canvases[v]->snapshot();
            if (writing && options.writeFrames) {
                const std::string name = pictureName(frame.view, t, lastNames[v]);
                lastNames[v] = name;
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
        const std::string path = (fs::path(result.folder) / "log.jsonl").string();
        preview::writeFileAtomic(path, runLog(scenario, s, result));
        result.files.push_back(path);
    }
    return result;
}

}  // namespace cs::workbench
