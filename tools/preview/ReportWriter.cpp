#include "tools/preview/ReportWriter.h"

#include <filesystem>
#include <stdexcept>
#include <utility>

#include "tools/output/ImageFiles.h"
#include "tools/preview/ReportPage.h"

namespace cs::preview {

ReportWriter::ReportWriter(std::string outDir, std::string command)
    : outDir_(std::move(outDir)), command_(std::move(command)) {}

std::string ReportWriter::addScenario(const PreviewScenario& scenario, const RunResult& result) {
    std::string path;
    if (!result.folder.empty()) {
        path = (std::filesystem::path(result.folder) / "report.html").string();
        writeFileAtomic(path, reportPageHtml(scenario, result, command_));
    }
    entries_.push_back(indexEntry(scenario, result, !path.empty()));
    return path;
}

std::string ReportWriter::writeIndex() const {
    std::error_code ec;
    std::filesystem::create_directories(outDir_, ec);
    if (ec) {
        throw std::runtime_error("cannot create the folder " + outDir_ + ": " + ec.message());
    }
    const std::string path = (std::filesystem::path(outDir_) / "index.html").string();
    writeFileAtomic(path, indexPageHtml(entries_, command_));
    return path;
}

}  // namespace cs::preview
