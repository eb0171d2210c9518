#include "tools/preview/Report.h"

#include <cmath>
#include <cstdio>

namespace cs::preview {

std::string summaryText(const PreviewScenario& scenario, const RunResult& result) {
    std::string out = scenario.name;
    if (!scenario.title.empty()) {
        out += " - " + scenario.title;
    }
    char line[256];
    std::snprintf(line, sizeof line, " (%.0f s, %zu aircraft)\n", scenario.durationS,
                  scenario.traffic.size());
    out += line;
    for (const DisplayResult& d : result.displays) {
        size_t quiet = 0;
        for (const IntruderSummary& i : d.intruders) {
            // Busy scenes: list only what reached an advisory, count the rest.
            if (d.intruders.size() > 12 && i.firstTaFrame < 0) {
                ++quiet;
                continue;
            }
            std::string ta = "no TA", ra = "no RA", closest = "never shown";
            if (i.firstTaFrame >= 0) {
                std::snprintf(line, sizeof line, "first TA %5.0f s", i.firstTaTime);
                ta = line;
            }
            if (i.firstRaFrame >= 0) {
                std::snprintf(line, sizeof line, "first RA %5.0f s", i.firstRaTime);
                ra = line;
            }
            if (std::isfinite(i.closestNm)) {
                std::snprintf(line, sizeof line, "closest %.2f nm %+.0f ft at %.0f s", i.closestNm,
                              i.closestAltDiff, i.closestTime);
                closest = line;
            }
            std::snprintf(line, sizeof line, "  %-5s %-10s %-16s %-16s %s\n", displayName(d.kind),
                          i.atcId.c_str(), ta.c_str(), ra.c_str(), closest.c_str());
            out += line;
        }
        if (quiet > 0) {
            std::snprintf(line, sizeof line, "  %-5s %zu more aircraft without an advisory\n",
                          displayName(d.kind), quiet);
            out += line;
        }
    }
    if (!result.folder.empty()) {
        out += "  -> " + result.folder + "\n";
    }
    return out;
}

}  // namespace cs::preview
