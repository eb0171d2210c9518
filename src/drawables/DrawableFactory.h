#pragma once

#include <cstdint>

#include "host/PanelInterfaces.h"

namespace cs {

struct GaugeState;

// Declares every draw parameter to the host (when it passed a declaration
// object) and creates the drawable of the kind: 0 radar, 1 TCAS, anything
// else none. The new drawable carries one reference, the host's.
IGaugeCDrawable* createGaugeDrawable(int32_t kind, GaugeState* gauge,
                                     IDrawableCreateParameters* params);

}  // namespace cs
