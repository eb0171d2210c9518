// A drawing backend for fuzzing and soak runs that checks what the displays
// hand to the drawing library: every coordinate, size, scale and pen width is
// finite, every text is terminated and of sane length, every resource used in
// a drawing call is alive, and nothing is deleted twice. It forwards to an
// inner backend (e.g. Cairo into a small surface) when one is given, and
// otherwise draws nothing.
//
// Resources are the checker's own heap objects (ASan sees a use after
// delete), each wrapping the inner backend's object.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "render/DrawingSurface.h"

namespace cs::fuzz {

class CheckingBackend final : public DrawingBackend {
  public:
    explicit CheckingBackend(DrawingBackend* inner = nullptr) : inner_(inner) {}

    int liveResources() const { return liveResources_; }
    int liveContexts() const { return liveContexts_; }
    long drawingCalls() const { return drawingCalls_; }
    // The widest coordinate seen, for reports.
    float largestMagnitude() const { return largest_; }

    // What the backend refuses, as a failing library would.
    bool failContexts = false;
    bool failResources = false;

    uintptr_t startup() override { return inner_ != nullptr ? inner_->startup() : 7; }
    void shutdown(uintptr_t token) override {
        if (token == 0) {
            bad("shutdown of a library that did not start");
        }
        if (inner_ != nullptr) {
            inner_->shutdown(token);
        }
    }

    DrawingContext* createContext(DeviceContext dc) override {
        if (failContexts) {
            return nullptr;
        }
        DrawingContext* inner = inner_ != nullptr ? inner_->createContext(dc) : nullptr;
        if (inner_ != nullptr && inner == nullptr) {
            return nullptr;
        }
        ++liveContexts_;
        return new Context(*this, inner);
    }
    void deleteContext(DrawingContext* context) override {
        if (context == nullptr) {
            return;
        }
        auto* own = static_cast<Context*>(context);
        if (own->magic != kContextMagic) {
            bad("deleteContext of a foreign or deleted context");
        }
        own->magic = 0;
        if (inner_ != nullptr) {
            inner_->deleteContext(own->inner);
        }
        --liveContexts_;
        delete own;
    }

    SurfaceBrush* createSolidBrush(Argb colour) override {
        if (failResources) {
            return nullptr;
        }
        return reinterpret_cast<SurfaceBrush*>(
            make(Kind::Brush, inner_ != nullptr ? inner_->createSolidBrush(colour) : nullptr));
    }
    void deleteBrush(SurfaceBrush* brush) override {
        if (Resource* r = release(brush, Kind::Brush); r != nullptr && inner_ != nullptr) {
            inner_->deleteBrush(static_cast<SurfaceBrush*>(r->inner));
        }
        destroy(brush);
    }
    SurfacePen* createPen(Argb colour, float width) override {
        finite(width, "pen width");
        if (failResources) {
            return nullptr;
        }
        return reinterpret_cast<SurfacePen*>(
            make(Kind::Pen, inner_ != nullptr ? inner_->createPen(colour, width) : nullptr));
    }
    void deletePen(SurfacePen* pen) override {
        if (Resource* r = release(pen, Kind::Pen); r != nullptr && inner_ != nullptr) {
            inner_->deletePen(static_cast<SurfacePen*>(r->inner));
        }
        destroy(pen);
    }
    SurfaceStringFormat* createCentredStringFormat() override {
        if (failResources) {
            return nullptr;
        }
        return reinterpret_cast<SurfaceStringFormat*>(
            make(Kind::Format, inner_ != nullptr ? inner_->createCentredStringFormat() : nullptr));
    }
    void deleteStringFormat(SurfaceStringFormat* format) override {
        if (Resource* r = release(format, Kind::Format); r != nullptr && inner_ != nullptr) {
            inner_->deleteStringFormat(static_cast<SurfaceStringFormat*>(r->inner));
        }
        destroy(format);
    }
    SurfaceFont* createFont(const wchar_t* family, float emSize) override {
        text(family, "font family");
        finite(emSize, "font size");
        if (failResources) {
            return nullptr;
        }
        return reinterpret_cast<SurfaceFont*>(
            make(Kind::Font, inner_ != nullptr ? inner_->createFont(family, emSize) : nullptr));
    }
    void deleteFont(SurfaceFont* font) override {
        if (Resource* r = release(font, Kind::Font); r != nullptr && inner_ != nullptr) {
            inner_->deleteFont(static_cast<SurfaceFont*>(r->inner));
        }
        destroy(font);
    }

