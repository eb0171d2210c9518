#include "tools/preview/ScenarioParser.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <unordered_map>

#include <nlohmann/json.hpp>

namespace cs::preview {

using Json = nlohmann::ordered_json;

const char* displayName(DisplayKind kind) {
    return kind == DisplayKind::Radar ? "radar" : "tcas";
}

namespace {

std::string formatMessage(const std::string& file, int line, const std::string& field,
                          const std::string& problem) {
    std::string text = file;
    if (line > 0) {
        text += ":" + std::to_string(line);
    }
    text += ": ";
    if (!field.empty()) {
        text += field + ": ";
    }
    return text + problem;
}

std::string lower(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

// Where each value of a valid JSON text starts, by field path
// ("traffic[2].distance"). nlohmann's values carry no positions, so this small
// scanner walks the text once more.
class LineMap {
  public:
    explicit LineMap(const std::string& text) : text_(text) {
        skipSpace();
        value("");
    }

    // The line of `path`, or of the nearest enclosing field that has one.
    int lineOf(std::string path) const {
        while (true) {
            auto it = lines_.find(path);
            if (it != lines_.end()) {
                return it->second;
            }
            const size_t cut = path.find_last_of(".[");
            if (cut == std::string::npos || path.empty()) {
                return path.empty() ? 0 : lineOf("");
            }
            path.resize(cut);
        }
    }

  private:
    void skipSpace() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) {
            if (text_[pos_] == '\n') {
                ++line_;
            }
            ++pos_;
        }
    }
    std::string string() {
        std::string out;
        ++pos_;  // opening quote
        while (pos_ < text_.size() && text_[pos_] != '"') {
            if (text_[pos_] == '\\' && pos_ + 1 < text_.size()) {
                ++pos_;
            }
            out += text_[pos_++];
        }
        ++pos_;
        return out;
    }
    void value(const std::string& path) {
        lines_.emplace(path, line_);
        if (pos_ >= text_.size()) {
            return;
        }
        const char c = text_[pos_];
        if (c == '{') {
            ++pos_;
            while (true) {
                skipSpace();
                if (pos_ >= text_.size() || text_[pos_] == '}') {
                    ++pos_;
                    return;
                }
                if (text_[pos_] == ',') {
                    ++pos_;
                    continue;
                }
                const int keyLine = line_;
                const std::string key = string();
                skipSpace();
                ++pos_;  // ':'
                skipSpace();
                const std::string child = path.empty() ? key : path + "." + key;
                lines_.emplace(child, keyLine);
                value(child);
            }
        } else if (c == '[') {
            ++pos_;
            int index = 0;
            while (true) {
                skipSpace();
                if (pos_ >= text_.size() || text_[pos_] == ']') {
                    ++pos_;
                    return;
                }
                if (text_[pos_] == ',') {
                    ++pos_;
                    continue;
                }
                value(path + "[" + std::to_string(index++) + "]");
            }
        } else if (c == '"') {
            string();
        } else {
            while (pos_ < text_.size() &&
                   std::string(",]} \t\r\n").find(text_[pos_]) == std::string::npos) {
                ++pos_;
            }
        }
    }

    const std::string& text_;
    size_t pos_ = 0;
    int line_ = 1;
    std::unordered_map<std::string, int> lines_;
};

struct Context {
    std::string file;
    const LineMap* lines = nullptr;

    [[noreturn]] void fail(const std::string& path, const std::string& problem) const {
        throw InputError(file, lines ? lines->lineOf(path) : 0, path, problem);
    }
};

std::string join(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
}
std::string index(const std::string& path, size_t i) {
    return path + "[" + std::to_string(i) + "]";
}

const char* typeName(const Json& j) {
    if (j.is_number()) {
        return "a number";
    }
    if (j.is_string()) {
        return "a text";
    }
    if (j.is_boolean()) {
        return "true/false";
    }
    if (j.is_array()) {
        return "a list";
    }
    if (j.is_object()) {
        return "an object";
    }
    return "null";
}

// Fails on the first key of `object` that is not among `allowed`.
void checkKeys(const Context& ctx, const Json& object, const std::string& path,
               const std::vector<std::string>& allowed) {
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (std::find(allowed.begin(), allowed.end(), it.key()) != allowed.end()) {
            continue;
        }
        std::string problem = "unknown field \"" + it.key() + "\"";
        const std::string guess = closestName(it.key(), allowed);
        if (!guess.empty()) {
            problem += " (did you mean \"" + guess + "\"?)";
        }
        std::string list;
        for (const std::string& a : allowed) {
            list += (list.empty() ? "" : ", ") + a;
        }
        ctx.fail(join(path, it.key()), problem + "; expected one of: " + list);
    }
}

void expectObject(const Context& ctx, const Json& j, const std::string& path) {
    if (!j.is_object()) {
        ctx.fail(path, std::string("expected an object {...}, found ") + typeName(j));
    }
}

