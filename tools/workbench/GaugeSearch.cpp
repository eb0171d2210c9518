#include "tools/workbench/GaugeSearch.h"

#include <filesystem>

namespace cs::workbench {

namespace fs = std::filesystem;

namespace {

std::string shown(const fs::path& p) {
    return fs::path(p).make_preferred().string();
}

}  // namespace

GaugeSearch::GaugeSearch(const std::string& panel, const std::string& gaugesDir)
    : beside_(fs::path(panel).parent_path().string()), gaugesDir_(gaugesDir) {
    if (beside_.empty()) {
        beside_.assign(1, '.');
    }
}

std::shared_ptr<const gauge::GaugeFiles> GaugeSearch::cabinet(const std::string& path,
                                                              gauge::Diagnostics& d) {
    auto it = cabinets_.find(path);
    if (it == cabinets_.end()) {
        std::string why;
        std::shared_ptr<const gauge::GaugeFiles> files = gauge::cabinetFiles(path, &why);
        if (files == nullptr) {
            d.error(gauge::Origin{path, 0, ""}, why);
        }
        it = cabinets_.emplace(path, std::move(files)).first;
    }
    return it->second;
}

GaugeSearch::Result GaugeSearch::find(const gauge::PanelGauge& g, FoundGauge* found,
                                      std::vector<std::string>* tried, gauge::Diagnostics& d) {
    const std::string xml = g.name + ".xml";
    std::vector<std::pair<std::string, bool>> places;  // folder, or folder holding Folder.cab
    if (!gaugesDir_.empty()) {
        places = {{gaugesDir_, false},
                  {(fs::path(gaugesDir_) / g.folder).string(), false},
                  {gaugesDir_, true}};
    }
    places.insert(
        places.end(),
        {{(fs::path(beside_) / g.folder).string(), false}, {beside_, true}, {beside_, false}});
    for (const auto& [dir, isCabinet] : places) {
        if (!isCabinet) {
            auto files = std::shared_ptr<const gauge::GaugeFiles>(gauge::folderFiles(dir));
            found->stored = files->find(xml);
            if (!found->stored.empty()) {
                found->files = std::move(files);
                return Result::Found;
            }
            tried->push_back(shown(fs::path(dir) / xml));
            continue;
        }
        const std::string cab = gauge::folderFiles(dir)->find(g.folder + ".cab");
        if (cab.empty()) {
            tried->push_back(shown(fs::path(dir) / (g.folder + ".cab")));
            continue;
        }
        std::shared_ptr<const gauge::GaugeFiles> files = cabinet((fs::path(dir) / cab).string(), d);
        if (files == nullptr) {
            return Result::Unreadable;
        }
        found->stored = files->find(xml);
        if (!found->stored.empty()) {
            found->files = std::move(files);
            return Result::Found;
        }
        tried->push_back(files->pathOf(xml));
    }
    return Result::Missing;
}

}  // namespace cs::workbench
