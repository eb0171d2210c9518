// Scenario files: every kind of mistake gets one message that names the file,
// the line, the field and what was expected; good files convert units.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tools/scenario/ScenarioParser.h"

namespace cs::preview {
namespace {

// A valid scenario; each error case below replaces one piece of it.
std::string scenarioWith(const std::string& ownExtra, const std::string& trafficItem,
                         const std::string& topExtra = "") {
    return "{\n"
           "  \"duration\": \"60 s\",\n" +
           topExtra +
           "  \"own\": {\"latitude\": 47.0, \"longitude\": 8.0, \"altitude\": \"10000 ft\"" +
           ownExtra +
           "},\n"
           "  \"traffic\": [\n"
           "    " +
           trafficItem +
           "\n"
           "  ]\n"
           "}\n";
}
const std::string kGoodTraffic =
    "{\"id\": 2, \"bearing\": 90, \"distance\": \"5 nm\", \"relativeAltitude\": \"500 ft\", "
    "\"track\": 270, \"groundSpeed\": \"250 kt\"}";

struct BadCase {
    const char* label;
    std::string text;
    const char* field;  // expected field in the message ("" for syntax errors)
    int line;
    const char* says;  // a piece of the problem text
};

class ScenarioErrors : public ::testing::TestWithParam<BadCase> {};

TEST_P(ScenarioErrors, OneClearMessage) {
    const BadCase& c = GetParam();
    try {
        parseScenario(c.text, "bad.json");
        FAIL() << "accepted: " << c.label;
    } catch (const InputError& e) {
        EXPECT_EQ(e.file(), "bad.json");
        EXPECT_EQ(e.field(), c.field) << e.what();
        EXPECT_EQ(e.line(), c.line) << e.what();
        EXPECT_NE(e.problem().find(c.says), std::string::npos) << e.what();
        const std::string what = e.what();
        EXPECT_EQ(what.rfind("bad.json:" + std::to_string(c.line) + ": ", 0), 0u) << what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScenarioErrors,
    ::testing::Values(
        BadCase{"not JSON", "{\n  \"duration\": \"60 s\",\n  \"own\": {\n}}}\n", "", 4,
                "not valid JSON"},
        BadCase{"trailing comma", "{\"duration\": \"60 s\",\n}", "", 2, "not valid JSON"},
        BadCase{"number beyond a double", "{\n  \"duration\": 1e999}", "", 2, "number overflow"},
        BadCase{"unknown top field", scenarioWith("", kGoodTraffic, "  \"durration\": 1,\n"),
                "durration", 3, "did you mean \"duration\""},
        BadCase{"unknown traffic field",
                scenarioWith("",
                             "{\"id\": 2, \"bearing\": 90, \"distance\": \"5 nm\", "
                             "\"relativeAltitude\": \"0 ft\", \"colour\": 3}"),
                "traffic[0].colour", 5, "unknown field"},
        BadCase{"missing duration",
                "{\n  \"own\": {\"latitude\": 1, \"longitude\": 2, \"altitude\": \"1 ft\"},\n"
                "  \"traffic\": []\n}",
                "duration", 1, "missing required field \"duration\""},
        BadCase{"missing own altitude",
                scenarioWith("", kGoodTraffic)
                    .replace(scenarioWith("", kGoodTraffic).find(", \"altitude\""),
                             std::string(", \"altitude\": \"10000 ft\"").size(), ""),
                "own.altitude", 3, "missing required field"},
        BadCase{
            "missing traffic id",
            scenarioWith("", "{\"bearing\": 90, \"distance\": \"5 nm\", \"altitude\": \"1 ft\"}"),
            "traffic[0].id", 5, "missing required field \"id\""},
        BadCase{"no start position", scenarioWith("", "{\"id\": 2, \"altitude\": \"1 ft\"}"),
                "traffic[0].distance", 5, "start position"},
        BadCase{"wrong type",
                scenarioWith("",
                             "{\"id\": \"two\", \"bearing\": 90, \"distance\": "
                             "\"5 nm\", \"altitude\": \"1 ft\"}"),
                "traffic[0].id", 5, "found a text"},
        BadCase{"traffic not a list",
                "{\"duration\": \"1 s\", \"own\": {\"latitude\": 1, "
                "\"longitude\": 2, \"altitude\": \"1 ft\"},\n\"traffic\": 3}",
                "traffic", 2, "expected a list"},
        BadCase{"unit-less distance",
                scenarioWith("",
                             "{\"id\": 2, \"bearing\": 90, \"distance\": 5, \"altitude\": "
                             "\"1 ft\"}"),
                "traffic[0].distance", 5, "has no unit"},
        BadCase{"unit-less text",
                scenarioWith(", \"groundSpeed\": \"250\", \"track\": 0", kGoodTraffic),
                "own.groundSpeed", 3, "has no unit"},
        BadCase{"wrong unit",
                scenarioWith(", \"groundSpeed\": \"250 mph\", \"track\": 0", kGoodTraffic),
                "own.groundSpeed", 3, "unknown unit \"mph\""},
        BadCase{"wrong unit lists the spellings",
                scenarioWith(", \"groundSpeed\": \"250 kmh\", \"track\": 0", kGoodTraffic),
                "own.groundSpeed", 3, "\"kt\" or \"kts\" or \"knots\""},
        BadCase{"deep nesting at the top", "\n" + std::string(50000, '['), "", 2,
                "nested more than 16 levels"},
        BadCase{"deep nesting in a field",
                scenarioWith(", \"track\": " + std::string(40, '[') + std::string(40, ']'),
                             kGoodTraffic),
                "", 3, "nested more than 16 levels"},
        BadCase{"latitude beyond 90",
                scenarioWith("", kGoodTraffic)
                    .replace(scenarioWith("", kGoodTraffic).find("47.0"), 4, "91.5"),
                "own.latitude", 3, "impossible"},
        BadCase{"negative speed",
                scenarioWith("",
                             "{\"id\": 2, \"bearing\": 90, \"distance\": \"5 nm\", "
                             "\"altitude\": \"1 ft\", \"track\": 0, \"groundSpeed\": "
                             "\"-20 kt\"}"),
                "traffic[0].groundSpeed", 5, "impossible"},
        BadCase{"negative distance",
                scenarioWith("",
                             "{\"id\": 2, \"bearing\": 90, \"distance\": \"-1 nm\", "
                             "\"altitude\": \"1 ft\"}"),
                "traffic[0].distance", 5, "impossible"},
        BadCase{"bearing beyond 360",
                scenarioWith("",
                             "{\"id\": 2, \"bearing\": 400, \"distance\": \"1 nm\", "
                             "\"altitude\": \"1 ft\"}"),
                "traffic[0].bearing", 5, "impossible"},
        BadCase{"both start forms",
                scenarioWith("",
                             "{\"id\": 2, \"bearing\": 4, \"distance\": \"1 nm\", "
                             "\"latitude\": 1, \"longitude\": 1, \"altitude\": \"1 ft\"}"),
                "traffic[0].bearing", 5, "not both"},
        BadCase{"duplicate id", scenarioWith("", kGoodTraffic + ",\n    " + kGoodTraffic),
                "traffic[1].id", 6, "already used"},
        BadCase{"decreasing change times",
                scenarioWith(", \"verticalSpeedChanges\": [{\"at\": \"20 s\", \"verticalSpeed\": "
                             "\"0 fpm\"}, {\"at\": \"10 s\", \"verticalSpeed\": \"0 fpm\"}]",
                             kGoodTraffic),
                "own.verticalSpeedChanges[1].at", 3, "must not decrease"},
        BadCase{"bad mode", scenarioWith("", kGoodTraffic, "  \"mode\": \"fast\",\n"), "mode", 3,
                "\"full\" or \"positionOnly\""},
        BadCase{"bad display", scenarioWith("", kGoodTraffic, "  \"displays\": [\"map\"],\n"),
                "displays[0]", 3, "not a display"},
        BadCase{"zero duration",
                "{\"duration\": \"0 s\", \"own\": {\"latitude\": 1, "
                "\"longitude\": 2, \"altitude\": \"1 ft\"}, \"traffic\": []}",
                "duration", 1, "impossible"},
        BadCase{"size too small", scenarioWith("", kGoodTraffic, "  \"size\": [8, 256],\n"),
                "size[0]", 3, "impossible"},
        BadCase{"parameter value list",
                scenarioWith("", kGoodTraffic, "  \"parameters\": {\"Range\": [1]},\n"),
                "parameters.Range", 3, "a number or a text"}),
    [](const ::testing::TestParamInfo<BadCase>& info) {
        std::string name = info.param.label;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) {
                c = '_';
            }
        }
        return name;
    });

TEST(ScenarioParser, ConvertsUnitsAndFillsDefaults) {
    const PreviewScenario s = parseScenario(
        scenarioWith(", \"track\": 90, \"groundSpeed\": \"120 kt\", \"verticalSpeed\": \"-700 "
                     "ft/min\"",
                     kGoodTraffic, "  \"frameInterval\": \"2 min\",\n"),
        "dir/my-case.json");
    EXPECT_EQ(s.name, "my-case");
    EXPECT_DOUBLE_EQ(s.durationS, 60.0);
    EXPECT_DOUBLE_EQ(s.frameIntervalS, 120.0);
    EXPECT_DOUBLE_EQ(s.own.groundSpeedKt, 120.0);
    EXPECT_DOUBLE_EQ(s.own.verticalSpeedFpm, -700.0);
    ASSERT_EQ(s.traffic.size(), 1u);
    const AircraftPlan& t = s.traffic[0];
    EXPECT_TRUE(t.relative);
    EXPECT_TRUE(t.altitudeRelative);
    EXPECT_DOUBLE_EQ(t.distanceNm, 5.0);
    EXPECT_DOUBLE_EQ(t.altitudeFt, 500.0);
    EXPECT_EQ(t.atcId, "T2");          // default id text
    ASSERT_EQ(s.displays.size(), 2u);  // both displays unless chosen
    EXPECT_EQ(s.displays[0].kind, DisplayKind::Tcas);
    EXPECT_EQ(s.displays[1].kind, DisplayKind::Radar);
}

// The spellings people write are accepted wherever the unit is unambiguous.
TEST(ScenarioParser, AcceptsCommonUnitSpellings) {
    const PreviewScenario s = parseScenario(
        scenarioWith(", \"track\": 90, \"groundSpeed\": \"120 knots\", \"verticalSpeed\": \"-700 "
                     "FPM\"",
                     "{\"id\": 2, \"bearing\": 90, \"distance\": \"5 NM\", "
                     "\"relativeAltitude\": \"500 feet\", \"track\": 270, \"groundSpeed\": "
                     "\"250 kts\"}",
                     "  \"frameInterval\": \"2 sec\",\n"),
        "units.json");
    EXPECT_DOUBLE_EQ(s.frameIntervalS, 2.0);
    EXPECT_DOUBLE_EQ(s.own.groundSpeedKt, 120.0);
    EXPECT_DOUBLE_EQ(s.own.verticalSpeedFpm, -700.0);
    ASSERT_EQ(s.traffic.size(), 1u);
    EXPECT_DOUBLE_EQ(s.traffic[0].distanceNm, 5.0);
    EXPECT_DOUBLE_EQ(s.traffic[0].altitudeFt, 500.0);
    EXPECT_EQ(parseScenario(scenarioWith("", kGoodTraffic)
                                .replace(scenarioWith("", kGoodTraffic).find("5 nm"), 4, "5 nmi"),
                            "nmi.json")
                  .traffic[0]
                  .distanceNm,
              5.0);
}

// Name resolution against a vocabulary like the module's.
ModuleVocabulary vocabulary() {
    ModuleVocabulary v;
    v.parameters = {{"Range", 0, 2}, {"TAColour", 5, 3}, {"TADetail", 15, 3}, {"Font", 19, 4}};
    v.propertyId = [](const std::string& name, int32_t* id) {
        if (name == "range") {
            *id = 2;
        } else if (name == "advisory") {
            *id = 7;
        } else if (name == "mouseRelPosX") {
            *id = 4;
        } else {
            return false;
        }
        return true;
    };
    v.propertyWritable = [](int32_t id) { return id == 2 || id == 4; };
    return v;
}

struct NameCase {
    const char* label;
    std::string top;  // inserted at the top level
    const char* field;
    const char* says;
};

class NameErrors : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameErrors, RejectedWithTheField) {
    const NameCase& c = GetParam();
    PreviewScenario s = parseScenario(scenarioWith("", kGoodTraffic, c.top), "n.json");
    try {
        resolveNames(s, vocabulary());
        FAIL() << "accepted: " << c.label;
    } catch (const InputError& e) {
        EXPECT_EQ(e.field(), c.field) << e.what();
        EXPECT_EQ(e.line(), 3) << e.what();
        EXPECT_NE(e.problem().find(c.says), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, NameErrors,
    ::testing::Values(
        NameCase{"unknown parameter", "  \"parameters\": {\"TADetial\": 14},\n",
                 "parameters.TADetial", "did you mean \"TADetail\""},
        NameCase{"fraction for an integer", "  \"parameters\": {\"TADetail\": 1.5},\n",
                 "parameters.TADetail", "not a whole number"},
        NameCase{"number for a text", "  \"parameters\": {\"Font\": 3},\n", "parameters.Font",
                 "text parameter"},
        NameCase{"text for a real", "  \"parameters\": {\"Range\": \"ten\"},\n", "parameters.Range",
                 "takes a number"},
        NameCase{"unknown property", "  \"gauge\": {\"rnage\": 5},\n", "gauge.rnage",
                 "unknown gauge property"},
        NameCase{"read-only property", "  \"gauge\": {\"advisory\": 1},\n", "gauge.advisory",
                 "read-only"},
        NameCase{"mouse as a property", "  \"gauge\": {\"mouseRelPosX\": 0.5},\n",
                 "gauge.mouseRelPosX", "over time"},
        NameCase{"display parameter",
                 "  \"displays\": [{\"kind\": \"tcas\", \"parameters\": {\"Rnge\": 5}}],\n",
                 "displays[0].parameters.Rnge", "unknown draw parameter"}),
    [](const ::testing::TestParamInfo<NameCase>& info) {
        std::string name = info.param.label;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) {
                c = '_';
            }
        }
        return name;
    });

