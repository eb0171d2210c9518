// What the test drawing backend and its contexts share: the resources they
// hand out and the checks of every value that would reach a drawing library.
// A broken rule aborts with a message naming the operation.
#pragma once

#include <cstdint>
#include <string>

#include "render/DrawingSurface.h"
#include "testsupport/DrawOps.h"

namespace cs {

// A brush, pen, format or font: what it was made with, and the inner
// backend's object. The kind tag tells a handle of another kind, or one
// already deleted (tag cleared), from a live one.
struct TestResource {
    TestResource(uint32_t kind, void* inner) : kind(kind), inner(inner) {}
    uint32_t kind;
    void* inner;
    Argb colour = 0;
    float width = 0.0f;   // pen, world units
    std::wstring family;  // font
    float size = 0.0f;    // font, points
};

namespace check {

// Kind tags, one per resource type.
template <typename T>
inline constexpr uint32_t kKindOf = 0;
template <>
inline constexpr uint32_t kKindOf<SurfaceBrush> = 0xB0B0;
template <>
inline constexpr uint32_t kKindOf<SurfacePen> = 0xBEBE;
template <>
inline constexpr uint32_t kKindOf<SurfaceStringFormat> = 0xF0F0;
template <>
inline constexpr uint32_t kKindOf<SurfaceFont> = 0xF00F;

[[noreturn]] void misuse(const char* what, DrawOp op, double value = 0.0);

// Coordinates, sizes, scales and pen widths must be finite.
void finite(float value, DrawOp op);
void finite(PointF p, DrawOp op);
void finite(RectF r, DrawOp op);

// A text must be there, terminated and of sane length.
void text(const wchar_t* text, DrawOp op);

// A resource handed to a drawing call: null (a failed creation) draws
// nothing; anything else must be alive and of the kind the call takes.
template <typename T>
inline const TestResource* used(const T* handle, DrawOp op) {
    if (handle == nullptr) {
        return nullptr;
    }
    const auto* r = reinterpret_cast<const TestResource*>(handle);
    if (r->kind != kKindOf<T>) {
        misuse("dead or mismatched resource", op);
    }
    return r;
}

template <typename T>
inline T* innerOf(const TestResource* r) {
    return r != nullptr ? static_cast<T*>(r->inner) : nullptr;
}

}  // namespace check
}  // namespace cs
