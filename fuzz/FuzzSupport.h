// Shared pieces of the fuzz targets: hostile values drawn from the fuzzer's
// input, and a hard failure that libFuzzer records as a crash.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace cs::fuzz {

// An invariant of the module was broken: report it and abort, so the
// fuzzer keeps the input as a crash.
[[noreturn]] inline void fail(const char* what, double detail = 0.0) {
    std::fprintf(stderr, "invariant broken: %s (%g)\n", what, detail);
    std::abort();
}

inline void check(bool condition, const char* what, double detail = 0.0) {
    if (!condition) {
        fail(what, detail);
    }
}

// Values a careless conversion or comparison trips over.
inline constexpr double kSpecialDoubles[] = {
    0.0,
    -0.0,
    std::numeric_limits<double>::quiet_NaN(),
    -std::numeric_limits<double>::quiet_NaN(),
    std::numeric_limits<double>::infinity(),
    -std::numeric_limits<double>::infinity(),
    DBL_MAX,
    -DBL_MAX,
    1e308,
    -1e308,
    DBL_MIN,
    std::numeric_limits<double>::denorm_min(),
    1e-300,
    2147483647.0,
    2147483648.0,
    -2147483649.0,
    4294967295.0,
    4294967296.0,
    1e19,
    -1e19,
    255.9,
    127.9,
    -0.5,
    0.5,
    1.0,
    -1.0,
    2.5,
    18.0,
    100.0,
    1e6,
    360.0,
    -360.0,
    90.0,
    -90.0,
    180.0,
    3.0,
};

inline double hostileDouble(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
        case 0: {
            constexpr size_t n = sizeof(kSpecialDoubles) / sizeof(kSpecialDoubles[0]);
            return kSpecialDoubles[in.ConsumeIntegralInRange<size_t>(0, n - 1)];
        }
        case 1: {
            // Any bit pattern: signalling NaNs, denormals, every exponent.
            uint64_t bits = in.ConsumeIntegral<uint64_t>();
            double value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        case 2:
            return in.ConsumeFloatingPointInRange<double>(-1000.0, 1000.0);
        default:
            return in.ConsumeFloatingPoint<double>();
    }
}

inline constexpr int32_t kSpecialInts[] = {
    0,          1,          -1, 2,  3,  6,   7,   14,        21,        26,
    27,         28,         29, 30, 31, 255, 256, INT32_MIN, INT32_MAX, INT32_MIN + 1,
    0x00FFFFFF, 0x12FFFFFF, -5,
};

inline int32_t hostileInt(FuzzedDataProvider& in) {
    if (in.ConsumeBool()) {
        constexpr size_t n = sizeof(kSpecialInts) / sizeof(kSpecialInts[0]);
        return kSpecialInts[in.ConsumeIntegralInRange<size_t>(0, n - 1)];
    }
    return in.ConsumeIntegral<int32_t>();
}

// Whether a text field of `capacity` bytes holds its terminator.
inline bool terminatedWithin(const char* text, size_t capacity) {
    return text != nullptr && std::memchr(text, '\0', capacity) != nullptr;
}

}  // namespace cs::fuzz
