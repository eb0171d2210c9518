// Per-aircraft levels and values, which the module publishes for no
// aircraft, learnt the way a gauge could learn them. After a normal frame
// the probe draws frames of its own into a scratch canvas (never saved):
// the mouse on the aircraft's position (computed from the scenario geometry,
// only to aim), and only some threat levels displayed. If the module's
// "toolTipId" then names the aircraft, its values are the module's tool-tip
// properties; an aircraft still named while only the RA level is displayed
// is an RA, and so on.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "simhost/Canvas.h"
#include "simhost/Scenario.h"
#include "tools/preview/DisplayRun.h"

namespace cs::preview {

class HoverProbe {
  public:
    // Probes of `run`, whose drawing area is `width` x `height` device
    // pixels at `hostScale` pixels per gauge unit.
    HoverProbe(DisplayRun& run, int width, int height, double hostScale);

    // What the display shows of each aircraft of `traffic` (in the scenario's
    // order, with the ids and names of `run.result.intruders`); nothing when
    // the display has no range to aim with. Afterwards the gauge has the
    // mouse at (mouseX, mouseY) again and has drawn one normal frame, so its
    // tool-tip is the normal one.
    std::vector<AircraftObservation> observe(const sim::Scenario& traffic, sim::Canvas& scratch,
                                             double mouseX, double mouseY);

  private:
    // Where the display puts an aircraft, in gauge units from its centre.
    struct Aim {
        double heading, viewWidth, viewHeight, centerX, centerY;
        float nmPerUnit;
    };
    AircraftObservation observeOne(const IntruderSummary& intruder, const sim::Aircraft* aircraft,
                                   const sim::Aircraft& own, const Aim& aim, sim::Canvas& scratch);
    void readToolTip(AircraftObservation& o);
    ThreatLevel levelOf(const std::string& expected, const Aim& aim, sim::Canvas& scratch);
    // One probe frame with the levels of `shown` displayed; the id the
    // module's tool-tip then names.
    std::string drawShowing(std::initializer_list<ThreatLevel> shown, const Aim& aim,
                            sim::Canvas& scratch);

    DisplayRun& run_;
    int width_, height_;
    double hostScale_;
    sim::DrawParameterValues parameters_;
    double range_ = 0.0;
    bool toggle_ = false;
};

}  // namespace cs::preview
