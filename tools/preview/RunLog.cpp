#include "tools/preview/RunLog.h"

#include <cmath>

#include "tools/output/JsonLine.h"

namespace cs::preview {

namespace {

using Json = nlohmann::ordered_json;

Json levelJson(int level) {
    const char* name = levelName(level);
    return name ? Json(name) : Json(nullptr);
}

Json headerJson(const RunHeader& h) {
    Json head = {{"type", "run"},
                 {"scenario", h.scenario},
                 {"title", h.title},
                 {"file", h.file},
                 {"duration", h.durationS},
                 {"ticksPerSecond", h.ticksPerSecond},
                 {"callsPerSecond", h.callsPerSecond},
                 {"mode", h.positionOnly ? "positionOnly" : "full"},
                 {"size", {h.width, h.height}},
                 {"probes", h.probes}};
    Json displays = Json::array();
    for (DisplayKind kind : h.displays) {
        displays.push_back(displayName(kind));
    }
    head["displays"] = displays;
    return head;
}

Json propertiesJson(const std::vector<PropertyValue>& properties) {
    Json props = Json::object();
    for (const PropertyValue& p : properties) {
        if (!p.ok) {
            props[p.name] = nullptr;
        } else if (p.isText) {
            props[p.name] = p.text;
        } else {
            props[p.name] = loggedNumber(p.number);
        }
    }
    return props;
}

Json aircraftJson(const AircraftObservation& o) {
    Json a = {{"id", o.id}, {"atcId", o.atcId}, {"found", o.found}};
    if (!o.found) {
        a["level"] = nullptr;
        return a;
    }
    a["level"] = levelJson(o.level);
    a["distance"] = loggedNumber(o.distance);
    a["bearing"] = loggedNumber(o.bearing);
    a["relativeAltitude"] = loggedNumber(o.altDiff);
    a["altitude"] = loggedNumber(o.altitude);
    a["groundSpeed"] = loggedNumber(o.groundSpeed);
    a["track"] = loggedNumber(o.track);
    a["radioAltitude"] = loggedNumber(o.radAlt);
    return a;
}

Json frameJson(DisplayKind kind, const FrameRecord& f) {
    Json line = {{"type", "frame"},
                 {"display", displayName(kind)},
                 {"frame", f.frame},
                 {"time", loggedNumber(f.time)}};
    line["image"] = f.image.empty() ? Json(nullptr) : Json(f.image);
    line["properties"] = propertiesJson(f.properties);
    Json aircraft = Json::array();
    for (const AircraftObservation& o : f.aircraft) {
        aircraft.push_back(aircraftJson(o));
    }
    line["aircraft"] = aircraft;
    Json positions = Json::array();
    for (const ImagePosition& p : f.positions) {
        positions.push_back({{"id", p.id}, {"x", loggedNumber(p.x)}, {"y", loggedNumber(p.y)}});
    }
    line["positions"] = positions;
    return line;
}

Json firstJson(int frame, double time) {
    return frame < 0 ? Json(nullptr) : Json{{"frame", frame}, {"time", time}};
}

Json summaryJson(const DisplayResult& d) {
    Json summary = {{"type", "summary"}, {"display", displayName(d.kind)}};
    Json list = Json::array();
    for (const IntruderSummary& i : d.intruders) {
        Json e = {{"id", i.id}, {"atcId", i.atcId}, {"seen", i.seen}};
        e["highestLevel"] = levelJson(i.highestLevel);
        e["firstTA"] = firstJson(i.firstTaFrame, i.firstTaTime);
        e["firstRA"] = firstJson(i.firstRaFrame, i.firstRaTime);
        e["closest"] = !std::isfinite(i.closestNm)
                           ? Json(nullptr)
                           : Json{{"distance", loggedNumber(i.closestNm)},
                                  {"time", i.closestTime},
                                  {"relativeAltitude", loggedNumber(i.closestAltDiff)}};
        list.push_back(e);
    }
    summary["intruders"] = list;
    return summary;
}

}  // namespace

Json loggedNumber(double v) {
    if (!std::isfinite(v)) {
        return nullptr;
    }
    return std::round(v * 1e4) / 1e4;
}

const char* levelName(int level) {
    switch (level) {
        case kLevelOther:
            return "Other";
        case kLevelProximity:
            return "Proximity";
        case kLevelTA:
            return "TA";
        case kLevelRA:
            return "RA";
        default:
            return nullptr;
    }
}

void IntruderSummary::add(const AircraftObservation& observation, int frame, double time) {
    if (!observation.found) {
        return;
    }
    seen = true;
    if (observation.level > highestLevel) {
        highestLevel = observation.level;
    }
    if (observation.level >= kLevelTA && firstTaFrame < 0) {
        firstTaFrame = frame;
        firstTaTime = time;
    }
    if (observation.level >= kLevelRA && firstRaFrame < 0) {
        firstRaFrame = frame;
        firstRaTime = time;
    }
    if (observation.distance < closestNm) {
        closestNm = observation.distance;
        closestTime = time;
        closestAltDiff = observation.altDiff;
    }
}

std::string jsonLines(const RunLog& log) {
    std::string text = output::jsonLine(headerJson(log.header));
    for (const DisplayResult& d : log.displays) {
        for (const FrameRecord& f : d.frames) {
            text += output::jsonLine(frameJson(d.kind, f));
        }
        text += output::jsonLine(summaryJson(d));
    }
    return text;
}

}  // namespace cs::preview
