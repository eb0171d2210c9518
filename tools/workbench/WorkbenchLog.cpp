#include "tools/workbench/WorkbenchLog.h"

#include <cmath>

#include <nlohmann/json.hpp>

#include "tools/output/JsonLine.h"

namespace cs::workbench {

namespace {

nlohmann::ordered_json jsonNumber(double v) {
    if (!std::isfinite(v)) {
        return nullptr;
    }
    return std::round(v * 1e4) / 1e4;
}

}  // namespace

std::string runLog(const preview::PreviewScenario& scenario, const Workbench::State& state,
                   const ScenarioRun& result) {
    using Json = nlohmann::ordered_json;
    std::string log;
    Json views = Json::array();
    for (const View& v : state.views) {
        views.push_back({{"name", v.name}, {"size", {v.width, v.height}}});
    }
    Json gauges = Json::array();
    for (const auto& placed : state.gauges) {
        const Placement& p = placed->placement;
        gauges.push_back({{"name", placed->file.name},
                          {"file", placed->file.file},
                          {"view", state.views[placed->view].name},
                          {"place", {p.x, p.y, p.width, p.height}}});
    }
    log += output::jsonLine(Json{{"type", "run"},
                                 {"scenario", scenario.name},
                                 {"title", scenario.title},
                                 {"file", scenario.file},
                                 {"duration", scenario.durationS},
                                 {"views", views},
                                 {"gauges", gauges}});
    for (const ViewFrame& f : result.frames) {
        Json line = {{"type", "frame"}, {"view", f.view}, {"time", jsonNumber(f.time)}};
        line["image"] = f.image.empty() ? Json(nullptr) : Json(f.image);
        line["mouse"] = {jsonNumber(f.mouseX), jsonNumber(f.mouseY)};
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
            Json props = Json::object();
            Json written = Json::array();
            for (const PropertyAccess& a : g.properties) {
                props[a.name] = a.value.isText ? Json(a.value.text) : jsonNumber(a.value.number);
                if (a.written) {
                    written.push_back(a.name);
                }
            }
            gs.push_back({{"gauge", g.gauge},
                          {"elements", elements},
                          {"tooltip", g.tooltip},
                          {"C", props},
                          {"written", written}});
        }
        line["gauges"] = gs;
        Json l = Json::object();
        for (const auto& [name, value] : f.locals) {
            l[name] = jsonNumber(value);
        }
        line["L"] = l;
        log += output::jsonLine(line);
    }
    for (const ClickLog& c : result.clicks) {
        log += output::jsonLine(Json{{"type", "click"},
                                     {"time", jsonNumber(c.time)},
                                     {"view", c.view},
                                     {"kind", c.kind},
                                     {"x", jsonNumber(c.x)},
                                     {"y", jsonNumber(c.y)},
                                     {"gauge", c.gauge},
                                     {"line", c.line}});
    }
    for (const EventLog& e : result.events) {
        log += output::jsonLine(Json{{"type", "event"},
                                     {"time", jsonNumber(e.time)},
                                     {"gauge", e.gauge},
                                     {"name", e.name},
                                     {"value", jsonNumber(e.value)}});
    }
    Json texts = Json::array();
    for (const GaugeTexts& g : result.texts) {
        for (const TextShown& t : g.texts) {
            Json first =
                t.time < 0 ? Json(nullptr) : Json{{"time", jsonNumber(t.time)}, {"string", t.text}};
            texts.push_back({{"gauge", g.gauge}, {"line", t.line}, {"firstShown", first}});
        }
    }
    log += output::jsonLine(Json{{"type", "summary"}, {"texts", texts}});
    return log;
}

}  // namespace cs::workbench
