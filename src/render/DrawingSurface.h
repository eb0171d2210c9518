// The drawing surface the displays paint through: exactly the operations of
// the Windows GDI+ flat interface that the displays need, so the frame and
// symbol code never knows which backend draws (GDI+ in the DLL, Cairo on
// Linux, a recorder in tests).
//
// Each resource object keeps the status of the call that made it; a failed
// call yields an object that draws nothing, and no status is ever read. A
// null resource (its holder could not be allocated) is accepted everywhere
// and draws nothing either.
#pragma once

#include <cstdint>

#include "host/DeviceContext.h"

namespace cs {

using Argb = uint32_t;

struct PointF {
    float x;
    float y;
};

struct RectF {
    float x;
    float y;
    float width;
    float height;
};

// Backend-owned resources; each backend defines them.
struct SurfaceBrush;
struct SurfacePen;
struct SurfaceFont;
struct SurfaceStringFormat;

// One drawing context made from the host's device context for one frame.
class DrawingContext {
  public:
    virtual ~DrawingContext() = default;
    // Both transforms are prepended: world point p lands at device (p + t) * s.
    virtual void scaleWorldTransform(float sx, float sy) = 0;
    virtual void translateWorldTransform(float dx, float dy) = 0;
    virtual void setAntiAliasedShapes() = 0;  // smoothing mode anti-alias
    virtual void setAntiAliasedText() = 0;    // text hint anti-alias grid-fit

    virtual void fillRectangle(const SurfaceBrush* brush, RectF rect) = 0;
    virtual void fillEllipse(const SurfaceBrush* brush, RectF bounds) = 0;
    virtual void fillPolygon(const SurfaceBrush* brush, const PointF corners[4]) = 0;  // alternate
    virtual void drawRectangle(const SurfacePen* pen, RectF rect) = 0;
    virtual void drawEllipse(const SurfacePen* pen, RectF bounds) = 0;
    virtual void drawPolygon(const SurfacePen* pen, const PointF corners[4]) = 0;
    virtual void drawLine(const SurfacePen* pen, PointF from, PointF to) = 0;
    // Text laid out at an origin with no wrapping; with the centring format
    // the text is centred on origin.x and hangs down from origin.y.
    virtual void drawString(const wchar_t* text, const SurfaceFont* font, PointF origin,
                            const SurfaceStringFormat* format, const SurfaceBrush* brush) = 0;
    virtual RectF measureString(const wchar_t* text, const SurfaceFont* font, PointF origin,
                                const SurfaceStringFormat* format) = 0;
};

// One backend per library: start-up, contexts and resources.
class DrawingBackend {
  public:
    // Start-up token; 0 means the library did not start.
    virtual uintptr_t startup() = 0;
    virtual void shutdown(uintptr_t token) = 0;

    // A context for one frame, or null when no holder can be allocated. A
    // context whose device context the library refuses still draws nothing.
    virtual DrawingContext* createContext(DeviceContext dc) = 0;
    virtual void deleteContext(DrawingContext* context) = 0;

    virtual SurfaceBrush* createSolidBrush(Argb colour) = 0;
    virtual void deleteBrush(SurfaceBrush* brush) = 0;
    virtual SurfacePen* createPen(Argb colour, float width) = 0;  // width in world units
    virtual void deletePen(SurfacePen* pen) = 0;
    virtual SurfaceStringFormat* createCentredStringFormat() = 0;
    virtual void deleteStringFormat(SurfaceStringFormat* format) = 0;
    // Regular style, size in points. A family that is not installed falls
    // back to the generic sans-serif family, fetched once and kept.
    virtual SurfaceFont* createFont(const wchar_t* family, float emSize) = 0;
    virtual void deleteFont(SurfaceFont* font) = 0;

  protected:
    ~DrawingBackend() = default;
};

// The backend the displays use: the platform's own (GDI+ on Windows, Cairo on
// Linux) unless a test has put another in its place. A renderer binds the
// backend active at its construction for its whole life.
DrawingBackend& activeDrawingBackend();
void overrideDrawingBackend(DrawingBackend* backend);  // null restores the platform's

// Defined by the one platform backend linked into the target.
DrawingBackend& platformDrawingBackend();

}  // namespace cs