  private:
    enum class Kind : uint32_t { Brush = 0xB0B0, Pen = 0xBEBE, Format = 0xF0F0, Font = 0xF00F };
    static constexpr uint32_t kContextMagic = 0xC0C0C0C0u;

    struct Resource {
        Kind kind;
        bool alive;
        void* inner;
    };

    [[noreturn]] static void bad(const char* what, double value = 0.0) {
        std::fprintf(stderr, "drawing backend misuse: %s (%g)\n", what, value);
        std::abort();
    }

    void finite(float value, const char* what) {
        if (!std::isfinite(value)) {
            bad(what, value);
        }
        if (std::fabs(value) > largest_) {
            largest_ = std::fabs(value);
        }
    }
    void finite(PointF p, const char* what) {
        finite(p.x, what);
        finite(p.y, what);
    }
    void finite(RectF r, const char* what) {
        finite(r.x, what);
        finite(r.y, what);
        finite(r.width, what);
        finite(r.height, what);
    }
    static void text(const wchar_t* s, const char* what) {
        if (s == nullptr) {
            bad(what);
        }
        // The displays' texts are short: tags, labels, a font name.
        size_t n = 0;
        while (s[n] != L'\0') {
            if (++n > 4096) {
                bad("runaway text", static_cast<double>(n));
            }
        }
    }

    Resource* make(Kind kind, void* inner) {
        ++liveResources_;
        return new Resource{kind, true, inner};
    }
    // Validates a resource handed back for deletion; null is allowed (a failed
    // creation) and yields null.
    Resource* release(const void* handle, Kind kind) {
        if (handle == nullptr) {
            return nullptr;
        }
        auto* r = const_cast<Resource*>(static_cast<const Resource*>(handle));
        if (r->kind != kind || !r->alive) {
            bad("resource deleted twice or with the wrong call");
        }
        r->alive = false;
        --liveResources_;
        return r;
    }
    static void destroy(const void* handle) { delete static_cast<const Resource*>(handle); }
    template <typename T>
    static T* innerOf(const void* handle, Kind kind) {
        if (handle == nullptr) {
            return nullptr;  // drawing with a failed resource draws nothing
        }
        const auto* r = static_cast<const Resource*>(handle);
        if (r->kind != kind || !r->alive) {
            bad("drawing with a dead or mismatched resource");
        }
        return static_cast<T*>(r->inner);
    }

    class Context final : public DrawingContext {
      public:
        Context(CheckingBackend& owner, DrawingContext* inner) : owner_(owner), inner(inner) {}

