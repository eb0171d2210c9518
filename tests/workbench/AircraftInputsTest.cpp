// Aircraft and clock variables as a scenario gives them: constants and
// timelines (held or ramped), units converted, names with an index, the
// clock; and the scenario mistakes refused with the file, line and field.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "simhost/SimHost.h"
#include "testsupport/TestNames.h"
#include "tools/scenario/InputError.h"
#include "tools/scenario/ScenarioParser.h"
#include "tools/workbench/AircraftInputs.h"

namespace cs::workbench {
namespace {

preview::PreviewScenario scenarioWith(const std::string& extra) {
    return preview::parseScenario(
        R"({"duration": "60 s", "own": {"latitude": 47, "longitude": 8, "altitude": "5000 ft"},
            "traffic": [])" +
            extra + "}",
        "given.json");
}

struct Reading {
    const char* label;
    const char* given;  // the scenario's fields after "traffic"
    char kind;
    const char* name;
    const char* unit;  // as a script asks for it
    double at;
    const char* expected;  // as text
};

class GivenVariables : public ::testing::TestWithParam<Reading> {};

TEST_P(GivenVariables, Read) {
    const Reading& c = GetParam();
    AircraftInputs inputs;
    const preview::PreviewScenario s = scenarioWith(c.given);
    inputs.admit(s);
    inputs.use(s);
    sim::SimHost host;
    host.advance(c.at, 0.0);
    AircraftInputs::Source source;
    ASSERT_TRUE(inputs.find(c.kind, c.name, &source)) << c.name;
    gauge::Value v;
    inputs.read(source, host, v);
    const Unit* unit = findUnit(c.unit);
    ASSERT_NE(unit, nullptr);
    if (!v.isText) {
        // As the variables do: "number" reads in the unit the value was given in.
        const Unit* as =
            unit->dimension == Dimension::Plain && source.natural ? source.natural : unit;
        v.number = std::round(as->fromBase(v.number) * 1e4) / 1e4;
    }
    EXPECT_EQ(v.asText(), c.expected);
}

constexpr const char* kBus =
    R"(, "aircraftVariables": {"ELECTRICAL MAIN BUS VOLTAGE":
        [{"at": "0 s", "value": "0 volts"}, {"at": "10 s", "value": "28 volts"}]})";
constexpr const char* kSpeed =
    R"(, "aircraftVariables": {"AIRSPEED INDICATED":
        [{"at": "0 s", "value": "100 knots"}, {"at": "10 s", "value": "200 knots", "ramp": true}]})";

INSTANTIATE_TEST_SUITE_P(
    Table, GivenVariables,
    ::testing::Values(
        Reading{"constant", R"(, "aircraftVariables": {"GENERAL ENG RPM:1": "2400 rpm"})", 'A',
                "general eng rpm : 1", "rpm", 5, "2400"},
        Reading{"held before", kBus, 'A', "ELECTRICAL MAIN BUS VOLTAGE", "volts", 9.5, "0"},
        Reading{"held after", kBus, 'A', "ELECTRICAL MAIN BUS VOLTAGE", "volts", 10, "28"},
        Reading{"number reads as given", kBus, 'A', "ELECTRICAL MAIN BUS VOLTAGE", "number", 20,
                "28"},
        Reading{"ramped halfway", kSpeed, 'A', "AIRSPEED INDICATED", "knots", 5, "150"},
        Reading{"ramped, other unit", kSpeed, 'A', "AIRSPEED INDICATED", "meters per second", 5,
                "77.1667"},
        Reading{"after the last key", kSpeed, 'A', "AIRSPEED INDICATED", "knots", 30, "200"},
        Reading{"temperature", R"(, "aircraftVariables": {"AMBIENT TEMPERATURE": "15 celsius"})",
                'A', "AMBIENT TEMPERATURE", "fahrenheit", 0, "59"},
        Reading{"frequency", R"(, "aircraftVariables": {"COM1 ACTIVE FREQUENCY": "118.5 MHz"})",
                'A', "COM1 ACTIVE FREQUENCY", "khz", 0, "118500"},
        Reading{"text", R"(, "aircraftVariables": {"ATC ID": "N123"})", 'A', "ATC ID", "number", 0,
                "N123"},
        Reading{"plain number", R"(, "aircraftVariables": {"TRANSPONDER CODE:1": 1200})", 'A',
                "TRANSPONDER CODE:1", "number", 0, "1200"},
        Reading{"transponder as BCD", R"(, "aircraftVariables": {"TRANSPONDER CODE:1": 7700})", 'A',
                "TRANSPONDER CODE:1", "bco16", 0, "30464"},  // 0x7700
        Reading{"radio as BCD", R"(, "aircraftVariables": {"COM1 ACTIVE FREQUENCY": "118.5 MHz"})",
                'A', "COM1 ACTIVE FREQUENCY", "frequency bcd16", 0, "6224"},  // 0x1850
        Reading{"fuel flow",
                R"(, "aircraftVariables": {"ENG FUEL FLOW PPH:1": "100 kilograms per hour"})", 'A',
                "ENG FUEL FLOW PPH:1", "pounds per hour", 0, "220.462"},
        Reading{"local time", R"(, "localTime": "14:30")", 'E', "LOCAL TIME", "minutes", 90,
                "871.5"},
        Reading{"absolute time", "", 'P', "ABSOLUTE TIME", "seconds", 1,
                "63082324801"},  // 1 Jan 2000, noon, one second in
        Reading{"simulation time", "", 'E', "SIMULATION TIME", "minutes", 30, "0.5"}),
    test::ByLabel());

struct Refusal {
    const char* label;
    const char* given;
    const char* says;
};

class GivenVariableRefusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(GivenVariableRefusals, Refused) {
    const Refusal& c = GetParam();
    try {
        AircraftInputs inputs;
        inputs.admit(scenarioWith(c.given));
        FAIL() << "accepted";
    } catch (const preview::InputError& e) {
        EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        EXPECT_EQ(std::string(e.what()).rfind("given.json:", 0), 0u) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, GivenVariableRefusals,
    ::testing::Values(
        Refusal{"own motion", R"(, "aircraftVariables": {"plane altitude": "900 feet"})",
                "follows the own aircraft"},
        Refusal{"unknown unit", R"(, "aircraftVariables": {"BUS": "28 vots"})",
                "unknown unit \"vots\"; did you mean \"volts\""},
        Refusal{"mixed units",
                R"(, "aircraftVariables": {"X": [{"at": "0 s", "value": "1 volts"},
                                                 {"at": "1 s", "value": "3 feet"}]})",
                "mix units"},
        Refusal{"times going back",
                R"(, "aircraftVariables": {"X": [{"at": "5 s", "value": 1},
                                                 {"at": "1 s", "value": 2}]})",
                "times must not decrease"},
        Refusal{"empty timeline", R"(, "aircraftVariables": {"X": []})", "expected from 1"},
        Refusal{"unknown key", R"(, "aircraftVariables": {"X": [{"at": "0 s", "vlue": 1}]})",
                "vlue"},
        Refusal{"not a time of day", R"(, "localTime": "25:00")", "not a time of day"}),
    test::ByLabel());

}  // namespace
}  // namespace cs::workbench