TEST(ScenarioNames, ResolveIgnoringCaseWithHexColours) {
    PreviewScenario s = parseScenario(
        scenarioWith("", kGoodTraffic,
                     "  \"parameters\": {\"tacolour\": \"0xFF8000\", \"Range\": 7.5, \"Font\": "
                     "\"Arial\"},\n  \"gauge\": {\"range\": 12},\n"),
        "ok.json");
    resolveNames(s, vocabulary());
    ASSERT_EQ(s.parameters.size(), 3u);
    EXPECT_EQ(s.parameters[0].id, 5);
    EXPECT_EQ(s.parameters[0].type, 3);
    EXPECT_DOUBLE_EQ(s.parameters[0].number, 0xFF8000);
    EXPECT_EQ(s.parameters[1].id, 0);
    EXPECT_EQ(s.parameters[2].text, "Arial");
    ASSERT_EQ(s.gauge.size(), 1u);
    EXPECT_EQ(s.gauge[0].id, 2);
}

TEST(ScenarioNames, ClosestNameOnlyForNearMisses) {
    EXPECT_EQ(closestName("TADetial", {"TADetail", "RADetail"}), "TADetail");
    EXPECT_EQ(closestName("wholly different", {"TADetail", "RADetail"}), "");
}

}  // namespace
}  // namespace cs::preview
