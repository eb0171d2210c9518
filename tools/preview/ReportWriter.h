// Writes the report pages of a run as its scenarios finish: report.html in
// each scenario's folder, and at the end index.html in the run's folder.
#pragma once

#include <string>
#include <vector>

#include "tools/preview/PreviewRun.h"
#include "tools/preview/ReportIndex.h"

namespace cs::preview {

class ReportWriter {
  public:
    // `outDir`: the run's folder; `command`: the command line, shown on the pages.
    ReportWriter(std::string outDir, std::string command);

    // Writes report.html of a finished scenario run and returns its path;
    // empty when the run wrote no folder. Throws std::runtime_error when the
    // file cannot be written.
    std::string addScenario(const PreviewScenario& scenario, const RunResult& result);

    // Writes index.html listing every scenario added and returns its path.
    std::string writeIndex() const;

  private:
    std::string outDir_;
    std::string command_;
    std::vector<IndexEntry> entries_;
};

}  // namespace cs::preview