const Json* find(const Json& object, const std::string& key) {
    auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

const Json& require(const Context& ctx, const Json& object, const std::string& path,
                    const std::string& key, const std::string& what) {
    const Json* j = find(object, key);
    if (j == nullptr) {
        ctx.fail(path.empty() ? key : path + "." + key,
                 "missing required field \"" + key + "\"; expected " + what);
    }
    return *j;
}

double finiteNumber(const Context& ctx, const Json& j, const std::string& path,
                    const std::string& what) {
    if (!j.is_number()) {
        ctx.fail(path, std::string("expected ") + what + ", found " + typeName(j));
    }
    const double v = j.get<double>();
    if (!std::isfinite(v)) {
        ctx.fail(path, "expected a finite number");
    }
    return v;
}

void checkRange(const Context& ctx, const std::string& path, double v, double lo, double hi,
                const std::string& what) {
    if (!(v >= lo && v <= hi)) {
        std::ostringstream s;
        s << v << " is impossible; expected " << what;
        ctx.fail(path, s.str());
    }
}

// Physical quantities are written with their unit, as text: "8 nm", "250 kt".
enum class Quantity { Distance, Altitude, Speed, VerticalSpeed, Time };

struct UnitInfo {
    const char* what;
    const char* example;
    std::vector<std::pair<std::string, double>> units;  // unit, factor to the module's unit
};

const UnitInfo& unitInfo(Quantity q) {
    // Units are compared ignoring case, so "NM" is "nm".
    static const UnitInfo distance{"a distance", "\"8 nm\"", {{"nm", 1.0}, {"nmi", 1.0}}};
    static const UnitInfo altitude{"an altitude", "\"10000 ft\"", {{"ft", 1.0}, {"feet", 1.0}}};
    static const UnitInfo speed{
        "a speed", "\"250 kt\"", {{"kt", 1.0}, {"kts", 1.0}, {"knots", 1.0}}};
    static const UnitInfo vs{"a vertical speed", "\"-1500 fpm\"", {{"fpm", 1.0}, {"ft/min", 1.0}}};
    static const UnitInfo time{"a time", "\"90 s\"", {{"s", 1.0}, {"sec", 1.0}, {"min", 60.0}}};
    switch (q) {
        case Quantity::Distance:
            return distance;
        case Quantity::Altitude:
            return altitude;
        case Quantity::Speed:
            return speed;
        case Quantity::VerticalSpeed:
            return vs;
        case Quantity::Time:
            break;
    }
    return time;
}

double quantity(const Context& ctx, const Json& j, const std::string& path, Quantity q) {
    const UnitInfo& info = unitInfo(q);
    const std::string expected = std::string(info.what) + " with its unit, such as " + info.example;
    if (j.is_number()) {
        std::ostringstream s;
        s << j.dump() << " has no unit; expected " << expected;
        ctx.fail(path, s.str());
    }
    if (!j.is_string()) {
        ctx.fail(path, std::string("expected ") + expected + ", found " + typeName(j));
    }
    const std::string text = j.get<std::string>();
    const char* begin = text.c_str();
    char* end = nullptr;
    const double v = std::strtod(begin, &end);
    if (end == begin) {
        ctx.fail(path, "\"" + text + "\" is not " + expected);
    }
    std::string unit(end);
    unit.erase(0, unit.find_first_not_of(' '));
    unit.erase(unit.find_last_not_of(' ') + 1);
    if (unit.empty()) {
        ctx.fail(path, "\"" + text + "\" has no unit; expected " + expected);
    }
    for (const auto& [name, factor] : info.units) {
        if (lower(unit) == name) {
            if (!std::isfinite(v)) {
                ctx.fail(path, "\"" + text + "\" is not a finite value");
            }
            return v * factor;
        }
    }
    std::string list;
    for (const auto& u : info.units) {
        list += (list.empty() ? "" : " or ") + ("\"" + u.first + "\"");
    }
    ctx.fail(path, "unknown unit \"" + unit + "\"; expected " + list + ", such as " + info.example);
}

// Angles in degrees true: a plain number, or text with "deg".
double angle(const Context& ctx, const Json& j, const std::string& path) {
    double v = 0.0;
    if (j.is_number()) {
        v = finiteNumber(ctx, j, path, "an angle in degrees");
    } else if (j.is_string()) {
        const std::string text = j.get<std::string>();
        char* end = nullptr;
        v = std::strtod(text.c_str(), &end);
        std::string unit(end);
        unit.erase(0, unit.find_first_not_of(' '));
        if (end == text.c_str() || lower(unit) != "deg" || !std::isfinite(v)) {
            ctx.fail(path, "\"" + text +
                               "\" is not an angle; expected degrees such as 270 or "
                               "\"270 deg\"");
        }
    } else {
        ctx.fail(path, std::string("expected an angle in degrees, found ") + typeName(j));
    }
    checkRange(ctx, path, v, 0.0, 360.0, "an angle from 0 to 360 degrees");
    return v;
}

std::string text(const Context& ctx, const Json& j, const std::string& path, size_t maxLength) {
    if (!j.is_string()) {
        ctx.fail(path, std::string("expected a text, found ") + typeName(j));
    }
    std::string s = j.get<std::string>();
    if (s.size() > maxLength) {
        ctx.fail(path, "text of " + std::to_string(s.size()) + " characters; expected at most " +
                           std::to_string(maxLength));
    }
    return s;
}

int64_t wholeNumber(const Context& ctx, const Json& j, const std::string& path, int64_t lo,
                    int64_t hi, const std::string& what) {
    const double v = finiteNumber(ctx, j, path, what);
    if (v != std::floor(v)) {
        ctx.fail(path, j.dump() + " is not a whole number; expected " + what);
    }
    checkRange(ctx, path, v, static_cast<double>(lo), static_cast<double>(hi), what);
    return static_cast<int64_t>(v);
}

constexpr double kMaxAltitudeFt = 100000.0;
constexpr double kMinAltitudeFt = -2000.0;
constexpr double kMaxSpeedKt = 2000.0;
constexpr double kMaxVerticalSpeedFpm = 30000.0;
constexpr double kMaxDistanceNm = 5000.0;
constexpr double kMaxDurationS = 3600.0;
constexpr size_t kMaxTraffic = 2000;
constexpr size_t kMaxAtcId = 32;

void readSteps(const Context& ctx, const Json& list, const std::string& path, AircraftPlan& a) {
    if (!list.is_array()) {
        ctx.fail(path, std::string("expected a list of {\"at\", \"verticalSpeed\"}, found ") +
                           typeName(list));
    }
    double last = -1.0;
    for (size_t i = 0; i < list.size(); ++i) {
        const std::string p = index(path, i);
        const Json& step = list[i];
        expectObject(ctx, step, p);
        checkKeys(ctx, step, p, {"at", "verticalSpeed"});
        VerticalSpeedStep s;
        s.atS = quantity(ctx, require(ctx, step, p, "at", "a time such as \"30 s\""), join(p, "at"),
                         Quantity::Time);
        checkRange(ctx, join(p, "at"), s.atS, 0.0, kMaxDurationS, "a time from 0 to 3600 s");
        if (s.atS < last) {
            ctx.fail(join(p, "at"), "times must not decrease from one change to the next");
        }
        last = s.atS;
        s.verticalSpeedFpm =
            quantity(ctx, require(ctx, step, p, "verticalSpeed", "a vertical speed"),
                     join(p, "verticalSpeed"), Quantity::VerticalSpeed);
        checkRange(ctx, join(p, "verticalSpeed"), s.verticalSpeedFpm, -kMaxVerticalSpeedFpm,
                   kMaxVerticalSpeedFpm, "a vertical speed within +-30000 fpm");
        a.verticalSpeedSteps.push_back(s);
    }
}

// The fields an aircraft (own or traffic) may have.
const std::vector<std::string> kOwnKeys = {"id",
                                           "atcId",
                                           "name",
                                           "latitude",
                                           "longitude",
                                           "altitude",
                                           "track",
                                           "groundSpeed",
                                           "velocityNorth",
                                           "velocityEast",
                                           "heading",
                                           "verticalSpeed",
                                           "verticalSpeedChanges",
                                           "radioAltitude"};
const std::vector<std::string> kTrafficKeys = {"id",
                                               "atcId",
                                               "name",
                                               "latitude",
                                               "longitude",
                                               "bearing",
                                               "distance",
                                               "altitude",
                                               "relativeAltitude",
                                               "track",
                                               "groundSpeed",
                                               "velocityNorth",
                                               "velocityEast",
                                               "heading",
                                               "verticalSpeed",
                                               "verticalSpeedChanges",
                                               "radioAltitude",
                                               "engineRunning"};

void readMotion(const Context& ctx, const Json& j, const std::string& path, AircraftPlan& a) {
    const Json* track = find(j, "track");
    const Json* gs = find(j, "groundSpeed");
    const Json* vn = find(j, "velocityNorth");
    const Json* ve = find(j, "velocityEast");
    if ((vn || ve) && (track || gs)) {
        ctx.fail(join(path, vn ? "velocityNorth" : "velocityEast"),
                 "give either \"track\" and \"groundSpeed\" or \"velocityNorth\" and "
                 "\"velocityEast\", not both");
    }
    if (vn || ve) {
        a.velocityComponents = true;
        if (!vn || !ve) {
            ctx.fail(join(path, vn ? "velocityEast" : "velocityNorth"),
                     "missing required field; \"velocityNorth\" and \"velocityEast\" go "
                     "together, expected a speed such as \"120 kt\"");
        }
        a.velocityNorthKt = quantity(ctx, *vn, join(path, "velocityNorth"), Quantity::Speed);
        a.velocityEastKt = quantity(ctx, *ve, join(path, "velocityEast"), Quantity::Speed);
        checkRange(ctx, join(path, "velocityNorth"), a.velocityNorthKt, -kMaxSpeedKt, kMaxSpeedKt,
                   "a velocity within +-2000 kt");
        checkRange(ctx, join(path, "velocityEast"), a.velocityEastKt, -kMaxSpeedKt, kMaxSpeedKt,
                   "a velocity within +-2000 kt");
    } else {
        if (gs) {
            a.groundSpeedKt = quantity(ctx, *gs, join(path, "groundSpeed"), Quantity::Speed);
            checkRange(ctx, join(path, "groundSpeed"), a.groundSpeedKt, 0.0, kMaxSpeedKt,
                       "a ground speed from 0 to 2000 kt");
        }
        if (track) {
            a.trackDeg = angle(ctx, *track, join(path, "track"));
        } else if (a.groundSpeedKt > 0.0) {
            ctx.fail(join(path, "track"),
                     "missing required field \"track\"; a moving aircraft needs a track in "
                     "degrees, such as 270");
        }
    }
    if (const Json* h = find(j, "heading")) {
        a.headingDeg = angle(ctx, *h, join(path, "heading"));
    }
    if (const Json* vs = find(j, "verticalSpeed")) {
        a.verticalSpeedFpm =
            quantity(ctx, *vs, join(path, "verticalSpeed"), Quantity::VerticalSpeed);
        checkRange(ctx, join(path, "verticalSpeed"), a.verticalSpeedFpm, -kMaxVerticalSpeedFpm,
                   kMaxVerticalSpeedFpm, "a vertical speed within +-30000 fpm");
    }
    if (const Json* steps = find(j, "verticalSpeedChanges")) {
        readSteps(ctx, *steps, join(path, "verticalSpeedChanges"), a);
    }
    if (const Json* ra = find(j, "radioAltitude")) {
        a.radioAltitudeFt = quantity(ctx, *ra, join(path, "radioAltitude"), Quantity::Altitude);
        checkRange(ctx, join(path, "radioAltitude"), *a.radioAltitudeFt, 0.0, kMaxAltitudeFt,
                   "a height above ground from 0 to 100000 ft");
    }
}

void readIdentity(const Context& ctx, const Json& j, const std::string& path, AircraftPlan& a,
                  bool idRequired) {
    if (const Json* id = find(j, "id")) {
        a.id = static_cast<int32_t>(
            wholeNumber(ctx, *id, join(path, "id"), 1, 2147483647, "an id from 1 to 2147483647"));
    } else if (idRequired) {
        require(ctx, j, path, "id", "a whole number from 1 to 2147483647");
    }
    if (const Json* atc = find(j, "atcId")) {
        a.atcId = text(ctx, *atc, join(path, "atcId"), kMaxAtcId);
    }
    if (const Json* name = find(j, "name")) {
        a.name = text(ctx, *name, join(path, "name"), kMaxAtcId);
    }
}

AircraftPlan readOwn(const Context& ctx, const Json& j, const std::string& path) {
    expectObject(ctx, j, path);
    checkKeys(ctx, j, path, kOwnKeys);
    AircraftPlan a;
    a.id = 1;
    a.atcId = "OWNSHIP";
    a.line = ctx.lines->lineOf(path);
    readIdentity(ctx, j, path, a, false);
    a.latitude = finiteNumber(ctx, require(ctx, j, path, "latitude", "degrees north, -90 to 90"),
                              join(path, "latitude"), "a latitude in degrees");
    checkRange(ctx, join(path, "latitude"), a.latitude, -90.0, 90.0,
               "a latitude from -90 to 90 degrees");
    a.longitude = finiteNumber(ctx, require(ctx, j, path, "longitude", "degrees east, -180 to 180"),
                               join(path, "longitude"), "a longitude in degrees");
    checkRange(ctx, join(path, "longitude"), a.longitude, -180.0, 180.0,
               "a longitude from -180 to 180 degrees");
    a.altitudeFt =
        quantity(ctx, require(ctx, j, path, "altitude", "an altitude such as \"10000 ft\""),
                 join(path, "altitude"), Quantity::Altitude);
    checkRange(ctx, join(path, "altitude"), a.altitudeFt, kMinAltitudeFt, kMaxAltitudeFt,
               "an altitude from -2000 to 100000 ft");
    readMotion(ctx, j, path, a);
    return a;
}

AircraftPlan readTraffic(const Context& ctx, const Json& j, const std::string& path) {
    expectObject(ctx, j, path);
    checkKeys(ctx, j, path, kTrafficKeys);
    AircraftPlan a;
    a.line = ctx.lines->lineOf(path);
    readIdentity(ctx, j, path, a, true);
    if (a.atcId.empty() && !find(j, "atcId")) {
        a.atcId = "T" + std::to_string(a.id);
    }
    const bool absolute = find(j, "latitude") || find(j, "longitude");
    const bool relative = find(j, "bearing") || find(j, "distance");
    if (absolute && relative) {
        ctx.fail(join(path, find(j, "bearing") ? "bearing" : "distance"),
                 "give the start either as \"latitude\"/\"longitude\" or as "
                 "\"bearing\"/\"distance\" from the own aircraft, not both");
    }
    if (!absolute && !relative) {
        require(ctx, j, path, "distance",
                "a start position: \"bearing\" and \"distance\" from the own aircraft, or "
                "\"latitude\" and \"longitude\"");
    }
    if (absolute) {
        a.latitude =
            finiteNumber(ctx, require(ctx, j, path, "latitude", "degrees north, -90 to 90"),
                         join(path, "latitude"), "a latitude in degrees");
        checkRange(ctx, join(path, "latitude"), a.latitude, -90.0, 90.0,
                   "a latitude from -90 to 90 degrees");
        a.longitude =
            finiteNumber(ctx, require(ctx, j, path, "longitude", "degrees east, -180 to 180"),
                         join(path, "longitude"), "a longitude in degrees");
        checkRange(ctx, join(path, "longitude"), a.longitude, -180.0, 180.0,
                   "a longitude from -180 to 180 degrees");
    } else {
        a.relative = true;
        a.bearingDeg = angle(ctx, require(ctx, j, path, "bearing", "degrees true such as 90"),
                             join(path, "bearing"));
        a.distanceNm =
            quantity(ctx, require(ctx, j, path, "distance", "a distance such as \"8 nm\""),
                     join(path, "distance"), Quantity::Distance);
        checkRange(ctx, join(path, "distance"), a.distanceNm, 0.0, kMaxDistanceNm,
                   "a distance from 0 to 5000 nm");
    }
    const Json* alt = find(j, "altitude");
    const Json* rel = find(j, "relativeAltitude");
    if (alt && rel) {
        ctx.fail(join(path, "relativeAltitude"),
                 "give either \"altitude\" or \"relativeAltitude\", not both");
    }
    if (rel) {
        a.altitudeRelative = true;
        a.altitudeFt = quantity(ctx, *rel, join(path, "relativeAltitude"), Quantity::Altitude);
        checkRange(ctx, join(path, "relativeAltitude"), a.altitudeFt, -kMaxAltitudeFt,
                   kMaxAltitudeFt, "an offset within +-100000 ft");
    } else {
        a.altitudeFt =
            quantity(ctx,
                     require(ctx, j, path, "altitude",
                             "an altitude such as \"10000 ft\", or \"relativeAltitude\" such as "
                             "\"-1500 ft\""),
                     join(path, "altitude"), Quantity::Altitude);
        checkRange(ctx, join(path, "altitude"), a.altitudeFt, kMinAltitudeFt, kMaxAltitudeFt,
                   "an altitude from -2000 to 100000 ft");
    }
    readMotion(ctx, j, path, a);
    if (const Json* eng = find(j, "engineRunning")) {
        if (!eng->is_boolean()) {
            ctx.fail(join(path, "engineRunning"),
                     std::string("expected true or false, found ") + typeName(*eng));
        }
        a.engineRunning = eng->get<bool>();
    }
    return a;
}

// Draw parameters and gauge properties: names are the module's, values plain
// numbers in the module's units (or text for a text parameter).
std::vector<NamedValue> readNamedValues(const Context& ctx, const Json& j, const std::string& path,
                                        bool textAllowed) {
    expectObject(ctx, j, path);
    std::vector<NamedValue> out;
    for (auto it = j.begin(); it != j.end(); ++it) {
        NamedValue v;
        v.name = it.key();
        v.path = join(path, it.key());
        v.line = ctx.lines->lineOf(v.path);
        if (it->is_number()) {
            v.number = finiteNumber(ctx, *it, v.path, "a number");
        } else if (it->is_string() && textAllowed) {
            v.kind = NamedValue::Kind::Text;
            v.text = it->get<std::string>();
        } else if (it->is_boolean()) {
            v.number = it->get<bool>() ? 1.0 : 0.0;
        } else {
            ctx.fail(v.path, std::string("expected ") +
                                 (textAllowed ? "a number or a text" : "a number") + ", found " +
                                 typeName(*it));
        }
        out.push_back(v);
    }
    return out;
}

}  // namespace

