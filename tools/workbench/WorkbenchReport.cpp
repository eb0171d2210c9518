#include "tools/workbench/WorkbenchReport.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>

#include "tools/gauge/Diagnostics.h"
#include "tools/report/ReportPage.h"
#include "tools/workbench/WorkbenchAssets.h"

namespace cs::workbench {

namespace {

using Json = nlohmann::ordered_json;

// As log.jsonl writes numbers, so that the page shows the log's values.
Json number(double v) {
    if (!std::isfinite(v)) {
        return nullptr;
    }
    return std::round(v * 1e4) / 1e4;
}

std::string fileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

std::string seconds(double t) {
    char text[32];
    std::snprintf(text, sizeof text, std::fabs(t - std::round(t)) < 1e-6 ? "%.0f s" : "%.2f s", t);
    return text;
}

// The C: properties a gauge's scripts read or write, as "panel:name" in lower
// case.
std::set<std::string> usedProperties(gauge::GaugeFile& file) {
    std::set<std::string> used;
    for (const gauge::Script* script : gauge::allScripts(file)) {
        for (const gauge::VarRef& v : script->variables()) {
            if (v.kind == 'C') {
                used.insert(gauge::lowerAscii(v.panel + ":" + v.name));
            }
        }
    }
    return used;
}

bool isAdvisory(const std::string& property) {
    const std::string suffix = ":advisory";
    return property.size() > suffix.size() &&
           gauge::lowerAscii(property.substr(property.size() - suffix.size())) == suffix;
}

// Grows `names` by each name not yet in it; the index of `name`.
size_t slot(std::vector<std::string>& names, const std::string& name) {
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name) {
            return i;
        }
    }
    names.push_back(name);
    return names.size() - 1;
}

// What one gauge shows through the run: its text elements (by line), its
// properties (by name) and, per picture, their states.
struct GaugeSeries {
    std::vector<int> textLines;
    std::vector<std::string> properties;
    Json frames = Json::array();
};

Json gaugeFrame(const GaugeFrame& g, GaugeSeries& series) {
    Json shown = Json::array(), strings = Json::array();
    for (const ElementLog& e : g.elements) {
        if (!e.text) {
            continue;
        }
        if (shown.size() >= series.textLines.size()) {
            series.textLines.push_back(e.line);
        }
        shown.push_back(e.visible);
        strings.push_back(e.string);
    }
    Json values = Json::array(), written = Json::array();
    for (const PropertyAccess& a : g.properties) {
        const size_t k = slot(series.properties, a.name);
        while (values.size() <= k) {
            values.push_back(nullptr);
        }
        values[k] = a.value.isText ? Json(a.value.text) : number(a.value.number);
        if (a.written) {
            written.push_back(k);
        }
    }
    return {{"shown", shown},
            {"strings", strings},
            {"tooltip", g.tooltip},
            {"C", values},
            {"written", written}};
}

// A gauge of the run: its name, file and view, its texts by file:line, its
// properties with those to chart (named by its scripts, and the advisory),
// when each text first showed, and its state per picture.
Json gaugeJson(PlacedGauge& placed, const std::string& view, GaugeSeries& series,
               const GaugeTexts* shown) {
    const std::set<std::string> used = usedProperties(placed.file);
    const std::string label = fileName(placed.file.file);
    Json texts = Json::array(), chart = Json::array();
    for (int line : series.textLines) {
        texts.push_back({{"line", line}, {"label", label + ":" + std::to_string(line)}});
    }
    Json advisory = nullptr;
    for (size_t k = 0; k < series.properties.size(); ++k) {
        const std::string& name = series.properties[k];
        if (used.count(gauge::lowerAscii(name)) > 0 || isAdvisory(name)) {
            chart.push_back(k);
        }
        if (isAdvisory(name) && advisory.is_null()) {
            advisory = k;
        }
    }
    Json firsts = Json::array();
    for (const TextShown& t : shown != nullptr ? shown->texts : std::vector<TextShown>{}) {
        firsts.push_back({{"line", t.line},
                          {"label", label + ":" + std::to_string(t.line)},
                          {"time", t.time < 0 ? Json(nullptr) : number(t.time)},
                          {"string", t.time < 0 ? Json(nullptr) : Json(t.text)}});
    }
    return {{"name", placed.file.name},
            {"file", placed.file.file},
            {"view", view},
            {"texts", texts},
            {"properties", series.properties},
            {"chart", chart},
            {"advisory", advisory},
            {"firstShown", firsts},
            {"frames", std::move(series.frames)}};
}

// The L: variables of a picture, in the order of `names` (grown by any new).
Json localValues(const ViewFrame& f, std::vector<std::string>& names) {
    Json values = Json::array();
    for (const auto& [name, value] : f.locals) {
        const size_t at = slot(names, name);
        while (values.size() <= at) {
            values.push_back(nullptr);
        }
        values[at] = number(value);
    }
    return values;
}

