// Numbers cross the host boundary as 64-bit floats. Where the module needs one
// as a 32-bit integer, it converts it so that every value is defined:
// truncated toward zero, NaN as 0, and a value beyond the integer's range as
// the nearer limit.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace cs {

template <typename Integer>
inline Integer saturatingCast(double value) {
    // Both limits of a 32-bit integer are exact doubles.
    static_assert(std::numeric_limits<Integer>::is_integer && sizeof(Integer) <= 4);
    using Limits = std::numeric_limits<Integer>;
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= static_cast<double>(Limits::max())) {
        return Limits::max();
    }
    if (value <= static_cast<double>(Limits::min())) {
        return Limits::min();
    }
    return static_cast<Integer>(value);
}

}  // namespace cs
