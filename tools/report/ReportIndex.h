// index.html, the run's page: every scenario of the run with its contact
// sheets, a table of what happened when (first advisories, first showings of
// texts), notes, and a link to its report.
#pragma once

#include <string>
#include <vector>

namespace cs::report {

struct IndexCell {
    std::string text;
    std::string cssClass;  // e.g. "ta", "ra", "none"; empty for none
};

// What the index keeps of one scenario run.
struct IndexEntry {
    std::string name, title, expect;
    bool hasReport = false;            // report.html written in its folder
    std::vector<std::string> sheets;   // contact sheet file names, e.g. "tcas-sheet.png"
    std::vector<std::string> notes;    // under the sheets: "No traffic in this scenario."
    std::vector<std::string> columns;  // the table's heading; no table without one
    std::vector<std::vector<IndexCell>> rows;
    std::string footnote;                // under the table
    std::string open = "Watch the run";  // the report link's text
};

// The contact sheets among a run's files: names ending in "-sheet.png".
std::vector<std::string> sheetFiles(const std::vector<std::string>& paths);

// The page; links and images are relative to the run's folder. `tool` names
// the kind of run ("preview").
std::string indexPageHtml(const std::vector<IndexEntry>& entries, const std::string& command,
                          const std::string& tool);

}  // namespace cs::report
