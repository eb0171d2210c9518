#include "tools/scenario/ScenarioParser.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "simhost/FilePath.h"
#include "tools/scenario/AircraftReader.h"
#include "tools/scenario/ScenarioFields.h"
#include "tools/scenario/WorkbenchInputs.h"

namespace cs::preview {

const char* displayName(DisplayKind kind) {
    return kind == DisplayKind::Radar ? "radar" : "tcas";
}

namespace {

using namespace fields;

const std::vector<std::string> kTopKeys = {"name",
                                           "title",
                                           "expect",
                                           "duration",
                                           "ticksPerSecond",
                                           "callsPerSecond",
                                           "frameInterval",
                                           "size",
                                           "hostScale",
                                           "mode",
                                           "own",
                                           "traffic",
                                           "gauge",
                                           "mouse",
                                           "parameters",
                                           "displays",
                                           "localVariables",
                                           "aircraftVariables",
                                           "localTime"};

// The top level of a scenario file, read in the order of kTopKeys so that of
// several mistakes the first in that order is reported.
class ScenarioReader {
  public:
    explicit ScenarioReader(const JsonDocument& document) : in_(document) {}

    PreviewScenario read() {
        const Json& root = in_.document().root();
        in_.expectObject(root, "");
        in_.checkKeys(root, "", kTopKeys);
        PreviewScenario s;
        s.file = in_.document().file();
        readDescription(root, s);
        readTiming(root, s);
        readDrawingArea(root, s);
        readAircraft(root, s);
        if (const Json* gauge = in_.find(root, "gauge")) {
            s.gauge = readNamedValues(*gauge, "gauge", false);
        }
        if (const Json* mouse = in_.find(root, "mouse")) {
            s.mouse = readMouse(*mouse, "mouse");
        }
        if (const Json* parameters = in_.find(root, "parameters")) {
            s.parameters = readNamedValues(*parameters, "parameters", true);
        }
        if (const Json* locals = in_.find(root, "localVariables")) {
            s.localVariables = readLocalVariables(in_, *locals, "localVariables");
        }
        if (const Json* given = in_.find(root, "aircraftVariables")) {
            s.aircraftVariables = readAircraftVariables(in_, *given, "aircraftVariables");
        }
        if (const Json* time = in_.find(root, "localTime")) {
            s.localTimeS = readTimeOfDay(in_, *time, "localTime");
        }
        if (const Json* displays = in_.find(root, "displays")) {
            s.displays = readDisplays(*displays, "displays");
        } else {
            s.displays = {DisplayPlan{DisplayKind::Tcas, {}}, DisplayPlan{DisplayKind::Radar, {}}};
        }
        return s;
    }

  private:
    // The name (an output folder: the file's stem unless given), title and
    // expectation.
    void readDescription(const Json& root, PreviewScenario& s) const {
        s.name = sim::utf8Path(sim::fsPath(s.file).stem());
        if (const Json* name = in_.find(root, "name")) {
            s.name = in_.text(*name, "name", kMaxNameLength);
            const bool ok =
                !s.name.empty() && std::all_of(s.name.begin(), s.name.end(), [](char c) {
                    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
                });
            if (!ok) {
                in_.fail("name", "\"" + s.name +
                                     "\" cannot name an output folder; expected letters, digits, "
                                     "'-' and '_'");
            }
        }
        if (const Json* title = in_.find(root, "title")) {
            s.title = in_.text(*title, "title", kMaxTitleLength);
        }
        if (const Json* expect = in_.find(root, "expect")) {
            s.expect = in_.text(*expect, "expect", kMaxExpectLength);
        }
    }

    void readTiming(const Json& root, PreviewScenario& s) const {
        s.durationS = in_.required(root, "", kDuration);
        s.ticksPerSecond = in_.optional(root, "", kTicksPerSecond).value_or(s.ticksPerSecond);
        s.callsPerSecond = in_.optional(root, "", kCallsPerSecond).value_or(s.callsPerSecond);
        s.frameIntervalS = in_.optional(root, "", kFrameInterval).value_or(s.frameIntervalS);
    }

    // Size, host scale and traffic mode.
    void readDrawingArea(const Json& root, PreviewScenario& s) const {
        if (const Json* size = in_.find(root, "size")) {
            if (!size->is_array() || size->size() != 2) {
                in_.fail("size", "expected [width, height] in pixels, such as [256, 256]");
            }
            s.width = static_cast<int>(in_.number((*size)[0], "size[0]", kWidth));
            s.height = static_cast<int>(in_.number((*size)[1], "size[1]", kHeight));
        }
        s.hostScale = in_.optional(root, "", kHostScale).value_or(s.hostScale);
        if (const Json* mode = in_.find(root, "mode")) {
            const std::string m = in_.text(*mode, "mode", kMaxWordLength);
            if (m == "positionOnly") {
                s.positionOnly = true;
            } else if (m != "full") {
                in_.fail("mode", "\"" + m +
                                     "\" is not a traffic mode; expected \"full\" or "
                                     "\"positionOnly\"");
            }
        }
    }

