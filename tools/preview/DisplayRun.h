// One display of a preview run: its own gauge of the module (so each
// display publishes its own tool-tip and advisory), the draw parameters the
// scenario gives it, and what the run records of it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "simhost/GaugeHost.h"
#include "simhost/SimHost.h"
#include "tools/output/ImageFiles.h"
#include "tools/preview/RunLog.h"
#include "tools/scenario/ScenarioModel.h"

namespace cs::preview {

// The registration under which the module names both displays.
constexpr const char* kPanelName = "va9vedored";

// The draw parameters the host sets or reads itself, by the names the
// module declares; -1 for a name it does not declare.
struct HostParameterIds {
    int32_t range = -1, heading = -1, centerX = -1, centerY = -1, fixedResolution = -1,
            symbolSize = -1, padSymbols = -1, maxDisplayed = -1, antiAlias = -1;
    std::array<int32_t, kDrawnLevels> detail{-1, -1, -1, -1};  // by levelIndex()
};

class DisplayRun {
  public:
    // Creates the display's gauge through the registered panel callback and
    // gives it the scenario's host scale, draw parameters (the common ones,
    // then the display's own) and gauge properties. Throws
    // std::runtime_error when the module refuses the display.
    DisplayRun(sim::SimHost& host, const PreviewScenario& scenario, const DisplayPlan& plan);

    DisplayKind kind() const { return kind_; }
    sim::GaugeHost& gauge() { return *gauge_; }
    sim::GaugeDisplay& display() { return gauge_->display(); }
    const std::vector<NamedValue>& values() const { return values_; }
    const HostParameterIds& ids() const { return ids_; }

    // The scenario's value of a draw parameter (the last one given), or null.
    const NamedValue* value(int32_t id) const;
    // The display's range in nautical miles: the scenario's, else the gauge's.
    double range() const;
    // The mouse position the gauge reports, as fractions of the drawing area.
    void setMouse(double x, double y);

    DisplayResult result;
    std::vector<SheetFrame> sheet;  // the images kept, for the contact sheet
    double nextImageTime = 0.0;

  private:
    DisplayKind kind_;
    std::unique_ptr<sim::GaugeHost> gauge_;
    std::vector<NamedValue> values_;
    HostParameterIds ids_;
};

// Gives `values` the scenario's draw parameters, each with its declared type.
void applyValues(sim::DrawParameterValues& values, const std::vector<NamedValue>& list);

}  // namespace cs::preview
