#include "render/backends/RecordingBackend.h"

namespace cs {

namespace {

struct RecBrush {
    Argb colour;
};
struct RecPen {
    Argb colour;
    float width;
};
struct RecFont {
    std::wstring family;
    float size;
};
struct RecFormat {
    bool centred;
};

const RecBrush* asRec(const SurfaceBrush* b) {
    return reinterpret_cast<const RecBrush*>(b);
}
const RecPen* asRec(const SurfacePen* p) {
    return reinterpret_cast<const RecPen*>(p);
}
const RecFont* asRec(const SurfaceFont* f) {
    return reinterpret_cast<const RecFont*>(f);
}
const RecFormat* asRec(const SurfaceStringFormat* f) {
    return reinterpret_cast<const RecFormat*>(f);
}

int deviceContextTag = 0;

}  // namespace

DeviceContext recordingDeviceContext() {
    return reinterpret_cast<DeviceContext>(&deviceContextTag);
}

const char* drawOpName(DrawOp op) {
    switch (op) {
        case DrawOp::Startup:
            return "Startup";
        case DrawOp::Shutdown:
            return "Shutdown";
        case DrawOp::CreateContext:
            return "CreateContext";
        case DrawOp::DeleteContext:
            return "DeleteContext";
        case DrawOp::ScaleWorldTransform:
            return "ScaleWorldTransform";
        case DrawOp::TranslateWorldTransform:
            return "TranslateWorldTransform";
        case DrawOp::AntiAliasShapes:
            return "AntiAliasShapes";
        case DrawOp::AntiAliasText:
            return "AntiAliasText";
        case DrawOp::CreateBrush:
            return "CreateBrush";
        case DrawOp::DeleteBrush:
            return "DeleteBrush";
        case DrawOp::CreatePen:
            return "CreatePen";
        case DrawOp::DeletePen:
            return "DeletePen";
        case DrawOp::CreateStringFormat:
            return "CreateStringFormat";
        case DrawOp::DeleteStringFormat:
            return "DeleteStringFormat";
        case DrawOp::CreateFont:
            return "CreateFont";
        case DrawOp::DeleteFont:
            return "DeleteFont";
        case DrawOp::FillRectangle:
            return "FillRectangle";
        case DrawOp::FillEllipse:
            return "FillEllipse";
        case DrawOp::FillPolygon:
            return "FillPolygon";
        case DrawOp::DrawRectangle:
            return "DrawRectangle";
        case DrawOp::DrawEllipse:
            return "DrawEllipse";
        case DrawOp::DrawPolygon:
            return "DrawPolygon";
        case DrawOp::DrawLine:
            return "DrawLine";
        case DrawOp::DrawString:
            return "DrawString";
        case DrawOp::MeasureString:
            return "MeasureString";
    }
    return "?";
}

class RecordingContext final : public DrawingContext {
  public:
    explicit RecordingContext(RecordingBackend& backend) : backend_(backend) {}

