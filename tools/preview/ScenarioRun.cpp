#include "tools/preview/ScenarioRun.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "simhost/FilePath.h"
#include "tools/output/ImageFiles.h"
#include "tools/preview/DisplayGeometry.h"
#include "tools/session/ScenarioTraffic.h"

namespace cs::preview {

namespace {

constexpr uint32_t kBackground = 0xFF000000u;  // opaque black, before the first clear
constexpr double kOverlayRingNm = 2.0;
constexpr int kSheetColumns = 8;
constexpr long kProgressEveryCalls = 16;
constexpr double kTimeTolerance = 1e-9;  // seconds

// The mouse position at `t` along one axis: the last key at or before it,
// the middle before the first key.
double mouseAt(const std::vector<MouseKey>& keys, double t, bool xAxis) {
    double v = 0.5;
    bool any = false;
    for (const MouseKey& k : keys) {
        if (k.atS <= t + kTimeTolerance) {
            v = xAxis ? k.x : k.y;
            any = true;
        }
    }
    if (!any && !keys.empty()) {
        return 0.5;
    }
    return v;
}

}  // namespace

ScenarioRun::ScenarioRun(sim::SimHost& host, const ModuleCatalogue& catalogue,
                         const PreviewScenario& scenario, const RunOptions& options)
    : host_(host),
      catalogue_(catalogue),
      scenario_(scenario),
      options_(options),
      mouseX_(std::nan("")),
      mouseY_(std::nan("")) {
    result_.scenario = scenario.name;
    imageInterval_ =
        options.frameIntervalS >= 0.0 ? options.frameIntervalS : scenario.frameIntervalS;
    callInterval_ = 1.0 / scenario.callsPerSecond;
    ticksPerCall_ = scenario.ticksPerSecond / scenario.callsPerSecond;
    calls_ = static_cast<long>(std::floor(scenario.durationS * scenario.callsPerSecond + 0.5));
}

RunResult ScenarioRun::run() {
    loadTraffic(host_, scenario_);
    makeFolder();
    createDisplays();
    makeCanvases();
    describe();
    for (long call = 0; call <= calls_; ++call) {
        const double t = call * callInterval_;
        advanceHost(call);
        moveMouse(t);
        updateDisplays(call);
        drawDisplays(t);
        reportProgress(call);
    }
    collectResults();
    writeSheets();
    writeLog();
    return std::move(result_);
}

// Created if missing, never emptied.
void ScenarioRun::makeFolder() {
    if (options_.outDir.empty()) {
        return;
    }
    result_.folder = sim::joinPath(options_.outDir, scenario_.name);
    const std::string problem = sim::makeFolders(result_.folder);
    if (!problem.empty()) {
        throw std::runtime_error("cannot create the folder " + result_.folder + ": " + problem);
    }
    writing_ = true;
}

void ScenarioRun::createDisplays() {
    for (const DisplayPlan& plan : scenario_.displays) {
        if (options_.onlyDisplay && *options_.onlyDisplay != plan.kind) {
            continue;
        }
        Display d;
        d.run = std::make_unique<DisplayRun>(host_, scenario_, plan);
        d.probe = std::make_unique<HoverProbe>(*d.run, scenario_.width, scenario_.height,
                                               scenario_.hostScale);
        displays_.push_back(std::move(d));
    }
}

void ScenarioRun::makeCanvases() {
    canvas_ = std::make_unique<sim::Canvas>(scenario_.width, scenario_.height, kBackground);
    scratch_ = std::make_unique<sim::Canvas>(scenario_.width, scenario_.height, kBackground);
    if (!canvas_->valid() || !scratch_->valid()) {
        throw std::runtime_error("cannot make a drawing area of the scenario's size");
    }
}

// The traffic moves one call on; the first call draws the start.
void ScenarioRun::advanceHost(long call) {
    if (call > 0) {
        host_.advance(callInterval_, ticksPerCall_);
    }
}

// Gives each gauge the mouse when it moved.
void ScenarioRun::moveMouse(double t) {
    const double x = mouseAt(scenario_.mouse, t, true);
    const double y = mouseAt(scenario_.mouse, t, false);
    if (x == mouseX_ && y == mouseY_) {
        return;
    }
    mouseX_ = x;
    mouseY_ = y;
    for (Display& d : displays_) {
        d.run->setMouse(x, y);
    }
}

// The host's update cycle, from the second call on.
void ScenarioRun::updateDisplays(long call) {
    if (call == 0) {
        return;
    }
    for (Display& d : displays_) {
        d.run->display().update();
    }
}

void ScenarioRun::drawDisplays(double t) {
    for (Display& d : displays_) {
        canvas_->clear(options_.clearArgb);
        if (d.run->display().draw(scenario_.width, scenario_.height, canvas_->dc())) {
            recordFrame(d, d.framesDrawn++, t);
        }
    }
}

void ScenarioRun::reportProgress(long call) {
    if (options_.progress && (call % kProgressEveryCalls == 0 || call == calls_)) {
        options_.progress(static_cast<double>(call) / static_cast<double>(calls_));
    }
}

// The properties right after the frame, where it puts each aircraft, the
// image when one is due, and (from the first traffic cycle on) what the hover
// probes find.
void ScenarioRun::recordFrame(Display& display, int frame, double t) {
    DisplayRun& run = *display.run;
    FrameRecord record;
    record.frame = frame;
    record.time = t;
    record.properties = catalogue_.read(run.gauge());
    record.positions = imagePositions(run, scenario_, host_.scenario());
    if (imageInterval_ <= 0.0 || t + kTimeTolerance >= run.nextImageTime) {
        if (imageInterval_ > 0.0) {
            while (run.nextImageTime <= t + kTimeTolerance) {
                run.nextImageTime += imageInterval_;
            }
        }
        keepImage(run, record);
    }
    if (options_.probe && frame > 0) {
        record.aircraft = display.probe->observe(host_.scenario(), *scratch_, mouseX_, mouseY_);
    }
    summarise(run, record);
    run.result.frames.push_back(std::move(record));
}

void ScenarioRun::summarise(DisplayRun& run, const FrameRecord& record) {
    for (size_t i = 0; i < record.aircraft.size(); ++i) {
        run.result.intruders[i].add(record.aircraft[i], record.frame, record.time);
    }
}

void ScenarioRun::keepImage(DisplayRun& run, FrameRecord& record) {
    Image image = canvas_->snapshot();
    if (options_.overlay) {
        addOverlay(run, image);
    }
    char name[64];
    std::snprintf(name, sizeof name, "%s-%04d.png", displayName(run.kind()), record.frame);
    if (writing_ && options_.writeFrames) {
        writeFile(name, encodePng(image));
        record.image = name;
    }
    char caption[48];
    std::snprintf(caption, sizeof caption, "t = %.0f s", record.time);
    run.sheet.push_back(SheetFrame{std::move(image), caption});
}

// Centred and scaled as the gauge's own drawing would place them.
void ScenarioRun::addOverlay(DisplayRun& run, Image& image) const {
    const double range = run.range();
    const double scale = scenario_.hostScale;
    const NamedValue* cx = run.value(run.ids().centerX);
    const NamedValue* cy = run.value(run.ids().centerY);
    const double x = cx ? cx->number * scale : (scenario_.width / 2);
    const double y = cy ? cy->number * scale : (scenario_.height / 2);
    const double pxPerNm = std::fmin(scenario_.width, scenario_.height) / 2.0 / range;
    drawOwnAircraftOverlay(image, x, y, pxPerNm, kOverlayRingNm);
}

void ScenarioRun::writeSheets() {
    if (!writing_ || !options_.writeSheet) {
        return;
    }
    for (Display& d : displays_) {
        if (d.run->sheet.empty()) {
            continue;
        }
        const std::string kind = displayName(d.run->kind());
        const std::string title = scenario_.name + " - " + kind +
                                  (scenario_.title.empty() ? "" : " - " + scenario_.title);
        writeFile(kind + "-sheet.png", encodePng(contactSheet(d.run->sheet, title, kSheetColumns)));
    }
}

// The run's description, first in its log.
void ScenarioRun::describe() {
    RunHeader& h = result_.header;
    h.scenario = scenario_.name;
    h.title = scenario_.title;
    h.file = scenario_.file;
    h.durationS = scenario_.durationS;
    h.ticksPerSecond = scenario_.ticksPerSecond;
    h.callsPerSecond = scenario_.callsPerSecond;
    h.positionOnly = scenario_.positionOnly;
    h.width = scenario_.width;
    h.height = scenario_.height;
    h.probes = options_.probe;
    for (const Display& d : displays_) {
        h.displays.push_back(d.run->kind());
    }
}

void ScenarioRun::collectResults() {
    for (Display& d : displays_) {
        result_.displays.push_back(std::move(d.run->result));
    }
}

void ScenarioRun::writeLog() {
    if (writing_ && options_.writeLog) {
        const std::string path = sim::joinPath(result_.folder, "log.jsonl");
        writeFileAtomic(path, jsonLines(result_));
        result_.files.push_back(path);
    }
}

std::string ScenarioRun::writeFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = sim::joinPath(result_.folder, name);
    writeFileAtomic(path, bytes.data(), bytes.size());
    result_.files.push_back(path);
    return path;
}

RunResult runScenario(ModuleSession& session, const PreviewScenario& scenario,
                      const RunOptions& options) {
    if (!session.isOpen()) {
        throw std::runtime_error("the module is not loaded");
    }
    return ScenarioRun(session.host(), session.catalogue(), scenario, options).run();
}

}  // namespace cs::preview
