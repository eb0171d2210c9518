// A drawing backend that draws nothing and records every call with its
// arguments in world units, together with the world transform in force, so
// tests can assert symbol geometry exactly. Test and tool use only (it
// allocates with the standard containers).
//
//   RecordingBackend recorder;
//   ScopedDrawingBackend use(recorder);   // renderers made now record
//   TCASScreen screen;  ... screen.drawFrame(fakeDc(), 0, 0.0);
//   for (const RecordedCall& c : recorder.calls) ...
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/DrawingSurface.h"

namespace cs {

enum class DrawOp {
    Startup,
    Shutdown,
    CreateContext,
    DeleteContext,
    ScaleWorldTransform,
    TranslateWorldTransform,
    AntiAliasShapes,
    AntiAliasText,
    CreateBrush,
    DeleteBrush,
    CreatePen,
    DeletePen,
    CreateStringFormat,
    DeleteStringFormat,
    CreateFont,
    DeleteFont,
    FillRectangle,
    FillEllipse,
    FillPolygon,
    DrawRectangle,
    DrawEllipse,
    DrawPolygon,
    DrawLine,
    DrawString,
    MeasureString,
};

const char* drawOpName(DrawOp op);

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

class RecordingBackend final : public DrawingBackend {
  public:
    RecordingBackend() = default;
    ~RecordingBackend();
    RecordingBackend(const RecordingBackend&) = delete;
    RecordingBackend& operator=(const RecordingBackend&) = delete;

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

    // The box a text is measured as: 0.5 em per character wide, 1.25 em
    // high, centred on the origin and hanging from it (em = points * 96/72).
    static RectF measureBox(const wchar_t* text, float points, PointF origin);

    // Only the calls that put something on the surface (fills, outlines,
    // lines, texts), in order.
    std::vector<RecordedCall> drawingCalls() const;
    size_t count(DrawOp op) const;
    void clear() { calls.clear(); }

    // Brushes, pens, fonts and formats made and not yet deleted.
    int liveResources() const { return liveResources_; }
    int liveContexts() const { return liveContexts_; }

    std::vector<RecordedCall> calls;

    // Knobs for failure tests.
    uintptr_t startupToken = 1;  // what startup() returns
    bool failContexts = false;   // createContext yields null (no holder)
    bool failResources = false;  // every create* of a resource yields null

  private:
    friend class RecordingContext;
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

// A non-null device context for the recorder, which never dereferences it.
DeviceContext recordingDeviceContext();

}  // namespace cs
