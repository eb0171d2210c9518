#include "testsupport/DrawingChecks.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace cs::check {

namespace {

// The displays' texts are short: tags, labels, a font name.
constexpr size_t kLongestText = 4096;

}  // namespace

[[noreturn]] void misuse(const char* what, DrawOp op, double value) {
    std::fprintf(stderr, "drawing backend misuse: %s in %s (%g)\n", what, drawOpName(op), value);
    std::abort();
}

void finite(float value, DrawOp op) {
    if (!std::isfinite(value)) {
        misuse("non-finite value", op, value);
    }
}
void finite(PointF p, DrawOp op) {
    finite(p.x, op);
    finite(p.y, op);
}
void finite(RectF r, DrawOp op) {
    finite(r.x, op);
    finite(r.y, op);
    finite(r.width, op);
    finite(r.height, op);
}

void text(const wchar_t* text, DrawOp op) {
    if (text == nullptr) {
        misuse("null text", op);
    }
    for (size_t n = 0; text[n] != L'\0';) {
        if (++n > kLongestText) {
            misuse("runaway text", op, static_cast<double>(n));
        }
    }
}

}  // namespace cs::check
