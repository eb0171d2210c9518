// What a drawn frame publishes to its gauge: the aircraft under the mouse,
// as a record and as a one-line text, and the aircraft of the current
// advisory.
#pragma once

#include <cstddef>
#include <cstdint>

#include "traffic/TrafficRecord.h"

namespace cs {

struct GaugeState;

// The altitude difference rounded to the nearest 100 ft, halves up, as the
// tool-tip shows it. NaN shows 0; values beyond the 32-bit range saturate.
int32_t toolTipAltitude(double altDiff);

// Formats the tool-tip of `target` into `text` (capacity bytes, terminator
// included); an empty atcId gives an empty text. A text that does not fit is
// cut at the capacity. Returns the length written.
size_t formatToolTip(const TrafficRecord& target, char* text, size_t capacity);

// After each frame: the hovered record and its text become the gauge's
// tool-tip (all zero and empty when nothing was under the mouse).
void updateToolTip(GaugeState& gauge, const TrafficRecord& hovered);

// After each frame: the traffic source's advisory becomes the gauge's; a
// renderer without traffic source (null) leaves the gauge's as it was.
void copyAdvisory(GaugeState& gauge, const TrafficRecord* advisory);

}  // namespace cs
