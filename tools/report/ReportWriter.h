// Writes the report pages of a run as its scenarios finish: report.html in
// each scenario's folder, and at the end index.html in the run's folder.
#pragma once

#include <string>
#include <vector>

#include "tools/report/ReportIndex.h"

namespace cs::report {

class ReportWriter {
  public:
    // `outDir`: the run's folder; `command`: the command line, shown on the
    // pages; `tool`: the kind of run, in the index's heading.
    ReportWriter(std::string outDir, std::string command, std::string tool);

    const std::string& command() const { return command_; }

    // Writes `page` as report.html in the scenario's `folder` and returns its
    // path; writes nothing and returns "" when `folder` is empty (the run
    // wrote no folder). Lists `entry` in the index either way. Throws
    // std::runtime_error when the file cannot be written.
    std::string addScenario(const std::string& folder, const std::string& page, IndexEntry entry);

    // Writes index.html listing every scenario added and returns its path.
    std::string writeIndex() const;

  private:
    std::string outDir_;
    std::string command_;
    std::string tool_;
    std::vector<IndexEntry> entries_;
};

}  // namespace cs::report