Json clicksJson(const ScenarioRun& run) {
    Json clicks = Json::array();
    for (const ClickLog& c : run.clicks) {
        clicks.push_back({{"time", number(c.time)},
                          {"view", c.view},
                          {"kind", c.kind},
                          {"gauge", c.gauge},
                          {"line", c.line}});
    }
    return clicks;
}

Json eventsJson(const ScenarioRun& run) {
    Json events = Json::array();
    for (const EventLog& e : run.events) {
        events.push_back({{"time", number(e.time)},
                          {"gauge", e.gauge},
                          {"name", e.name},
                          {"value", number(e.value)}});
    }
    return events;
}

}  // namespace

Json reportData(const preview::PreviewScenario& scenario, const Workbench::State& state,
                const ScenarioRun& run) {
    // The gauges of each view, in the order a view's frame lists them.
    std::vector<std::vector<size_t>> gaugesOf(state.views.size());
    for (size_t i = 0; i < state.gauges.size(); ++i) {
        gaugesOf[state.gauges[i]->view].push_back(i);
    }
    std::map<std::string, size_t> viewIndex;
    Json views = Json::array();
    for (size_t v = 0; v < state.views.size(); ++v) {
        viewIndex[state.views[v].name] = v;
        views.push_back({{"name", state.views[v].name},
                         {"size", {state.views[v].width, state.views[v].height}},
                         {"frames", Json::array()}});
    }
    std::vector<GaugeSeries> series(state.gauges.size());
    std::vector<std::string> localNames;
    Json locals = Json::array();  // per picture time
    for (const ViewFrame& f : run.frames) {
        const auto found = viewIndex.find(f.view);
        if (found == viewIndex.end()) {
            continue;
        }
        const size_t v = found->second;
        Json& frames = views[v]["frames"];
        const size_t k = frames.size();
        frames.push_back({{"frame", k},
                          {"time", number(f.time)},
                          {"image", f.image.empty() ? Json(nullptr) : Json(f.image)},
                          {"mouse", {number(f.mouseX), number(f.mouseY)}}});
        for (size_t j = 0; j < f.gauges.size() && j < gaugesOf[v].size(); ++j) {
            series[gaugesOf[v][j]].frames.push_back(
                gaugeFrame(f.gauges[j], series[gaugesOf[v][j]]));
        }
        if (k >= locals.size()) {
            locals.push_back(localValues(f, localNames));
        }
    }
    Json gauges = Json::array();
    for (size_t i = 0; i < state.gauges.size(); ++i) {
        PlacedGauge& placed = *state.gauges[i];
        gauges.push_back(gaugeJson(placed, state.views[placed.view].name, series[i],
                                   i < run.texts.size() ? &run.texts[i] : nullptr));
    }
    return {{"scenario", scenario.name},
            {"title", scenario.title},
            {"duration", number(scenario.durationS)},
            {"views", views},
            {"gauges", gauges},
            {"localNames", localNames},
            {"locals", locals},
            {"clicks", clicksJson(run)},
            {"events", eventsJson(run)}};
}

std::string Workbench::reportPage(const preview::PreviewScenario& scenario, const ScenarioRun& run,
                                  const std::string& command) const {
    const report::PageHead head{"gauge workbench", scenario.name,   scenario.title,
                                scenario.file,     scenario.expect, command};
    return report::reportPageHtml(head, reportData(scenario, *state_, run),
                                  std::string(kWorkbenchTimelines) + "\n" + kWorkbenchScript);
}

report::IndexEntry indexEntry(const preview::PreviewScenario& scenario, const ScenarioRun& run) {
    report::IndexEntry e;
    e.name = scenario.name;
    e.title = scenario.title;
    e.expect = scenario.expect;
    e.open = "Watch the gauges";
    e.sheets = report::sheetFiles(run.files);
    if (run.frames.empty()) {
        e.notes.push_back("The gauges drew no picture in this run.");
    }
    e.columns = {"Gauge", "Text", "First shown", "Showing"};
    for (const GaugeTexts& g : run.texts) {
        for (const TextShown& t : g.texts) {
            const bool shown = t.time >= 0;
            e.rows.push_back({{g.gauge, ""},
                              {fileName(g.file) + ":" + std::to_string(t.line), "where"},
                              {shown ? seconds(t.time) : "never", shown ? "" : "none"},
                              {shown ? t.text : "", ""}});
        }
    }
    if (e.rows.empty()) {
        e.notes.push_back("The gauges have no text elements.");
    }
    size_t taken = 0;
    for (const ClickLog& c : run.clicks) {
        taken += c.line != 0 ? 1 : 0;
    }
    if (!run.clicks.empty() || !run.events.empty()) {
        e.footnote = std::to_string(run.clicks.size()) + " click(s), " + std::to_string(taken) +
                     " taken by a <Click>; " + std::to_string(run.events.size()) +
                     " key event(s) sent.";
    }
    return e;
}

}  // namespace cs::workbench
