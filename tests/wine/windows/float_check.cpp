// The display scale of the Windows build, computed by the same renderer
// library that ContactScope.dll links. The scale is a single-precision
// quotient stored as a double: it must be rounded to float on the way, as
// the source says and the Linux build does. Code generated for the x87 unit
// keeps the quotient at 80 bits and stores 0.29999999999999999 where the
// display needs 0.30000001192092896.
#include <cstdint>
#include <cstdio>

#include "render/TCASScreen.h"

namespace {

struct GeometryCase {
    double width, height, scaleX, scaleY, centerX, centerY, range;
    int32_t pixelMode;
    float expectedNmPerUnit;
};

constexpr GeometryCase kCases[] = {
    {200.0, 200.0, 2.0, 2.0, 50.0, 50.0, 15.0, 0, 0.3f},
    {200.0, 200.0, 2.0, 2.0, 50.0, 50.0, 15.0, 1, 0.15f},
    {300.0, 100.0, 1.0, 1.0, 150.0, 50.0, 10.0, 0, 0.2f},
};

}  // namespace

int main() {
    int failures = 0;
    cs::TCASScreen screen;
    for (const GeometryCase& c : kCases) {
        screen.setGeometry(c.width, c.height, c.scaleX, c.scaleY, c.centerX, c.centerY, c.range,
                           c.pixelMode, 4.0);
        const double expected = static_cast<double>(c.expectedNmPerUnit);
        const bool ok = screen.nmPerUnit() == expected;
        failures += ok ? 0 : 1;
        std::printf("%s %gx%g scale %g range %g mode %d: nmPerUnit %.17g, expected %.17g\n",
                    ok ? "ok  " : "FAIL", c.width, c.height, c.scaleX, c.range,
                    static_cast<int>(c.pixelMode), screen.nmPerUnit(), expected);
    }
    return failures == 0 ? 0 : 1;
}
