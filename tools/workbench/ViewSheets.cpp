#include "tools/workbench/ViewSheets.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>

#include "tools/output/ImageFiles.h"

namespace cs::workbench {

namespace {

constexpr int kSheetColumns = 8;

}  // namespace

void writeViewSheets(const preview::PreviewScenario& scenario, ScenarioRun& run) {
    if (run.folder.empty()) {
        return;
    }
    std::vector<std::string> order;  // the views as the run drew them
    std::map<std::string, std::vector<preview::SheetFrame>> sheets;
    for (const ViewFrame& f : run.frames) {
        if (f.picture.width <= 0 || f.picture.height <= 0) {
            continue;
        }
        if (sheets.find(f.view) == sheets.end()) {
            order.push_back(f.view);
        }
        char caption[48];
        const bool whole = std::fabs(f.time - std::round(f.time)) < 1e-6;
        std::snprintf(caption, sizeof caption, whole ? "t = %.0f s" : "t = %.1f s", f.time);
        sheets[f.view].push_back(preview::SheetFrame{f.picture, caption});
    }
    for (const std::string& view : order) {
        const std::string title =
            scenario.name + " - " + view + (scenario.title.empty() ? "" : " - " + scenario.title);
        const std::vector<uint8_t> png =
            preview::encodePng(preview::contactSheet(sheets[view], title, kSheetColumns));
        const std::string path =
            (std::filesystem::path(run.folder) / (view + "-sheet.png")).string();
        preview::writeFileAtomic(path, png.data(), png.size());
        run.files.push_back(path);
    }
}

}  // namespace cs::workbench