    void scaleWorldTransform(float sx, float sy) override {
        // Prepended: the scale applies to world points before the rest.
        transform_.scaleX *= sx;
        transform_.scaleY *= sy;
        RecordedCall& c = record(DrawOp::ScaleWorldTransform);
        c.points[0] = PointF{sx, sy};
        c.pointCount = 1;
    }
    void translateWorldTransform(float dx, float dy) override {
        transform_.offsetX += dx * transform_.scaleX;
        transform_.offsetY += dy * transform_.scaleY;
        RecordedCall& c = record(DrawOp::TranslateWorldTransform);
        c.points[0] = PointF{dx, dy};
        c.pointCount = 1;
    }
    void setAntiAliasedShapes() override {
        antiAliasShapes_ = true;
        record(DrawOp::AntiAliasShapes);
    }
    void setAntiAliasedText() override {
        antiAliasText_ = true;
        record(DrawOp::AntiAliasText);
    }
    void fillRectangle(const SurfaceBrush* brush, RectF rect) override {
        fillShape(DrawOp::FillRectangle, brush, rect);
    }
    void fillEllipse(const SurfaceBrush* brush, RectF bounds) override {
        fillShape(DrawOp::FillEllipse, brush, bounds);
    }
    void fillPolygon(const SurfaceBrush* brush, const PointF corners[4]) override {
        if (brush == nullptr) {
            return;
        }
        RecordedCall& c = record(DrawOp::FillPolygon);
        c.colour = asRec(brush)->colour;
        setPoints(c, corners, 4);
    }
    void drawRectangle(const SurfacePen* pen, RectF rect) override {
        outlineShape(DrawOp::DrawRectangle, pen, rect);
    }
    void drawEllipse(const SurfacePen* pen, RectF bounds) override {
        outlineShape(DrawOp::DrawEllipse, pen, bounds);
    }
    void drawPolygon(const SurfacePen* pen, const PointF corners[4]) override {
        if (pen == nullptr) {
            return;
        }
        RecordedCall& c = record(DrawOp::DrawPolygon);
        c.colour = asRec(pen)->colour;
        c.penWidth = asRec(pen)->width;
        setPoints(c, corners, 4);
    }
    void drawLine(const SurfacePen* pen, PointF from, PointF to) override {
        if (pen == nullptr) {
            return;
        }
        RecordedCall& c = record(DrawOp::DrawLine);
        c.colour = asRec(pen)->colour;
        c.penWidth = asRec(pen)->width;
        const PointF ends[2] = {from, to};
        setPoints(c, ends, 2);
    }
    void drawString(const wchar_t* text, const SurfaceFont* font, PointF origin,
                    const SurfaceStringFormat* format, const SurfaceBrush* brush) override {
        if (text == nullptr || font == nullptr || brush == nullptr) {
            return;
        }
        RecordedCall& c = record(DrawOp::DrawString);
        c.colour = asRec(brush)->colour;
        setText(c, text, font, origin, format);
    }
    RectF measureString(const wchar_t* text, const SurfaceFont* font, PointF origin,
                        const SurfaceStringFormat* format) override {
        if (text == nullptr || font == nullptr) {
            return RectF{origin.x, origin.y, 0.0f, 0.0f};
        }
        RecordedCall& c = record(DrawOp::MeasureString);
        setText(c, text, font, origin, format);
        c.rect = RecordingBackend::measureBox(text, asRec(font)->size, origin);
        return c.rect;
    }

  private:
    RecordedCall& record(DrawOp op) {
        RecordedCall call;
        call.op = op;
        call.transform = transform_;
        call.antiAliasShapes = antiAliasShapes_;
        call.antiAliasText = antiAliasText_;
        backend_.calls.push_back(call);
        return backend_.calls.back();
    }
    void fillShape(DrawOp op, const SurfaceBrush* brush, RectF rect) {
        if (brush == nullptr) {
            return;
        }
        RecordedCall& c = record(op);
        c.colour = asRec(brush)->colour;
        c.rect = rect;
    }
    void outlineShape(DrawOp op, const SurfacePen* pen, RectF rect) {
        if (pen == nullptr) {
            return;
        }
        RecordedCall& c = record(op);
        c.colour = asRec(pen)->colour;
        c.penWidth = asRec(pen)->width;
        c.rect = rect;
    }
    static void setPoints(RecordedCall& c, const PointF* points, int count) {
        for (int i = 0; i < count; ++i) {
            c.points[i] = points[i];
        }
        c.pointCount = count;
    }
    static void setText(RecordedCall& c, const wchar_t* text, const SurfaceFont* font,
                        PointF origin, const SurfaceStringFormat* format) {
        c.text = text;
        c.fontFamily = asRec(font)->family;
        c.fontSize = asRec(font)->size;
        c.centred = format != nullptr && asRec(format)->centred;
        c.points[0] = origin;
        c.pointCount = 1;
    }

