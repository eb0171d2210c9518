// One frame's drawing context of the test drawing backend: checks every call,
// records it with the world transform and anti-aliasing in force, and
// forwards it to the inner backend's context, if any.
#pragma once

#include <cstdint>

#include "render/DrawingSurface.h"
#include "testsupport/TestDrawingBackend.h"

namespace cs {

class TestDrawingContext final : public DrawingContext {
  public:
    static constexpr uint32_t kMagic = 0xC0C0C0C0u;  // cleared on delete

    TestDrawingContext(TestDrawingBackend& backend, DrawingContext* inner)
        : backend_(backend), inner_(inner) {}

    uint32_t magic = kMagic;
    DrawingContext* inner() const { return inner_; }

    void scaleWorldTransform(float sx, float sy) override;
    void translateWorldTransform(float dx, float dy) override;
    void setAntiAliasedShapes() override;
    void setAntiAliasedText() override;

    void fillRectangle(const SurfaceBrush* brush, RectF rect) override;
    void fillEllipse(const SurfaceBrush* brush, RectF bounds) override;
    void fillPolygon(const SurfaceBrush* brush, const PointF corners[4]) override;
    void drawRectangle(const SurfacePen* pen, RectF rect) override;
    void drawEllipse(const SurfacePen* pen, RectF bounds) override;
    void drawPolygon(const SurfacePen* pen, const PointF corners[4]) override;
    void drawLine(const SurfacePen* pen, PointF from, PointF to) override;
    void drawString(const wchar_t* text, const SurfaceFont* font, PointF origin,
                    const SurfaceStringFormat* format, const SurfaceBrush* brush) override;
    RectF measureString(const wchar_t* text, const SurfaceFont* font, PointF origin,
                        const SurfaceStringFormat* format) override;

  private:
    RecordedCall& record(DrawOp op);
    RecordedCall* drawingWith(DrawOp op, const TestResource* tool);
    template <typename T>
    void box(DrawOp op, const T* tool, RectF rect, void (DrawingContext::*draw)(const T*, RectF));
    template <typename T>
    void polygon(DrawOp op, const T* tool, const PointF* corners,
                 void (DrawingContext::*draw)(const T*, const PointF*));

    TestDrawingBackend& backend_;
    DrawingContext* inner_;
    RecordedTransform transform_;
    bool antiAliasShapes_ = false;
    bool antiAliasText_ = false;
};

}  // namespace cs