InputError::InputError(std::string file, int line, std::string field, std::string problem)
    : std::runtime_error(formatMessage(file, line, field, problem)),
      file_(std::move(file)),
      line_(line),
      field_(std::move(field)),
      problem_(std::move(problem)) {}

std::string closestName(const std::string& word, const std::vector<std::string>& candidates) {
    const std::string w = lower(word);
    std::string best;
    size_t bestDistance = 3;  // at most two edits count as a misspelling
    for (const std::string& c : candidates) {
        const std::string l = lower(c);
        std::vector<size_t> row(l.size() + 1);
        for (size_t k = 0; k <= l.size(); ++k) {
            row[k] = k;
        }
        for (size_t i = 1; i <= w.size(); ++i) {
            size_t diagonal = row[0];
            row[0] = i;
            for (size_t k = 1; k <= l.size(); ++k) {
                const size_t above = row[k];
                row[k] = std::min(
                    {row[k] + 1, row[k - 1] + 1, diagonal + (w[i - 1] == l[k - 1] ? 0 : 1)});
                diagonal = above;
            }
        }
        if (row[l.size()] < bestDistance) {
            bestDistance = row[l.size()];
            best = c;
        }
    }
    return best;
}

// A scenario needs a handful of levels (traffic, an aircraft, its vertical
// speed schedule, one change); the limit keeps a hostile file from
// exhausting the stack of the JSON reader or of the checks after it.
constexpr int kMaxNesting = 16;