    RecordingBackend& backend_;
    RecordedTransform transform_;
    bool antiAliasShapes_ = false;
    bool antiAliasText_ = false;
};

RecordingBackend::~RecordingBackend() = default;

uintptr_t RecordingBackend::startup() {
    RecordedCall c;
    c.op = DrawOp::Startup;
    c.token = startupToken;
    calls.push_back(c);
    return startupToken;
}

void RecordingBackend::shutdown(uintptr_t token) {
    RecordedCall c;
    c.op = DrawOp::Shutdown;
    c.token = token;
    calls.push_back(c);
}

DrawingContext* RecordingBackend::createContext(DeviceContext /*dc*/) {
    RecordedCall c;
    c.op = DrawOp::CreateContext;
    calls.push_back(c);
    if (failContexts) {
        return nullptr;
    }
    ++liveContexts_;
    return new RecordingContext(*this);
}

void RecordingBackend::deleteContext(DrawingContext* context) {
    RecordedCall c;
    c.op = DrawOp::DeleteContext;
    calls.push_back(c);
    if (context != nullptr) {
        --liveContexts_;
        delete context;
    }
}

SurfaceBrush* RecordingBackend::createSolidBrush(Argb colour) {
    RecordedCall c;
    c.op = DrawOp::CreateBrush;
    c.colour = colour;
    calls.push_back(c);
    if (failResources) {
        return nullptr;
    }
    ++liveResources_;
    return reinterpret_cast<SurfaceBrush*>(new RecBrush{colour});
}

void RecordingBackend::deleteBrush(SurfaceBrush* brush) {
    RecordedCall c;
    c.op = DrawOp::DeleteBrush;
    calls.push_back(c);
    if (brush != nullptr) {
        --liveResources_;
        delete reinterpret_cast<RecBrush*>(brush);
    }
}

SurfacePen* RecordingBackend::createPen(Argb colour, float width) {
    RecordedCall c;
    c.op = DrawOp::CreatePen;
    c.colour = colour;
    c.penWidth = width;
    calls.push_back(c);
    if (failResources) {
        return nullptr;
    }
    ++liveResources_;
    return reinterpret_cast<SurfacePen*>(new RecPen{colour, width});
}

void RecordingBackend::deletePen(SurfacePen* pen) {
    RecordedCall c;
    c.op = DrawOp::DeletePen;
    calls.push_back(c);
    if (pen != nullptr) {
        --liveResources_;
        delete reinterpret_cast<RecPen*>(pen);
    }
}

SurfaceStringFormat* RecordingBackend::createCentredStringFormat() {
    RecordedCall c;
    c.op = DrawOp::CreateStringFormat;
    c.centred = true;
    calls.push_back(c);
    if (failResources) {
        return nullptr;
    }
    ++liveResources_;
    return reinterpret_cast<SurfaceStringFormat*>(new RecFormat{true});
}

void RecordingBackend::deleteStringFormat(SurfaceStringFormat* format) {
    RecordedCall c;
    c.op = DrawOp::DeleteStringFormat;
    calls.push_back(c);
    if (format != nullptr) {
        --liveResources_;
        delete reinterpret_cast<RecFormat*>(format);
    }
}

SurfaceFont* RecordingBackend::createFont(const wchar_t* family, float emSize) {
    RecordedCall c;
    c.op = DrawOp::CreateFont;
    c.fontFamily = family != nullptr ? family : L"";
    c.fontSize = emSize;
    calls.push_back(c);
    if (failResources) {
        return nullptr;
    }
    ++liveResources_;
    return reinterpret_cast<SurfaceFont*>(new RecFont{c.fontFamily, emSize});
}

void RecordingBackend::deleteFont(SurfaceFont* font) {
    RecordedCall c;
    c.op = DrawOp::DeleteFont;
    calls.push_back(c);
    if (font != nullptr) {
        --liveResources_;
        delete reinterpret_cast<RecFont*>(font);
    }
}

RectF RecordingBackend::measureBox(const wchar_t* text, float points, PointF origin) {
    const float em = points * 96.0f / 72.0f;
    const float width = 0.5f * em * static_cast<float>(std::wstring(text).size());
    return RectF{origin.x - width / 2.0f, origin.y, width, 1.25f * em};
}

std::vector<RecordedCall> RecordingBackend::drawingCalls() const {
    std::vector<RecordedCall> out;
    for (const RecordedCall& c : calls) {
        switch (c.op) {
            case DrawOp::FillRectangle:
            case DrawOp::FillEllipse:
            case DrawOp::FillPolygon:
            case DrawOp::DrawRectangle:
            case DrawOp::DrawEllipse:
            case DrawOp::DrawPolygon:
            case DrawOp::DrawLine:
            case DrawOp::DrawString:
                out.push_back(c);
                break;
            default:
                break;
        }
    }
    return out;
}

size_t RecordingBackend::count(DrawOp op) const {
    size_t n = 0;
    for (const RecordedCall& c : calls) {
        n += c.op == op ? 1 : 0;
    }
    return n;
}

}  // namespace cs
