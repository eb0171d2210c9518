// Fuzzes the scenario reader of the preview tool and the workbench: any
// text is either a scenario or one InputError naming the file, never a crash,
// a hang or an undefined conversion.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "tools/preview/ScenarioParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const cs::preview::PreviewScenario s = cs::preview::parseScenario(text, "fuzz.json");
        cs::fuzz::check(s.durationS >= 1.0 && s.durationS <= 3600.0, "duration within range",
                        s.durationS);
    } catch (const cs::preview::InputError& e) {
        cs::fuzz::check(std::string(e.what()).rfind("fuzz.json", 0) == 0,
                        "the message names the file");
    }
    return 0;
}
