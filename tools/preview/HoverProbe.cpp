#include "tools/preview/HoverProbe.h"

#include <cmath>

#include "tools/preview/DisplayGeometry.h"

namespace cs::preview {

namespace {

constexpr int32_t kProbeWord = 0x20;  // a detail word that counts and can be hovered, draws nothing
constexpr int32_t kNotDisplayed = 0;  // a detail word that leaves the level out
constexpr int32_t kOff = 0;           // FixedResolution, PadSymbols, AntiAlias
constexpr double kProbeSymbolSize = 0.5;  // hover radius 1.5 world units
constexpr int32_t kProbeMaxDisplayed = 1000000;
constexpr size_t kModuleIdLength = 10;  // the module's id text: the host's first 10 characters

}  // namespace

HoverProbe::HoverProbe(DisplayRun& run, int width, int height, double hostScale)
    : run_(run), width_(width), height_(height), hostScale_(hostScale) {
    parameters_.recordReads = false;
    parameters_.setScale(hostScale, hostScale);
}

std::vector<AircraftObservation> HoverProbe::observe(const sim::Scenario& traffic,
                                                     sim::Canvas& scratch, double mouseX,
                                                     double mouseY) {
    std::vector<AircraftObservation> seen;
    range_ = run_.range();
    const NamedValue* heading = run_.value(run_.ids().heading);
    Aim aim;
    aim.heading = heading ? heading->number : 0.0;
    aim.viewWidth = width_ / hostScale_;
    aim.viewHeight = height_ / hostScale_;
    aim.nmPerUnit = static_cast<float>(2.0 * range_ / std::fmin(aim.viewWidth, aim.viewHeight));
    aim.centerX = aim.viewWidth / 2.0;
    aim.centerY = aim.viewHeight / 2.0;
    if (!(range_ > 0.0) || !std::isfinite(range_) || !(aim.nmPerUnit > 0.0f)) {
        return seen;  // nowhere to aim
    }
    for (const IntruderSummary& intruder : run_.result.intruders) {
        seen.push_back(
            observeOne(intruder, traffic.find(intruder.id), traffic.own(), aim, scratch));
    }
    // Back to the gauge's own mouse and parameters: one more frame, so the
    // tool-tip is the normal one again and later draws are not forced.
    run_.setMouse(mouseX, mouseY);
    run_.display().draw(width_, height_, scratch.dc());
    return seen;
}

AircraftObservation HoverProbe::observeOne(const IntruderSummary& intruder, const sim::Aircraft* a,
                                           const sim::Aircraft& own, const Aim& aim,
                                           sim::Canvas& scratch) {
    AircraftObservation o;
    o.id = intruder.id;
    o.atcId = intruder.atcId;
    if (a == nullptr) {
        return o;
    }
    // The mouse where the display puts the aircraft.
    float x = 0.0f, y = 0.0f;
    displayOffset(own, *a, aim.heading, aim.nmPerUnit, &x, &y);
    run_.setMouse((x + aim.centerX) / aim.viewWidth, (y + aim.centerY) / aim.viewHeight);

    const std::string expected = o.atcId.substr(0, kModuleIdLength);
    if (expected.empty() ||
        drawShowing({kLevelOther, kLevelProximity, kLevelTA, kLevelRA}, aim, scratch) != expected) {
        return o;
    }
    o.found = true;
    o.reportedId = expected;
    readToolTip(o);
    o.level = levelOf(expected, aim, scratch);
    return o;
}

void HoverProbe::readToolTip(AircraftObservation& o) {
    const sim::GaugeHost& gauge = run_.gauge();
    o.altitude = gauge.number("toolTipAlt");
    o.distance = gauge.number("toolTipDist");
    o.bearing = gauge.number("toolTipBrg");
    o.altDiff = gauge.number("toolTipAltDiff");
    o.track = gauge.number("toolTipTrackAngle");
    o.groundSpeed = gauge.number("toolTipGroundSpeed");
    o.radAlt = gauge.number("toolTipRadAlt");
}

// The level, by which levels still let the module name the aircraft.
ThreatLevel HoverProbe::levelOf(const std::string& expected, const Aim& aim, sim::Canvas& scratch) {
    if (drawShowing({kLevelTA, kLevelRA}, aim, scratch) == expected) {
        return drawShowing({kLevelRA}, aim, scratch) == expected ? kLevelRA : kLevelTA;
    }
    return drawShowing({kLevelProximity}, aim, scratch) == expected ? kLevelProximity : kLevelOther;
}

std::string HoverProbe::drawShowing(std::initializer_list<ThreatLevel> shown, const Aim& aim,
                                    sim::Canvas& scratch) {
    const HostParameterIds& ids = run_.ids();
    sim::DrawParameterValues& p = parameters_;
    p.clear();
    applyValues(p, run_.values());  // same limits, MaxRange and MaxNumAct as the gauge's
    // A range a hair off the normal one: the frame is redrawn, while the
    // geometry (single precision) stays the same.
    toggle_ = !toggle_;
    const double up = std::nextafter(range_, 1e300);
    p.setReal(ids.range, toggle_ ? up : std::nextafter(up, 1e300));
    p.setReal(ids.heading, aim.heading);
    p.setReal(ids.centerX, aim.centerX);
    p.setReal(ids.centerY, aim.centerY);
    p.setInteger(ids.fixedResolution, kOff);
    p.setReal(ids.symbolSize, kProbeSymbolSize);
    p.setInteger(ids.padSymbols, kOff);
    p.setInteger(ids.antiAlias, kOff);
    p.setInteger(ids.maxDisplayed, kProbeMaxDisplayed);
    for (int k = 0; k < kDrawnLevels; ++k) {
        p.setInteger(ids.detail[k], kNotDisplayed);
    }
    for (ThreatLevel level : shown) {
        p.setInteger(ids.detail[levelIndex(level)], kProbeWord);
    }
    run_.display().drawable()->draw(&p, width_, height_, scratch.dc(), nullptr);
    return run_.gauge().text("toolTipId");
}

}  // namespace cs::preview
