#include "tools/preview/ReportWriter.h"

#include <stdexcept>
#include <utility>

#include "simhost/FilePath.h"
#include "tools/output/ImageFiles.h"
#include "tools/preview/ReportPage.h"

namespace cs::preview {

ReportWriter::ReportWriter(std::string outDir, std::string command)
    : outDir_(std::move(outDir)), command_(std::move(command)) {}

std::string ReportWriter::addScenario(const PreviewScenario& scenario, const RunResult& result) {
    std::string path;
    if (!result.folder.empty()) {
        path = sim::joinPath(result.folder, "report.html");
        writeFileAtomic(path, reportPageHtml(scenario, result, command_));
    }
    entries_.push_back(indexEntry(scenario, result, !path.empty()));
    return path;
}

std::string ReportWriter::writeIndex() const {
    const std::string problem = sim::makeFolders(outDir_);
    if (!problem.empty()) {
        throw std::runtime_error("cannot create the folder " + outDir_ + ": " + problem);
    }
    const std::string path = sim::joinPath(outDir_, "index.html");
    writeFileAtomic(path, indexPageHtml(entries_, command_));
    return path;
}

}  // namespace cs::preview