    void readAircraft(const Json& root, PreviewScenario& s) const {
        s.own = readOwnAircraft(in_, in_.require(root, "", "own", "the own aircraft {...}"), "own");
        const Json& traffic = in_.require(root, "", "traffic", "a list of aircraft [...]");
        if (!traffic.is_array()) {
            in_.fail("traffic",
                     std::string("expected a list of aircraft, found ") + typeName(traffic));
        }
        if (traffic.size() > kMaxTraffic) {
            in_.fail("traffic",
                     "too many aircraft; expected at most " + std::to_string(kMaxTraffic));
        }
        std::set<int32_t> ids{s.own.id};
        for (size_t i = 0; i < traffic.size(); ++i) {
            const std::string path = itemPath("traffic", i);
            AircraftPlan a = readTrafficAircraft(in_, traffic[i], path);
            if (!ids.insert(a.id).second) {
                in_.fail(fieldPath(path, "id"), "id " + std::to_string(a.id) +
                                                    " is already used; expected an id of its own");
            }
            s.traffic.push_back(std::move(a));
        }
    }

    std::vector<MouseKey> readMouse(const Json& list, const std::string& path) const {
        if (!list.is_array()) {
            in_.fail(path, "expected a list of {\"at\", \"x\", \"y\"}");
        }
        std::vector<MouseKey> keys;
        double last = -1.0;
        for (size_t i = 0; i < list.size(); ++i) {
            const std::string p = itemPath(path, i);
            const Json& m = list[i];
            in_.expectObject(m, p);
            in_.checkKeys(m, p, {"at", "x", "y", "click"});
            MouseKey key;
            key.line = in_.document().lineOf(p);
            if (const Json* click = in_.find(m, "click")) {
                key.click = in_.text(*click, fieldPath(p, "click"), 32);
            }
            key.atS = in_.required(m, p, kMouseAt);
            if (key.atS < last) {
                in_.fail(fieldPath(p, "at"), "times must not decrease from one key to the next");
            }
            last = key.atS;
            const std::string xPath = fieldPath(p, kMouseX.key), yPath = fieldPath(p, kMouseY.key);
            key.x = in_.read(in_.require(m, p, kMouseX.key, kMouseX.missing), xPath, kMouseX);
            key.y = in_.read(in_.require(m, p, kMouseY.key, kMouseY.missing), yPath, kMouseY);
            in_.checkLimits(xPath, key.x, kMouseX);
            in_.checkLimits(yPath, key.y, kMouseY);
            keys.push_back(key);
        }
        return keys;
    }

    std::vector<DisplayPlan> readDisplays(const Json& list, const std::string& path) const {
        if (!list.is_array() || list.empty()) {
            in_.fail(path, "expected a list of displays such as [\"tcas\", \"radar\"]");
        }
        std::vector<DisplayPlan> displays;
        for (size_t i = 0; i < list.size(); ++i) {
            displays.push_back(readDisplay(list[i], itemPath(path, i)));
        }
        return displays;
    }

    // "tcas", "radar", or {"kind", "parameters"}.
    DisplayPlan readDisplay(const Json& d, const std::string& path) const {
        DisplayPlan plan;
        std::string kind;
        if (d.is_string()) {
            kind = d.get<std::string>();
        } else if (d.is_object()) {
            in_.checkKeys(d, path, {"kind", "parameters"});
            kind = in_.text(in_.require(d, path, "kind", "\"tcas\" or \"radar\""),
                            fieldPath(path, "kind"), kMaxKindLength);
            if (const Json* parameters = in_.find(d, "parameters")) {
                plan.parameters = readNamedValues(*parameters, fieldPath(path, "parameters"), true);
            }
        } else {
            in_.fail(path, std::string("expected \"tcas\", \"radar\" or {\"kind\", "
                                       "\"parameters\"}, found ") +
                               typeName(d));
        }
        if (kind == "tcas") {
            plan.kind = DisplayKind::Tcas;
        } else if (kind == "radar") {
            plan.kind = DisplayKind::Radar;
        } else {
            in_.fail(d.is_object() ? fieldPath(path, "kind") : path,
                     "\"" + kind + "\" is not a display; expected \"tcas\" or \"radar\"");
        }
        return plan;
    }

    // Draw parameters and gauge properties: names are the module's, values
    // plain numbers in the module's units (or text for a text parameter).
    std::vector<NamedValue> readNamedValues(const Json& j, const std::string& path,
                                            bool textAllowed) const {
        in_.expectObject(j, path);
        std::vector<NamedValue> out;
        for (auto it = j.begin(); it != j.end(); ++it) {
            NamedValue v;
            v.name = it.key();
            v.path = fieldPath(path, it.key());
            v.line = in_.document().lineOf(v.path);
            if (it->is_number()) {
                v.number = in_.finiteNumber(*it, v.path, "a number");
            } else if (it->is_string() && textAllowed) {
                v.kind = NamedValue::Kind::Text;
                v.text = it->get<std::string>();
            } else if (it->is_boolean()) {
                v.number = it->get<bool>() ? 1.0 : 0.0;
            } else {
                in_.fail(v.path, std::string("expected ") +
                                     (textAllowed ? "a number or a text" : "a number") +
                                     ", found " + typeName(*it));
            }
            out.push_back(v);
        }
        return out;
    }

    FieldReader in_;
};

}  // namespace

PreviewScenario parseScenario(const std::string& text, const std::string& file) {
    const JsonDocument document(text, file);
    return ScenarioReader(document).read();
}

PreviewScenario loadScenarioFile(const std::string& path) {
    std::string text;
    std::uintmax_t size = 0;
    if (sim::fileKind(path) == sim::FileKind::Folder || !sim::readFile(path, text, size)) {
        throw InputError(path, 0, "", "cannot read the file");
    }
    return parseScenario(text, path);
}

}  // namespace cs::preview
