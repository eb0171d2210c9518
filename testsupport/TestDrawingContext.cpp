#include "testsupport/TestDrawingContext.h"

#include "testsupport/DrawingChecks.h"

namespace cs {

namespace {

// Checks the points and copies them into the call, if it is recorded.
void setPoints(DrawOp op, const PointF* points, int count, RecordedCall* c) {
    for (int i = 0; i < count; ++i) {
        check::finite(points[i], op);
    }
    if (c != nullptr) {
        for (int i = 0; i < count; ++i) {
            c->points[i] = points[i];
        }
        c->pointCount = count;
    }
}
void setText(RecordedCall& c, const wchar_t* text, const TestResource* font, PointF origin,
             const TestResource* format) {
    c.text = text;
    c.fontFamily = font->family;
    c.fontSize = font->size;
    c.centred = format != nullptr;  // the only format is the centring one
    c.points[0] = origin;
    c.pointCount = 1;
}

}  // namespace

RecordedCall& TestDrawingContext::record(DrawOp op) {
    RecordedCall& c = backend_.record(op);
    c.transform = transform_;
    c.antiAliasShapes = antiAliasShapes_;
    c.antiAliasText = antiAliasText_;
    return c;
}
// The call of a brush or pen, recorded only when it draws: a null one
// (a failed creation) draws nothing.
RecordedCall* TestDrawingContext::drawingWith(DrawOp op, const TestResource* tool) {
    if (tool == nullptr) {
        return nullptr;
    }
    RecordedCall& c = record(op);
    c.colour = tool->colour;
    c.penWidth = tool->width;
    return &c;
}
template <typename T>
void TestDrawingContext::box(DrawOp op, const T* tool, RectF rect,
                             void (DrawingContext::*draw)(const T*, RectF)) {
    check::finite(rect, op);
    const TestResource* r = check::used(tool, op);
    if (RecordedCall* c = drawingWith(op, r)) {
        c->rect = rect;
    }
    if (inner_ != nullptr) {
        (inner_->*draw)(check::innerOf<T>(r), rect);
    }
}
template <typename T>
void TestDrawingContext::polygon(DrawOp op, const T* tool, const PointF* corners,
                                 void (DrawingContext::*draw)(const T*, const PointF*)) {
    if (corners == nullptr) {
        check::misuse("no corners", op);
    }
    const TestResource* r = check::used(tool, op);
    setPoints(op, corners, 4, drawingWith(op, r));
    if (inner_ != nullptr) {
        (inner_->*draw)(check::innerOf<T>(r), corners);
    }
}

void TestDrawingContext::scaleWorldTransform(float sx, float sy) {
    const PointF arguments{sx, sy};
    // Prepended: the scale applies to world points before the rest.
    transform_.scaleX *= sx;
    transform_.scaleY *= sy;
    setPoints(DrawOp::ScaleWorldTransform, &arguments, 1, &record(DrawOp::ScaleWorldTransform));
    if (inner_ != nullptr) {
        inner_->scaleWorldTransform(sx, sy);
    }
}
void TestDrawingContext::translateWorldTransform(float dx, float dy) {
    const PointF arguments{dx, dy};
    transform_.offsetX += dx * transform_.scaleX;
    transform_.offsetY += dy * transform_.scaleY;
    setPoints(DrawOp::TranslateWorldTransform, &arguments, 1,
              &record(DrawOp::TranslateWorldTransform));
    if (inner_ != nullptr) {
        inner_->translateWorldTransform(dx, dy);
    }
}
void TestDrawingContext::setAntiAliasedShapes() {
    antiAliasShapes_ = true;
    record(DrawOp::AntiAliasShapes);
    if (inner_ != nullptr) {
        inner_->setAntiAliasedShapes();
    }
}
void TestDrawingContext::setAntiAliasedText() {
    antiAliasText_ = true;
    record(DrawOp::AntiAliasText);
    if (inner_ != nullptr) {
        inner_->setAntiAliasedText();
    }
}

void TestDrawingContext::fillRectangle(const SurfaceBrush* brush, RectF rect) {
    box(DrawOp::FillRectangle, brush, rect, &DrawingContext::fillRectangle);
}
void TestDrawingContext::fillEllipse(const SurfaceBrush* brush, RectF bounds) {
    box(DrawOp::FillEllipse, brush, bounds, &DrawingContext::fillEllipse);
}
void TestDrawingContext::fillPolygon(const SurfaceBrush* brush, const PointF corners[4]) {
    polygon(DrawOp::FillPolygon, brush, corners, &DrawingContext::fillPolygon);
}
void TestDrawingContext::drawRectangle(const SurfacePen* pen, RectF rect) {
    box(DrawOp::DrawRectangle, pen, rect, &DrawingContext::drawRectangle);
}
void TestDrawingContext::drawEllipse(const SurfacePen* pen, RectF bounds) {
    box(DrawOp::DrawEllipse, pen, bounds, &DrawingContext::drawEllipse);
}
void TestDrawingContext::drawPolygon(const SurfacePen* pen, const PointF corners[4]) {
    polygon(DrawOp::DrawPolygon, pen, corners, &DrawingContext::drawPolygon);
}
void TestDrawingContext::drawLine(const SurfacePen* pen, PointF from, PointF to) {
    const PointF ends[2] = {from, to};
    const TestResource* p = check::used(pen, DrawOp::DrawLine);
    setPoints(DrawOp::DrawLine, ends, 2, drawingWith(DrawOp::DrawLine, p));
    if (inner_ != nullptr) {
        inner_->drawLine(check::innerOf<SurfacePen>(p), from, to);
    }
}

void TestDrawingContext::drawString(const wchar_t* text, const SurfaceFont* font, PointF origin,
                                    const SurfaceStringFormat* format, const SurfaceBrush* brush) {
    constexpr DrawOp op = DrawOp::DrawString;
    check::text(text, op);
    check::finite(origin, op);
    const TestResource* f = check::used(font, op);
    const TestResource* sf = check::used(format, op);
    const TestResource* b = check::used(brush, op);
    if (f != nullptr) {
        if (RecordedCall* c = drawingWith(op, b)) {
            setText(*c, text, f, origin, sf);
        }
    }
    if (inner_ != nullptr) {
        inner_->drawString(text, check::innerOf<SurfaceFont>(f), origin,
                           check::innerOf<SurfaceStringFormat>(sf),
                           check::innerOf<SurfaceBrush>(b));
    }
}
RectF TestDrawingContext::measureString(const wchar_t* text, const SurfaceFont* font, PointF origin,
                                        const SurfaceStringFormat* format) {
    constexpr DrawOp op = DrawOp::MeasureString;
    check::text(text, op);
    check::finite(origin, op);
    const TestResource* f = check::used(font, op);
    const TestResource* sf = check::used(format, op);
    RectF measured{origin.x, origin.y, 0.0f, 0.0f};
    if (inner_ != nullptr) {
        measured = inner_->measureString(text, check::innerOf<SurfaceFont>(f), origin,
                                         check::innerOf<SurfaceStringFormat>(sf));
    } else if (f != nullptr) {
        measured = TestDrawingBackend::measureBox(text, f->size, origin);
    }
    if (f != nullptr) {
        RecordedCall& c = record(op);
        setText(c, text, f, origin, sf);
        c.rect = measured;
    }
    return measured;
}

}  // namespace cs
