#include "tools/preview/ReportIndex.h"

#include <cmath>
#include <cstdio>

#include "tools/preview/ReportPage.h"

namespace cs::preview {

namespace {

std::string format(const char* pattern, double a, double b = 0, double c = 0) {
    char text[96];
    std::snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}

report::IndexCell levelCell(int frame, double time, const char* cssClass) {
    if (frame < 0) {
        return {"-", "none"};
    }
    return {format("%.0f s", time), cssClass};
}

}  // namespace

report::IndexEntry indexEntry(const PreviewScenario& scenario, const RunResult& result) {
    report::IndexEntry e;
    e.name = scenario.name;
    e.title = scenario.title;
    e.expect = scenario.expect;
    e.open = "Watch the encounter";
    e.sheets = report::sheetFiles(result.files);
    // Busy scenes list, on every display, only the intruders that reached a
    // TA on some display, and count the rest.
    const size_t count = scenario.traffic.size();
    std::vector<bool> listed(count, count <= kChartEveryIntruderUpTo);
    size_t frames = 0;
    for (const DisplayResult& d : result.displays) {
        frames += d.frames.size();
        for (size_t i = 0; i < d.intruders.size() && i < count; ++i) {
            listed[i] = listed[i] || d.intruders[i].firstTaFrame >= 0;
        }
    }
    if (frames == 0) {
        e.notes.push_back("No display drew a frame in this run.");
    }
    if (count == 0) {
        e.notes.push_back("No traffic in this scenario.");
        return e;
    }
    e.columns = {"Display", "Aircraft", "First TA", "First RA", "Closest approach"};
    size_t unlisted = 0;
    for (size_t i = 0; i < count; ++i) {
        unlisted += listed[i] ? 0 : 1;
    }
    for (const DisplayResult& d : result.displays) {
        for (size_t i = 0; i < d.intruders.size() && i < count; ++i) {
            if (!listed[i]) {
                continue;
            }
            const IntruderSummary& s = d.intruders[i];
            e.rows.push_back(
                {{displayName(d.kind), ""},
                 {s.atcId, ""},
                 levelCell(s.firstTaFrame, s.firstTaTime, "ta"),
                 levelCell(s.firstRaFrame, s.firstRaTime, "ra"),
                 {std::isfinite(s.closestNm) ? format("%.2f nm %+.0f ft at %.0f s", s.closestNm,
                                                      s.closestAltDiff, s.closestTime)
                                             : std::string("never shown"),
                  ""}});
        }
    }
    if (unlisted > 0) {
        e.footnote = std::to_string(unlisted) + " more aircraft without an advisory.";
    }
    return e;
}

}  // namespace cs::preview
