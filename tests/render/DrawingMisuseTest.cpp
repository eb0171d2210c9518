// The test drawing backend is the fuzzers' and the soak runs' only view of
// what reaches a drawing library: every kind of misuse must stop the run.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "testsupport/TestDrawingBackend.h"

namespace cs {
namespace {

struct Misuse {
    const char* message;
    void (*act)(TestDrawingBackend& backend, DrawingContext& context);
};

TEST(DrawingMisuseDeathTest, EveryKindOfMisuseStopsTheRun) {
    const Misuse cases[] = {
        {"non-finite value in FillRectangle",
         [](TestDrawingBackend& b, DrawingContext& c) {
             c.fillRectangle(b.createSolidBrush(1), RectF{NAN, 0.0f, 1.0f, 1.0f});
         }},
        {"non-finite value in CreatePen",
         [](TestDrawingBackend& b, DrawingContext&) { b.createPen(1, INFINITY); }},
        {"runaway text in DrawString",
         [](TestDrawingBackend& b, DrawingContext& c) {
             const std::wstring text(5000, L'x');
             c.drawString(text.c_str(), b.createFont(L"Tahoma", 8.0f), PointF{0.0f, 0.0f}, nullptr,
                          b.createSolidBrush(1));
         }},
        {"null text in CreateFont",
         [](TestDrawingBackend& b, DrawingContext&) { b.createFont(nullptr, 8.0f); }},
        {"mismatched resource in DrawLine",
         [](TestDrawingBackend& b, DrawingContext& c) {
             c.drawLine(reinterpret_cast<SurfacePen*>(b.createSolidBrush(1)), PointF{}, PointF{});
         }},
        {"wrong call in DeletePen",
         [](TestDrawingBackend& b, DrawingContext&) {
             b.deletePen(reinterpret_cast<SurfacePen*>(b.createSolidBrush(1)));
         }},
        {"did not start in Shutdown",
         [](TestDrawingBackend& b, DrawingContext&) { b.shutdown(0); }},
    };
    for (const Misuse& m : cases) {
        TestDrawingBackend backend;
        DrawingContext* context = backend.createContext(testDeviceContext());
        ASSERT_NE(context, nullptr);
        EXPECT_DEATH(m.act(backend, *context), m.message) << m.message;
        backend.deleteContext(context);
    }
}

}  // namespace
}  // namespace cs
