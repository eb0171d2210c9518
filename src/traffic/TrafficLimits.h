// Small helpers for handling what the host delivers without trusting it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "traffic/TrafficRecord.h"

namespace cs {

// Whether `count` elements of `elementSize` bytes fit in a 32-bit size, the
// most the module ever asks for in one allocation.
constexpr bool fitsIn32Bits(uint64_t count, size_t elementSize) {
    return elementSize != 0 && count <= UINT32_MAX / elementSize;
}

// The most aircraft one cycle asks the host for. A larger request is served
// as this many: a gauge that writes a huge "MaxNumAct" to mean "all of them"
// still sees its traffic, and no cycle allocates and zeroes megabytes to
// gigabytes inside the simulator's frame. The simulator never lists anywhere
// near this many aircraft.
constexpr uint32_t kMaxRequestedAircraft = 65536;

// Copies at most ten characters of a host text into an ATC id field and
// terminates it. The scan stops at the terminator or after ten bytes, so a
// host text without a terminator is never read beyond its tenth byte; a null
// text leaves the field empty.
inline void copyBoundedName(char (&destination)[kAtcIdLength + 1], const char* source) {
    int n = 0;
    if (source != nullptr) {
        while (n < kAtcIdLength && source[n] != '\0') {
            destination[n] = source[n];
            ++n;
        }
    }
    destination[n] = '\0';
}

}  // namespace cs
