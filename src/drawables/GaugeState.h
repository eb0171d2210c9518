// One gauge's settings and published values, as its displays see them: what
// the gauge writes (range, brightness, mouse position, the six separations),
// which the displays read on every update and draw, and what the last drawn
// frame publishes back (the tool-tip and the advisory aircraft).
//
// The gauge callback owns it. Each drawable the gauge creates keeps a plain,
// uncounted pointer to it; when the gauge goes before its drawables, it
// detaches them (detachDrawables), so none follows a dangling pointer.
#pragma once

#include <cstdint>

#include "traffic/TrafficData.h"
#include "traffic/TrafficRecord.h"

namespace cs {

class MyGaugeCDrawable;

constexpr int kToolTipCapacity = 81;  // bytes, terminator included

struct GaugeState {
    // Published by the drawables after each frame.
    char toolTipText[kToolTipCapacity] = {};
    TrafficRecord toolTipTarget{};
    TrafficRecord advisoryTarget{};
    // Written by the gauge.
    double range = 15.0;  // nautical miles
    int32_t brightness = 255;
    double mouseRelPosX = 0.0;  // fraction of the drawing area's width
    double mouseRelPosY = 0.0;  // fraction of the drawing area's height
    // The six separations start where the traffic source's thresholds do.
    double timeSeparationTA = kDefaultThresholds.timeSeparationTA;  // seconds
    double timeSeparationRA = kDefaultThresholds.timeSeparationRA;  // seconds
    double distSeparationTA = kDefaultThresholds.distSeparationTA;  // nautical miles
    double distSeparationRA = kDefaultThresholds.distSeparationRA;  // nautical miles
    double altSeparationTA = kDefaultThresholds.altSeparationTA;    // feet
    double altSeparationRA = kDefaultThresholds.altSeparationRA;    // feet

    // The drawables made for this gauge that are still alive, linked through
    // MyGaugeCDrawable::nextInGauge.
    MyGaugeCDrawable* drawables = nullptr;
};

}  // namespace cs