// Throws if arrays and objects nest deeper than kMaxNesting, naming the line
// where the limit is passed. Brackets inside strings do not count.
void checkNesting(const std::string& source, const std::string& file) {
    int depth = 0;
    int line = 1;
    bool inString = false;
    for (size_t i = 0; i < source.size(); ++i) {
        const char c = source[i];
        if (c == '\n') {
            ++line;
        } else if (inString) {
            if (c == '\\') {
                ++i;  // the escaped character cannot end the string
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxNesting) {
                throw InputError(file, line, "",
                                 "arrays and objects nested more than " +
                                     std::to_string(kMaxNesting) +
                                     " levels deep; a scenario needs only a few");
            }
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
}

PreviewScenario parseScenario(const std::string& source, const std::string& file) {
    checkNesting(source, file);
    Json root;
    try {
        root = Json::parse(source);
    } catch (const Json::parse_error& e) {
        int line = 1;
        const size_t end = std::min<size_t>(e.byte, source.size());
        for (size_t i = 0; i + 1 < end; ++i) {
            line += source[i] == '\n' ? 1 : 0;
        }
        std::string what = e.what();
        const size_t colon = what.find("parse error");
        if (colon != std::string::npos) {
            what = what.substr(colon);
        }
        throw InputError(file, line, "", "not valid JSON: " + what);
    }
    const LineMap lines(source);
    Context ctx{file, &lines};
    expectObject(ctx, root, "");
    checkKeys(ctx, root, "",
              {"name", "title", "expect", "duration", "ticksPerSecond", "callsPerSecond",
               "frameInterval", "size", "hostScale", "mode", "own", "traffic", "gauge", "mouse",
               "parameters", "displays", "localVariables"});

    PreviewScenario s;
    s.file = file;
    s.name = std::filesystem::path(file).stem().string();
    if (const Json* name = find(root, "name")) {
        s.name = text(ctx, *name, "name", 64);
        const bool ok = !s.name.empty() && std::all_of(s.name.begin(), s.name.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
        });
        if (!ok) {
            ctx.fail("name", "\"" + s.name +
                                 "\" cannot name an output folder; expected letters, digits, "
                                 "'-' and '_'");
        }
    }
    if (const Json* t = find(root, "title")) {
        s.title = text(ctx, *t, "title", 200);
    }
    if (const Json* e = find(root, "expect")) {
        s.expect = text(ctx, *e, "expect", 1000);
    }
    s.durationS = quantity(ctx, require(ctx, root, "", "duration", "a time such as \"90 s\""),
                           "duration", Quantity::Time);
    checkRange(ctx, "duration", s.durationS, 1.0, kMaxDurationS, "a time from 1 to 3600 s");
    if (const Json* t = find(root, "ticksPerSecond")) {
        s.ticksPerSecond = finiteNumber(ctx, *t, "ticksPerSecond", "a number of ticks");
        checkRange(ctx, "ticksPerSecond", s.ticksPerSecond, 1.0, 1000.0,
                   "from 1 to 1000 ticks per second (the simulator counts 18)");
    }
    if (const Json* c = find(root, "callsPerSecond")) {
        s.callsPerSecond = finiteNumber(ctx, *c, "callsPerSecond", "a number of calls");
        checkRange(ctx, "callsPerSecond", s.callsPerSecond, 1.0, 1000.0,
                   "from 1 to 1000 update and draw calls per second");
    }
    if (const Json* f = find(root, "frameInterval")) {
        s.frameIntervalS = quantity(ctx, *f, "frameInterval", Quantity::Time);
        checkRange(ctx, "frameInterval", s.frameIntervalS, 0.0, kMaxDurationS,
                   "a time from 0 (every traffic cycle) to 3600 s");
    }
    if (const Json* size = find(root, "size")) {
        if (!size->is_array() || size->size() != 2) {
            ctx.fail("size", "expected [width, height] in pixels, such as [256, 256]");
        }
        s.width = static_cast<int>(
            wholeNumber(ctx, (*size)[0], "size[0]", 16, 2048, "a width from 16 to 2048 pixels"));
        s.height = static_cast<int>(
            wholeNumber(ctx, (*size)[1], "size[1]", 16, 2048, "a height from 16 to 2048 pixels"));
    }
    if (const Json* scale = find(root, "hostScale")) {
        s.hostScale = finiteNumber(ctx, *scale, "hostScale", "a scale factor");
        checkRange(ctx, "hostScale", s.hostScale, 0.125, 16.0,
                   "from 0.125 to 16 device pixels per gauge unit");
    }
    if (const Json* mode = find(root, "mode")) {
        const std::string m = text(ctx, *mode, "mode", 32);
        if (m == "positionOnly") {
            s.positionOnly = true;
        } else if (m != "full") {
            ctx.fail("mode", "\"" + m +
                                 "\" is not a traffic mode; expected \"full\" or "
                                 "\"positionOnly\"");
        }
    }

    s.own = readOwn(ctx, require(ctx, root, "", "own", "the own aircraft {...}"), "own");
    const Json& traffic = require(ctx, root, "", "traffic", "a list of aircraft [...]");
    if (!traffic.is_array()) {
        ctx.fail("traffic", std::string("expected a list of aircraft, found ") + typeName(traffic));
    }
    if (traffic.size() > kMaxTraffic) {
        ctx.fail("traffic", "too many aircraft; expected at most 2000");
    }
    std::set<int32_t> ids{s.own.id};
    for (size_t i = 0; i < traffic.size(); ++i) {
        const std::string p = index("traffic", i);
        AircraftPlan a = readTraffic(ctx, traffic[i], p);
        if (!ids.insert(a.id).second) {
            ctx.fail(join(p, "id"),
                     "id " + std::to_string(a.id) + " is already used; expected an id of its own");
        }
        s.traffic.push_back(std::move(a));
    }

    if (const Json* gauge = find(root, "gauge")) {
        s.gauge = readNamedValues(ctx, *gauge, "gauge", false);
    }
    if (const Json* mouse = find(root, "mouse")) {
        if (!mouse->is_array()) {
            ctx.fail("mouse", "expected a list of {\"at\", \"x\", \"y\"}");
        }
        double last = -1.0;
        for (size_t i = 0; i < mouse->size(); ++i) {
            const std::string p = index("mouse", i);
            const Json& m = (*mouse)[i];
            expectObject(ctx, m, p);
            checkKeys(ctx, m, p, {"at", "x", "y"});
            MouseKey key;
            key.atS = quantity(ctx, require(ctx, m, p, "at", "a time such as \"10 s\""),
                               join(p, "at"), Quantity::Time);
            if (key.atS < last) {
                ctx.fail(join(p, "at"), "times must not decrease from one key to the next");
            }
            last = key.atS;
            key.x = finiteNumber(ctx, require(ctx, m, p, "x", "a fraction of the width"),
                                 join(p, "x"), "a fraction of the width");
            key.y = finiteNumber(ctx, require(ctx, m, p, "y", "a fraction of the height"),
                                 join(p, "y"), "a fraction of the height");
            checkRange(ctx, join(p, "x"), key.x, -10.0, 10.0,
                       "a fraction of the width (0 left edge, 1 right edge)");
            checkRange(ctx, join(p, "y"), key.y, -10.0, 10.0,
                       "a fraction of the height (0 top edge, 1 bottom edge)");
            s.mouse.push_back(key);
        }
    }
    if (const Json* params = find(root, "parameters")) {
        s.parameters = readNamedValues(ctx, *params, "parameters", true);
    }
    if (const Json* locals = find(root, "localVariables")) {
        if (!locals->is_object()) {
            ctx.fail("localVariables", "expected an object such as {\"ContactScope range\": 6}");
        }
        for (auto it = locals->begin(); it != locals->end(); ++it) {
            const std::string p = join("localVariables", it.key());
            NamedValue v;
            v.name = it.key();
            v.path = p;
            v.number = finiteNumber(ctx, it.value(), p, "a number");
            s.localVariables.push_back(std::move(v));
        }
    }
    if (const Json* displays = find(root, "displays")) {
        if (!displays->is_array() || displays->empty()) {
            ctx.fail("displays", "expected a list of displays such as [\"tcas\", \"radar\"]");
        }
        for (size_t i = 0; i < displays->size(); ++i) {
            const std::string p = index("displays", i);
            const Json& d = (*displays)[i];
            DisplayPlan plan;
            std::string kind;
            if (d.is_string()) {
                kind = d.get<std::string>();
            } else if (d.is_object()) {
                checkKeys(ctx, d, p, {"kind", "parameters"});
                kind = text(ctx, require(ctx, d, p, "kind", "\"tcas\" or \"radar\""),
                            join(p, "kind"), 16);
                if (const Json* params = find(d, "parameters")) {
                    plan.parameters = readNamedValues(ctx, *params, join(p, "parameters"), true);
                }
            } else {
                ctx.fail(p, std::string("expected \"tcas\", \"radar\" or {\"kind\", "
                                        "\"parameters\"}, found ") +
                                typeName(d));
            }
            if (kind == "tcas") {
                plan.kind = DisplayKind::Tcas;
            } else if (kind == "radar") {
                plan.kind = DisplayKind::Radar;
            } else {
                ctx.fail(d.is_object() ? join(p, "kind") : p,
                         "\"" + kind + "\" is not a display; expected \"tcas\" or \"radar\"");
            }
            s.displays.push_back(std::move(plan));
        }
    } else {
        s.displays = {DisplayPlan{DisplayKind::Tcas, {}}, DisplayPlan{DisplayKind::Radar, {}}};
    }
    return s;
}

PreviewScenario loadScenarioFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw InputError(path, 0, "", "cannot read the file");
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parseScenario(text.str(), path);
}

