// index.html, the run's page: every scenario of the run with its contact
// sheets, the first TA and RA of each intruder, and a link to its report.
#pragma once

#include <string>
#include <vector>

#include "tools/preview/PreviewRun.h"

namespace cs::preview {

// What the index keeps of one scenario run.
struct IndexEntry {
    std::string name, title, expect;
    bool hasReport = false;           // report.html written in its folder
    std::vector<std::string> sheets;  // contact sheet file names, e.g. "tcas-sheet.png"
    size_t frames = 0;                // frames drawn, all displays
    size_t traffic = 0;               // aircraft in the scenario
    struct Row {
        std::string display, atcId;
        int firstTaFrame = -1, firstRaFrame = -1;
        double firstTaTime = 0, firstRaTime = 0;
        double closestNm = 0, closestTime = 0, closestAltDiff = 0;
        bool closest = false;
    };
    std::vector<Row> rows;  // per display and intruder (busy scenes: those that reached a TA)
    size_t unlisted = 0;    // intruders of busy scenes that never reached a TA
};

IndexEntry indexEntry(const PreviewScenario& scenario, const RunResult& result, bool hasReport);

// The page; links and images are relative to the run's folder.
std::string indexPageHtml(const std::vector<IndexEntry>& entries, const std::string& command);

}  // namespace cs::preview
