#include "tools/preview/ReportPage.h"

#include <cmath>
#include <vector>

#include "tools/output/HtmlText.h"
#include "tools/preview/ReportAssets.h"
#include "tools/report/ReportPage.h"

namespace cs::preview {

namespace {

using Json = nlohmann::ordered_json;

// Draw parameter ids of the four level colours, Other to RA.
constexpr int32_t kColourParameter[kDrawnLevels] = {3, 4, 5, 6};

Json firstLevel(int frame, double time) {
    return frame < 0 ? Json(nullptr) : Json{{"frame", frame}, {"time", loggedNumber(time)}};
}

bool reachedTa(const RunResult& result, size_t intruder) {
    for (const DisplayResult& d : result.displays) {
        if (intruder < d.intruders.size() && d.intruders[intruder].firstTaFrame >= 0) {
            return true;
        }
    }
    return false;
}

Json displayJson(const PreviewScenario& scenario, const DisplayResult& d) {
    Json colours = Json::array();
    for (int32_t c : levelColours(scenario, d.kind)) {
        colours.push_back(cssColour(c));
    }
    Json frames = Json::array();
    Json values = Json::array();
    for (const FrameRecord& f : d.frames) {
        frames.push_back({{"frame", f.frame},
                          {"time", loggedNumber(f.time)},
                          {"image", f.image.empty() ? Json(nullptr) : Json(f.image)}});
        Json row = Json::array();
        for (const PropertyValue& p : f.properties) {
            row.push_back(!p.ok ? Json(nullptr) : p.isText ? Json(p.text) : loggedNumber(p.number));
        }
        values.push_back(std::move(row));
    }
    return {{"name", displayName(d.kind)},
            {"colours", colours},
            {"frames", frames},
            {"values", values}};
}

// One intruder as one display saw it, frame by frame: level (0 Other to
// 3 RA, null: not shown), distance and relative altitude (null: not found).
Json trackJson(const DisplayResult& d, size_t intruder) {
    Json levels = Json::array(), distance = Json::array(), altitude = Json::array();
    for (const FrameRecord& f : d.frames) {
        const AircraftObservation* o =
            intruder < f.aircraft.size() ? &f.aircraft[intruder] : nullptr;
        if (o == nullptr || !o->found) {
            levels.push_back(nullptr);
            distance.push_back(nullptr);
            altitude.push_back(nullptr);
            continue;
        }
        levels.push_back(levelName(o->level) ? Json(levelIndex(o->level)) : Json(nullptr));
        distance.push_back(loggedNumber(o->distance));
        altitude.push_back(loggedNumber(o->altDiff));
    }
    const IntruderSummary& s = d.intruders[intruder];
    Json closest = nullptr;
    if (std::isfinite(s.closestNm)) {
        closest = {{"distance", loggedNumber(s.closestNm)},
                   {"time", loggedNumber(s.closestTime)},
                   {"relativeAltitude", loggedNumber(s.closestAltDiff)}};
    }
    return {{"display", displayName(d.kind)},
            {"level", levels},
            {"distance", distance},
            {"relativeAltitude", altitude},
            {"firstTA", firstLevel(s.firstTaFrame, s.firstTaTime)},
            {"firstRA", firstLevel(s.firstRaFrame, s.firstRaTime)},
            {"closest", closest}};
}

Json pageData(const PreviewScenario& scenario, const RunResult& result,
              const std::string& command) {
    Json displays = Json::array();
    Json propertyNames = Json::array();
    bool probed = false;
    for (const DisplayResult& d : result.displays) {
        displays.push_back(displayJson(scenario, d));
        for (const FrameRecord& f : d.frames) {
            probed = probed || !f.aircraft.empty();
            if (propertyNames.empty()) {
                for (const PropertyValue& p : f.properties) {
                    propertyNames.push_back(p.name);
                }
            }
        }
    }
    const size_t count = scenario.traffic.size();
    Json traffic = Json::array();
    for (size_t i = 0; i < count; ++i) {
        if (count > kChartEveryIntruderUpTo && !reachedTa(result, i)) {
            continue;
        }
        Json tracks = Json::array();
        std::string atcId = scenario.traffic[i].atcId;
        for (const DisplayResult& d : result.displays) {
            if (i < d.intruders.size()) {
                tracks.push_back(trackJson(d, i));
                atcId = d.intruders[i].atcId;
            }
        }
        traffic.push_back({{"id", scenario.traffic[i].id}, {"atcId", atcId}, {"displays", tracks}});
    }
    return {{"scenario", scenario.name},
            {"title", scenario.title},
            {"expect", scenario.expect},
            {"file", scenario.file},
            {"command", command},
            {"duration", loggedNumber(scenario.durationS)},
            {"size", {scenario.width, scenario.height}},
            {"probes", probed},
            {"levels", {"Other", "Proximity", "TA", "RA"}},
            {"propertyNames", propertyNames},
            {"displays", displays},
            {"trafficCount", count},
            {"traffic", traffic}};
}

}  // namespace

std::array<int32_t, 4> levelColours(const PreviewScenario& scenario, DisplayKind kind) {
    // The module's defaults: Proximity traffic is green on the radar, and
    // drawn like Other traffic (near white) on the TCAS display.
    std::array<int32_t, 4> colours = {0xF0F0F0, kind == DisplayKind::Radar ? 0x00FF00 : 0xF0F0F0,
                                      0xFFFF00, 0xFF0000};
    auto apply = [&](const std::vector<NamedValue>& values) {
        for (const NamedValue& v : values) {
            for (int k = 0; k < 4; ++k) {
                if (v.id == kColourParameter[k] && v.kind == NamedValue::Kind::Number) {
                    colours[k] = static_cast<int32_t>(v.number);
                }
            }
        }
    };
    apply(scenario.parameters);
    for (const DisplayPlan& plan : scenario.displays) {
        if (plan.kind == kind) {
            apply(plan.parameters);
        }
    }
    return colours;
}

std::string reportPageHtml(const PreviewScenario& scenario, const RunResult& result,
                           const std::string& command) {
    const report::PageHead head{"preview",     scenario.name,   scenario.title,
                                scenario.file, scenario.expect, command};
    return report::reportPageHtml(head, pageData(scenario, result, command), kPreviewScript);
}

}  // namespace cs::preview
