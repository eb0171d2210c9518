#include "render/SymbolText.h"

#include <cmath>

#include "host/Saturate.h"

namespace cs {

int32_t altitudeHundreds(double altDiff) {
    return saturatingCast<int32_t>(std::floor(altDiff / 100.0 + 0.5));
}

void formatAltitudeTag(int32_t k, wchar_t* out, size_t capacity) {
    if (out == nullptr || capacity == 0) {
        return;
    }
    // Digits of |k|, least significant first; the magnitude is taken in 64
    // bits so INT32_MIN has one.
    wchar_t digits[12];
    int count = 0;
    int64_t magnitude = k < 0 ? -static_cast<int64_t>(k) : static_cast<int64_t>(k);
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (count < 2) {
        digits[count++] = L'0';
    }
    size_t pos = 0;
    if (pos + 1 < capacity) {
        out[pos++] = k < 0 ? L'-' : L'+';
    }
    while (count > 0 && pos + 1 < capacity) {
        out[pos++] = digits[--count];
    }
    out[pos] = L'\0';
}

void widenNarrow(const char* text, size_t maxChars, wchar_t* out, size_t capacity) {
    if (out == nullptr || capacity == 0) {
        return;
    }
    size_t pos = 0;
    if (text != nullptr) {
        while (pos < maxChars && pos + 1 < capacity && text[pos] != '\0') {
            out[pos] = static_cast<wchar_t>(static_cast<unsigned char>(text[pos]));
            ++pos;
        }
    }
    out[pos] = L'\0';
}

}  // namespace cs
