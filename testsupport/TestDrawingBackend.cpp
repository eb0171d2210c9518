#include "testsupport/TestDrawingBackend.h"

#include "testsupport/DrawingChecks.h"
#include "testsupport/TestDrawingContext.h"

namespace cs {

namespace {

int deviceContextTag = 0;

}  // namespace

DeviceContext testDeviceContext() {
    return reinterpret_cast<DeviceContext>(&deviceContextTag);
}

RecordedCall& TestDrawingBackend::record(DrawOp op) {
    ++counts_[static_cast<size_t>(op)];
    RecordedCall& c = recordCalls ? calls.emplace_back() : unrecorded_;
    c.op = op;
    return c;
}

uintptr_t TestDrawingBackend::startup() {
    const uintptr_t token = inner_ != nullptr ? inner_->startup() : startupToken;
    record(DrawOp::Startup).token = token;
    return token;
}

void TestDrawingBackend::shutdown(uintptr_t token) {
    record(DrawOp::Shutdown).token = token;
    if (token == 0) {
        check::misuse("shutdown of a library that did not start", DrawOp::Shutdown);
    }
    if (inner_ != nullptr) {
        inner_->shutdown(token);
    }
}

DrawingContext* TestDrawingBackend::createContext(DeviceContext dc) {
    record(DrawOp::CreateContext);
    if (failContexts) {
        return nullptr;
    }
    DrawingContext* inner = nullptr;
    if (inner_ != nullptr) {
        inner = inner_->createContext(dc);
        if (inner == nullptr) {
            return nullptr;
        }
    }
    ++liveContexts_;
    return new TestDrawingContext(*this, inner);
}

void TestDrawingBackend::deleteContext(DrawingContext* context) {
    record(DrawOp::DeleteContext);
    if (context == nullptr) {
        return;
    }
    auto* own = static_cast<TestDrawingContext*>(context);
    if (own->magic != TestDrawingContext::kMagic) {
        check::misuse("foreign or deleted context", DrawOp::DeleteContext);
    }
    own->magic = 0;
    if (inner_ != nullptr) {
        inner_->deleteContext(own->inner());
    }
    --liveContexts_;
    delete own;
}

template <typename T>
TestResource* TestDrawingBackend::make(void* inner) {
    ++liveResources_;
    return new TestResource(check::kKindOf<T>, inner);
}

template <typename T>
void TestDrawingBackend::destroy(DrawOp op, T* handle, void (DrawingBackend::*innerDelete)(T*)) {
    record(op);
    if (handle == nullptr) {
        return;  // a failed creation
    }
    auto* r = reinterpret_cast<TestResource*>(handle);
    if (r->kind != check::kKindOf<T>) {
        check::misuse("resource deleted twice or with the wrong call", op);
    }
    r->kind = 0;
    --liveResources_;
    if (inner_ != nullptr) {
        (inner_->*innerDelete)(static_cast<T*>(r->inner));
    }
    delete r;
}

SurfaceBrush* TestDrawingBackend::createSolidBrush(Argb colour) {
    record(DrawOp::CreateBrush).colour = colour;
    if (failResources) {
        return nullptr;
    }
    TestResource* r =
        make<SurfaceBrush>(inner_ != nullptr ? inner_->createSolidBrush(colour) : nullptr);
    r->colour = colour;
    return reinterpret_cast<SurfaceBrush*>(r);
}

void TestDrawingBackend::deleteBrush(SurfaceBrush* brush) {
    destroy(DrawOp::DeleteBrush, brush, &DrawingBackend::deleteBrush);
}

SurfacePen* TestDrawingBackend::createPen(Argb colour, float width) {
    check::finite(width, DrawOp::CreatePen);
    RecordedCall& c = record(DrawOp::CreatePen);
    c.colour = colour;
    c.penWidth = width;
    if (failResources) {
        return nullptr;
    }
    TestResource* r =
        make<SurfacePen>(inner_ != nullptr ? inner_->createPen(colour, width) : nullptr);
    r->colour = colour;
    r->width = width;
    return reinterpret_cast<SurfacePen*>(r);
}

void TestDrawingBackend::deletePen(SurfacePen* pen) {
    destroy(DrawOp::DeletePen, pen, &DrawingBackend::deletePen);
}

SurfaceStringFormat* TestDrawingBackend::createCentredStringFormat() {
    record(DrawOp::CreateStringFormat).centred = true;
    if (failResources) {
        return nullptr;
    }
    return reinterpret_cast<SurfaceStringFormat*>(make<SurfaceStringFormat>(
        inner_ != nullptr ? inner_->createCentredStringFormat() : nullptr));
}

void TestDrawingBackend::deleteStringFormat(SurfaceStringFormat* format) {
    destroy(DrawOp::DeleteStringFormat, format, &DrawingBackend::deleteStringFormat);
}

SurfaceFont* TestDrawingBackend::createFont(const wchar_t* family, float emSize) {
    check::text(family, DrawOp::CreateFont);
    check::finite(emSize, DrawOp::CreateFont);
    RecordedCall& c = record(DrawOp::CreateFont);
    c.fontFamily = family;
    c.fontSize = emSize;
    if (failResources) {
        return nullptr;
    }
    TestResource* r =
        make<SurfaceFont>(inner_ != nullptr ? inner_->createFont(family, emSize) : nullptr);
    r->family = family;
    r->size = emSize;
    return reinterpret_cast<SurfaceFont*>(r);
}

void TestDrawingBackend::deleteFont(SurfaceFont* font) {
    destroy(DrawOp::DeleteFont, font, &DrawingBackend::deleteFont);
}

RectF TestDrawingBackend::measureBox(const wchar_t* text, float points, PointF origin) {
    const float em = points * 96.0f / 72.0f;
    const float width = 0.5f * em * static_cast<float>(std::wstring(text).size());
    return RectF{origin.x - width / 2.0f, origin.y, width, 1.25f * em};
}

std::vector<RecordedCall> TestDrawingBackend::drawingCalls() const {
    std::vector<RecordedCall> out;
    for (const RecordedCall& c : calls) {
        if (isDrawingOp(c.op)) {
            out.push_back(c);
        }
    }
    return out;
}

size_t TestDrawingBackend::drawingCallCount() const {
    size_t n = 0;
    for (size_t op = 0; op < kDrawOpCount; ++op) {
        n += kDrawOps[op].drawing ? counts_[op] : 0;
    }
    return n;
}

void TestDrawingBackend::clear() {
    calls.clear();
    for (size_t& n : counts_) {
        n = 0;
    }
}

}  // namespace cs
