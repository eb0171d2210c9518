// The texts beside a traffic symbol, and the narrow-to-wide conversion used
// for labels and font names. Everything is bounded by the caller's buffer.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cs {

// Relative altitude in hundreds of feet, rounded half up: floor(altDiff/100 + 0.5).
// Not-a-number gives 0 and values beyond the int32 range are clamped, so
// the conversion is always defined.
int32_t altitudeHundreds(double altDiff);

// Writes k as the altitude tag: sign always, at least two digits (+05, -12,
// +00, +123). Truncated to fit, always terminated when capacity > 0.
void formatAltitudeTag(int32_t k, wchar_t* out, size_t capacity);

// Widens at most maxChars bytes of a NUL-terminated narrow string, byte by
// byte (each byte of the code page becomes the character of the same value,
// as the C locale does), into out, which always ends terminated. A null
// source gives an empty text.
void widenNarrow(const char* text, size_t maxChars, wchar_t* out, size_t capacity);

}  // namespace cs
