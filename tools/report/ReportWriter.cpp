#include "tools/report/ReportWriter.h"

#include <stdexcept>
#include <utility>

#include "simhost/FilePath.h"
#include "tools/output/ImageFiles.h"

namespace cs::report {

ReportWriter::ReportWriter(std::string outDir, std::string command, std::string tool)
    : outDir_(std::move(outDir)), command_(std::move(command)), tool_(std::move(tool)) {}

std::string ReportWriter::addScenario(const std::string& folder, const std::string& page,
                                      IndexEntry entry) {
    std::string path;
    if (!folder.empty()) {
        path = sim::joinPath(folder, "report.html");
        preview::writeFileAtomic(path, page);
    }
    entry.hasReport = !path.empty();
    entries_.push_back(std::move(entry));
    return path;
}

std::string ReportWriter::writeIndex() const {
    const std::string problem = sim::makeFolders(outDir_);
    if (!problem.empty()) {
        throw std::runtime_error("cannot create the folder " + outDir_ + ": " + problem);
    }
    const std::string path = sim::joinPath(outDir_, "index.html");
    preview::writeFileAtomic(path, indexPageHtml(entries_, command_, tool_));
    return path;
}

}  // namespace cs::report