namespace {

void resolveParameters(const std::string& file, std::vector<NamedValue>& values,
                       const ModuleVocabulary& vocabulary) {
    std::vector<std::string> names;
    for (const auto& p : vocabulary.parameters) {
        names.push_back(p.name);
    }
    for (NamedValue& v : values) {
        const ModuleVocabulary::Parameter* match = nullptr;
        for (const auto& p : vocabulary.parameters) {
            if (lower(p.name) == lower(v.name)) {
                match = &p;
                break;
            }
        }
        if (match == nullptr) {
            std::string problem = "unknown draw parameter \"" + v.name + "\"";
            const std::string guess = closestName(v.name, names);
            if (!guess.empty()) {
                problem += " (did you mean \"" + guess + "\"?)";
            }
            throw InputError(file, v.line, v.path,
                             problem +
                                 "; expected one of the module's parameter names, such "
                                 "as \"Range\" or \"TADetail\" (docs/kit/reference.md)");
        }
        v.id = match->id;
        v.type = match->type;
        if (match->type == 4) {
            if (v.kind != NamedValue::Kind::Text) {
                throw InputError(file, v.line, v.path,
                                 "\"" + match->name +
                                     "\" is a text parameter; expected a text "
                                     "such as \"Arial\"");
            }
            continue;
        }
        if (v.kind == NamedValue::Kind::Text) {
            // Colours read best in hexadecimal: "0xFFFF00".
            const std::string& t = v.text;
            const bool hex = match->type == 3 && t.size() > 2 && t.size() <= 10 && t[0] == '0' &&
                             (t[1] == 'x' || t[1] == 'X') &&
                             std::all_of(t.begin() + 2, t.end(), [](char c) {
                                 return std::isxdigit(static_cast<unsigned char>(c));
                             });
            if (!hex) {
                throw InputError(
                    file, v.line, v.path,
                    "\"" + match->name + "\" takes a number" +
                        (match->type == 3 ? " (colours may be written \"0xRRGGBB\")" : "") +
                        ", found the text \"" + t + "\"");
            }
            v.kind = NamedValue::Kind::Number;
            v.number = static_cast<double>(std::strtoul(t.c_str() + 2, nullptr, 16));
            if (v.number > 2147483647.0) {
                v.number -= 4294967296.0;  // the 32-bit pattern as a signed integer
            }
        }
        if (match->type == 3) {
            if (v.number != std::floor(v.number) || v.number < -2147483648.0 ||
                v.number > 2147483647.0) {
                std::ostringstream s;
                s << "\"" << match->name << "\" is a 32-bit integer parameter; " << v.number
                  << " is not a whole number in its range";
                throw InputError(file, v.line, v.path, s.str());
            }
        }
    }
}

}  // namespace

