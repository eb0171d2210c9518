// Where the gauge of a panel.cfg line `gaugeNN=Folder!Name` is found, in
// the simulator's order - a folder Folder/ before a cabinet Folder.cab, the
// panel's own folder before the shared gauges folder:
//
//   --gauges DIR:  DIR/Name.xml (DIR is the gauge's folder), then DIR/Folder/Name.xml
//                  and DIR/Folder.cab (DIR is a gauges folder)
//   the panel's:   Folder/Name.xml and Folder.cab beside the panel.cfg
//   a kit:         Name.xml beside the panel.cfg
//
// Every name is matched without regard to case, as on Windows. A cabinet is
// read once however many gauges come from it.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tools/gauge/Diagnostics.h"
#include "tools/gauge/GaugeFiles.h"
#include "tools/gauge/PanelConfig.h"

namespace cs::workbench {

struct FoundGauge {
    std::shared_ptr<const gauge::GaugeFiles> files;  // the gauge's folder or cabinet
    std::string stored;                              // "Name.xml" as stored there
};

class GaugeSearch {
  public:
    GaugeSearch(const std::string& panel, const std::string& gaugesDir);

    enum class Result { Found, Missing, Unreadable };
    // Missing: `tried` lists where it looked. Unreadable: a cabinet on the
    // way could not be read (the error is in `diagnostics`).
    Result find(const gauge::PanelGauge& g, FoundGauge* found, std::vector<std::string>* tried,
                gauge::Diagnostics& diagnostics);

  private:
    std::shared_ptr<const gauge::GaugeFiles> cabinet(const std::string& path,
                                                     gauge::Diagnostics& d);

    std::string beside_, gaugesDir_;
    std::map<std::string, std::shared_ptr<const gauge::GaugeFiles>> cabinets_;  // null: unreadable
};

}  // namespace cs::workbench
