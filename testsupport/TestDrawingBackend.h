// The drawing backend of the tests, fuzzers and soak runs.
//
// It records every call with its arguments in world units, together with the
// world transform in force, so tests can assert symbol geometry exactly; and
// it checks what the displays hand to a drawing library: every coordinate,
// size, scale and pen width is finite, every text is terminated and of sane
// length, every resource used or deleted is alive and of the right kind,
// nothing is deleted twice and no library is shut down that did not start. A
// broken rule aborts with a message (a fuzzer keeps the input as a crash).
// Resources and contexts are the backend's own heap objects, so ASan also
// sees a use after delete.
//
// It draws nothing unless given an inner backend (e.g. Cairo into a small
// surface), to which it forwards every call.
//
//   TestDrawingBackend recorder;
//   ScopedDrawingBackend use(recorder);   // renderers made now draw through it
//   TCASScreen screen;  ... screen.drawFrame(testDeviceContext(), 0, 0.0);
//   for (const RecordedCall& c : recorder.calls) ...
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "render/DrawingSurface.h"
#include "testsupport/DrawOps.h"

namespace cs {

// Scale and offset of the world transform: device = world * scale + offset.
struct RecordedTransform {
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    PointF toDevice(PointF p) const {
        return PointF{p.x * scaleX + offsetX, p.y * scaleY + offsetY};
    }
};

struct RecordedCall {
    DrawOp op;
    // Colour of the brush or pen used (or created); pen width; font of a
    // text call (or the font created).
    Argb colour = 0;
    float penWidth = 0.0f;
    std::wstring fontFamily;
    float fontSize = 0.0f;  // points
    bool centred = false;   // text laid out with the centring format
    // Rectangles and ellipse bounds; for MeasureString the box returned.
    RectF rect{};
    // Polygon corners (4), line ends (from, to), text origin (1), transform
    // arguments (1: x, y).
    PointF points[4]{};
    int pointCount = 0;
    std::wstring text;
    uintptr_t token = 0;
    RecordedTransform transform;  // in force when the call was made
    bool antiAliasShapes = false;
    bool antiAliasText = false;
};

struct TestResource;

class TestDrawingBackend final : public DrawingBackend {
  public:
    explicit TestDrawingBackend(DrawingBackend* inner = nullptr) : inner_(inner) {}
    TestDrawingBackend(const TestDrawingBackend&) = delete;
    TestDrawingBackend& operator=(const TestDrawingBackend&) = delete;

    uintptr_t startup() override;
    void shutdown(uintptr_t token) override;
    DrawingContext* createContext(DeviceContext dc) override;
    void deleteContext(DrawingContext* context) override;
    SurfaceBrush* createSolidBrush(Argb colour) override;
    void deleteBrush(SurfaceBrush* brush) override;
    SurfacePen* createPen(Argb colour, float width) override;
    void deletePen(SurfacePen* pen) override;
    SurfaceStringFormat* createCentredStringFormat() override;
    void deleteStringFormat(SurfaceStringFormat* format) override;
    SurfaceFont* createFont(const wchar_t* family, float emSize) override;
    void deleteFont(SurfaceFont* font) override;

    // The box a text is measured as without an inner backend: 0.5 em per
    // character wide, 1.25 em high, centred on the origin and hanging from
    // it (em = points * 96/72).
    static RectF measureBox(const wchar_t* text, float points, PointF origin);

    // Only the calls that put something on the surface (fills, outlines,
    // lines, texts), in order.
    std::vector<RecordedCall> drawingCalls() const;
    // Calls of one operation, and of all drawing operations, since the last
    // clear(); counted whether or not calls are recorded.
    size_t count(DrawOp op) const { return counts_[static_cast<size_t>(op)]; }
    size_t drawingCallCount() const;
    void clear();

    // Brushes, pens, fonts and formats made and not yet deleted.
    int liveResources() const { return liveResources_; }
    int liveContexts() const { return liveContexts_; }

    std::vector<RecordedCall> calls;

    // Long runs (fuzzing, soak) keep only the counts and the checks.
    bool recordCalls = true;
    // Knobs for failure tests.
    uintptr_t startupToken = 1;  // what startup() returns without an inner backend
    bool failContexts = false;   // createContext yields null (no holder)
    bool failResources = false;  // every create* of a resource yields null

  private:
    friend class TestDrawingContext;

    RecordedCall& record(DrawOp op);
    template <typename T>
    TestResource* make(void* inner);
    template <typename T>
    void destroy(DrawOp op, T* handle, void (DrawingBackend::*innerDelete)(T*));

    DrawingBackend* inner_;
    size_t counts_[kDrawOpCount] = {};
    RecordedCall unrecorded_;  // filled and dropped when calls are not kept
    int liveResources_ = 0;
    int liveContexts_ = 0;
};

// Puts a backend in place for the renderers constructed during its life.
class ScopedDrawingBackend {
  public:
    explicit ScopedDrawingBackend(DrawingBackend& backend) { overrideDrawingBackend(&backend); }
    ~ScopedDrawingBackend() { overrideDrawingBackend(nullptr); }
    ScopedDrawingBackend(const ScopedDrawingBackend&) = delete;
    ScopedDrawingBackend& operator=(const ScopedDrawingBackend&) = delete;
};

// A non-null device context for the test backend without an inner backend,
// which never dereferences it.
DeviceContext testDeviceContext();

}  // namespace cs
