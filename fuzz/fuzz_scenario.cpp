// Fuzzes the scenario reader of the preview tool and the workbench with
// arbitrary bytes: the JSON reader with its nesting limit and line map, every
// field check, and the resolution of draw-parameter and property names
// against a vocabulary like the module's. A text is either a scenario within
// its limits or one InputError naming the file; anything else (a crash,
// another exception, undefined behaviour, a hang) is a finding.

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "simhost/GaugeHost.h"
#include "tools/scenario/ScenarioParser.h"

namespace {

using namespace cs::preview;

const ModuleVocabulary& vocabulary() {
    static const ModuleVocabulary v = [] {
        ModuleVocabulary out;
        out.parameters = {{"Range", 0, cs::sim::kParameterTypeReal},
                          {"TAColour", 5, cs::sim::kParameterTypeInteger},
                          {"TADetail", 15, cs::sim::kParameterTypeInteger},
                          {"Font", 19, cs::sim::kParameterTypeString}};
        out.propertyId = [](const std::string& name, int32_t* id) {
            static const char* const kNames[] = {"range", "brightness", "mouseRelPosX",
                                                 "mouseRelPosY", "advisory"};
            for (int32_t i = 0; i < 5; ++i) {
                if (name == kNames[i]) {
                    *id = i + 2;
                    return true;
                }
            }
            return false;
        };
        out.propertyWritable = [](int32_t id) { return id <= 5; };  // all but the advisory
        return out;
    }();
    return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        PreviewScenario scenario = parseScenario(text, "fuzz.json");
        cs::fuzz::check(scenario.durationS >= 1.0 && scenario.durationS <= 3600.0,
                        "duration within range", scenario.durationS);
        resolveNames(scenario, vocabulary());
    } catch (const InputError& e) {
        cs::fuzz::check(e.file() == "fuzz.json" && std::string(e.what()).rfind("fuzz.json", 0) == 0,
                        "the message names the file");
    }
    return 0;
}
