// One scenario run through the module's displays, in named steps:
//
//   set up      load the traffic, make the output folder, create one gauge
//               per display, make the drawing areas;
//   each call   advance the host, move the mouse, update the displays, draw
//               them; for each frame drawn: record it (properties, kept
//               image, hover probes) and add it to the intruders' summary;
//   at the end  write the contact sheets and the log.
//
// The host calls update and draw at the scenario's rate; a display draws a
// frame after each traffic cycle (and once at the start).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "simhost/Canvas.h"
#include "simhost/SimHost.h"
#include "tools/preview/DisplayRun.h"
#include "tools/preview/HoverProbe.h"
#include "tools/preview/PreviewRun.h"
#include "tools/session/ModuleCatalogue.h"

namespace cs::preview {

class ScenarioRun {
  public:
    ScenarioRun(sim::SimHost& host, const ModuleCatalogue& catalogue,
                const PreviewScenario& scenario, const RunOptions& options);

    // Throws std::runtime_error when the module refuses a display or a file
    // cannot be written.
    RunResult run();

  private:
    struct Display {
        std::unique_ptr<DisplayRun> run;
        std::unique_ptr<HoverProbe> probe;
        int framesDrawn = 0;
    };

    // Setting up.
    void makeFolder();
    void createDisplays();
    void makeCanvases();
    void describe();
    // One call of the host.
    void advanceHost(long call);
    void moveMouse(double t);
    void updateDisplays(long call);
    void drawDisplays(double t);
    void reportProgress(long call);
    // One frame a display drew.
    void recordFrame(Display& display, int frame, double t);
    void keepImage(DisplayRun& run, FrameRecord& record);
    void addOverlay(DisplayRun& run, Image& image) const;
    void summarise(DisplayRun& run, const FrameRecord& record);
    // The end.
    void collectResults();
    void writeSheets();
    void writeLog();
    std::string writeFile(const std::string& name, const std::vector<uint8_t>& bytes);

    sim::SimHost& host_;
    const ModuleCatalogue& catalogue_;
    const PreviewScenario& scenario_;
    const RunOptions& options_;
    RunResult result_;
    bool writing_ = false;
    double imageInterval_ = 0.0;  // 0: every frame
    double callInterval_ = 0.0;   // seconds
    double ticksPerCall_ = 0.0;
    long calls_ = 0;
    double mouseX_, mouseY_;  // the gauges' mouse, fractions of the drawing area
    std::vector<Display> displays_;
    std::unique_ptr<sim::Canvas> canvas_;   // what the displays draw into
    std::unique_ptr<sim::Canvas> scratch_;  // what the probes draw into
};

}  // namespace cs::preview
