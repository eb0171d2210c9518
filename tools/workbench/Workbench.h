// The gauge workbench: runs a designer's XML gauges, or every gauge of a
// panel window, against the module and a scenario, the way the simulator
// would, and writes what the pilot would see (see docs/workbench.md).
//
//   cs::workbench::Workbench bench;
//   bench.open(modulePath, &error);                 // loads and starts the module
//   bench.load(options, diagnostics);               // reads and checks the gauges
//   ScenarioRun run = bench.run(scenario, options, runtimeDiagnostics);
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "simhost/Canvas.h"
#include "tools/gauge/Diagnostics.h"
#include "tools/scenario/ScenarioModel.h"
#include "tools/scenario/ScenarioParser.h"
#include "tools/workbench/GaugeRuntime.h"
#include "tools/workbench/Replayer.h"

namespace cs::workbench {

struct WorkbenchOptions {
    std::vector<std::string> gauges;  // --gauge files, each drawn on its own
    std::string panel;                // --panel panel.cfg
    int window = -1;                  // --window N
    std::string gaugesDir;            // --gauges DIR: where the panel's gauges are
    std::string outDir = "preview-out";
    double frameIntervalS = -1.0;  // negative: the scenario's (0: every traffic cycle)
    bool writeFrames = true;
    bool writeLog = true;
    bool writeSheet = true;   // a contact sheet per view (runWorkbench)
    bool writeReport = true;  // report.html per scenario, index.html (runWorkbench)
    bool keepImages = false;  // keep the composited images in the result (tests)
    std::string commandLine;  // shown on the report pages
};

// One element's state in a frame.
struct ElementLog {
    int line = 0;
    bool text = false;  // a <Text> (else an <Element>)
    bool visible = false;
    std::string string;
};

struct GaugeFrame {
    std::string gauge;  // the gauge's name
    std::vector<ElementLog> elements;
    std::string tooltip;
    std::vector<PropertyAccess> properties;
};

struct ViewFrame {
    std::string view;
    double time = 0.0;
    std::string image;                  // file name, empty when none was written
    double mouseX = 0.5, mouseY = 0.5;  // the scenario's mouse, fractions of the view
    std::vector<GaugeFrame> gauges;
    std::vector<std::pair<std::string, double>> locals;
    sim::Image picture;  // with keepImages
};

struct GaugeTexts {
    std::string file;
    std::string gauge;
    std::vector<TextShown> texts;
};

// A click of the scenario's mouse track, and the gauge and <Click> that
// took it (line 0: no area of any gauge answers that kind there).
struct ClickLog {
    double time = 0.0;
    std::string view;
    std::string kind;         // "LeftSingle"
    double x = 0.0, y = 0.0;  // fractions of the view
    std::string gauge;
    int line = 0;
};

// A key event sent by a gauge: a (>K:...) write, or a click's Event.
struct EventLog {
    double time = 0.0;
    std::string gauge;
    std::string name;
    double value = 0.0;
};

struct ScenarioRun {
    std::string scenario;
    std::string folder;
    std::vector<std::string> files;
    std::vector<ViewFrame> frames;
    std::vector<GaugeTexts> texts;
    std::vector<ClickLog> clicks;
    std::vector<EventLog> events;
};

class Workbench {
  public:
    Workbench();
    ~Workbench();
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    // Loads and starts the module; false with `error` set.
    bool open(const std::string& modulePath, std::string* error);
    // Reads the gauges the options name and resolves every name in them
    // against the module; problems go to `diagnostics`, false on errors.
    bool load(const WorkbenchOptions& options, gauge::Diagnostics& diagnostics);
    // Resolves the scenario's property and parameter names (throws
    // preview::InputError).
    void resolve(preview::PreviewScenario& scenario);

    // Runs one scenario through the loaded gauges and writes the images and
    // the log into the scenario's folder. Warnings of the scripts at run
    // time go to `diagnostics`. Throws std::runtime_error when a file cannot
    // be written.
    ScenarioRun run(const preview::PreviewScenario& scenario, const WorkbenchOptions& options,
                    gauge::Diagnostics& diagnostics);

    // After open(): draws the pictures with `replayer` instead of the
    // platform's (tests record the drawing commands this way).
    void useReplayer(std::unique_ptr<Replayer> replayer);

    // What the terminal shows after a run: per gauge, when each text first showed.
    static std::string summary(const preview::PreviewScenario& scenario, const ScenarioRun& run);
    // The run's report.html (WorkbenchReport.cpp); `command` made the run.
    std::string reportPage(const preview::PreviewScenario& scenario, const ScenarioRun& run,
                           const std::string& command) const;

    struct State;

  private:
    void clicks(const preview::PreviewScenario& scenario, double t,
                const std::vector<GaugeRuntime*>& runtimes, ScenarioRun& result,
                gauge::Diagnostics& d);

    std::unique_ptr<State> state_;
};

// The whole command: load, check or run every scenario, print. Returns the
// exit status (0 done, 1 failure, 2 bad input).
int runWorkbench(const WorkbenchOptions& options, const std::string& modulePath,
                 std::vector<preview::PreviewScenario>& scenarios, bool check, bool quiet);

}  // namespace cs::workbench