        void scaleWorldTransform(float sx, float sy) override {
            owner_.finite(PointF{sx, sy}, "world scale");
            if (inner != nullptr)
                inner->scaleWorldTransform(sx, sy);
        }
        void translateWorldTransform(float dx, float dy) override {
            owner_.finite(PointF{dx, dy}, "world translation");
            if (inner != nullptr)
                inner->translateWorldTransform(dx, dy);
        }
        void setAntiAliasedShapes() override {
            if (inner != nullptr)
                inner->setAntiAliasedShapes();
        }
        void setAntiAliasedText() override {
            if (inner != nullptr)
                inner->setAntiAliasedText();
        }
        void fillRectangle(const SurfaceBrush* brush, RectF rect) override {
            owner_.finite(rect, "fillRectangle");
            auto* b = innerOf<SurfaceBrush>(brush, Kind::Brush);
            ++owner_.drawingCalls_;
            if (inner != nullptr)
                inner->fillRectangle(b, rect);
        }
        void fillEllipse(const SurfaceBrush* brush, RectF bounds) override {
            owner_.finite(bounds, "fillEllipse");
            auto* b = innerOf<SurfaceBrush>(brush, Kind::Brush);
            ++owner_.drawingCalls_;
            if (inner != nullptr)
                inner->fillEllipse(b, bounds);
        }
        void fillPolygon(const SurfaceBrush* brush, const PointF corners[4]) override {
            corners4(corners, "fillPolygon");
            auto* b = innerOf<SurfaceBrush>(brush, Kind::Brush);
            ++owner_.drawingCalls_;
            if (inner != nullptr)
                inner->fillPolygon(b, corners);
        }
        void drawRectangle(const SurfacePen* pen, RectF rect) override {
            owner_.finite(rect, "drawRectangle");
            auto* p = innerOf<SurfacePen>(pen, Kind::Pen);
            ++owner_.drawingCalls_;
            if (inner != nullptr)
                inner->drawRectangle(p, rect);
        }
        void drawEllipse(const SurfacePen* pen, RectF bounds) override {
            owner_.finite(bounds, "drawEllipse");
            auto* p = innerOf<SurfacePen>(pen, Kind::Pen);
            ++owner_.drawingCalls_;
            if (inner != nullptr)
                inner->drawEllipse(p, bounds);
        }
        void drawPolygon(const SurfacePen* pen, const PointF corners[4]) override {
            corners4(corners, "drawPolygon");
            auto* p = innerOf<SurfacePen>(pen, Kind::Pen);
            ++owner_.drawingCalls_;
            if (inner != nullptr)
                inner->drawPolygon(p, corners);
        }
        void drawLine(const SurfacePen* pen, PointF from, PointF to) override {
            owner_.finite(from, "drawLine from");
            owner_.finite(to, "drawLine to");
            auto* p = innerOf<SurfacePen>(pen, Kind::Pen);
            ++owner_.drawingCalls_;
            if (inner != nullptr)
                inner->drawLine(p, from, to);
        }
        void drawString(const wchar_t* s, const SurfaceFont* font, PointF origin,
                        const SurfaceStringFormat* format, const SurfaceBrush* brush) override {
            text(s, "drawString text");
            owner_.finite(origin, "drawString origin");
            auto* f = innerOf<SurfaceFont>(font, Kind::Font);
            auto* sf = innerOf<SurfaceStringFormat>(format, Kind::Format);
            auto* b = innerOf<SurfaceBrush>(brush, Kind::Brush);
            ++owner_.drawingCalls_;
            if (inner != nullptr)
                inner->drawString(s, f, origin, sf, b);
        }
        RectF measureString(const wchar_t* s, const SurfaceFont* font, PointF origin,
                            const SurfaceStringFormat* format) override {
            text(s, "measureString text");
            owner_.finite(origin, "measureString origin");
            auto* f = innerOf<SurfaceFont>(font, Kind::Font);
            auto* sf = innerOf<SurfaceStringFormat>(format, Kind::Format);
            if (inner != nullptr) {
                return inner->measureString(s, f, origin, sf);
            }
            const float width = static_cast<float>(std::wcslen(s)) * 6.0f;
            return RectF{origin.x - width / 2.0f, origin.y, width, 12.0f};
        }

        uint32_t magic = kContextMagic;

      private:
        void corners4(const PointF corners[4], const char* what) {
            if (corners == nullptr) {
                bad(what);
            }
            for (int i = 0; i < 4; ++i) {
                owner_.finite(corners[i], what);
            }
        }
        CheckingBackend& owner_;

      public:
        DrawingContext* inner;
    };

    DrawingBackend* inner_;
    int liveResources_ = 0;
    int liveContexts_ = 0;
    long drawingCalls_ = 0;
    float largest_ = 0.0f;
};

}  // namespace cs::fuzz