void resolveNames(PreviewScenario& scenario, const ModuleVocabulary& vocabulary) {
    resolveParameters(scenario.file, scenario.parameters, vocabulary);
    for (DisplayPlan& d : scenario.displays) {
        resolveParameters(scenario.file, d.parameters, vocabulary);
    }
    for (NamedValue& v : scenario.gauge) {
        int32_t id = -1;
        if (!vocabulary.propertyId || !vocabulary.propertyId(v.name, &id)) {
            throw InputError(scenario.file, v.line, v.path,
                             "unknown gauge property \"" + v.name +
                                 "\"; expected a writable property such as \"range\", "
                                 "\"brightness\" or \"timeSeparationTA\"");
        }
        if (!vocabulary.propertyWritable || !vocabulary.propertyWritable(id)) {
            throw InputError(scenario.file, v.line, v.path,
                             "property \"" + v.name +
                                 "\" is read-only; expected a writable property such as "
                                 "\"range\" or \"altSeparationRA\"");
        }
        int32_t mouseX = -1, mouseY = -1;
        vocabulary.propertyId("mouseRelPosX", &mouseX);
        vocabulary.propertyId("mouseRelPosY", &mouseY);
        if (id == mouseX || id == mouseY) {
            throw InputError(scenario.file, v.line, v.path,
                             "the mouse position is given over time in \"mouse\"; expected "
                             "[{\"at\": \"0 s\", \"x\": 0.5, \"y\": 0.5}]");
        }
        v.id = id;
    }
}

}  // namespace cs::preview
