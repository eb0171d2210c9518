// Scoped drawing resources in the manner of GDI+'s C++ wrapper: each object
// makes its resource from the backend on construction and releases it when it
// goes out of scope, so a symbol call cannot leak a brush on an early return.
// A resource the backend could not make is null and draws nothing.
#pragma once

#include "render/DrawingSurface.h"

namespace cs {

// One resource and the backend operation that releases it.
template <typename Resource, void (DrawingBackend::*Delete)(Resource*)>
class ScopedResource {
  public:
    ~ScopedResource() {
        if (resource_ != nullptr) {
            (backend_.*Delete)(resource_);
        }
    }
    ScopedResource(const ScopedResource&) = delete;
    ScopedResource& operator=(const ScopedResource&) = delete;
    const Resource* get() const { return resource_; }

  protected:
    ScopedResource(DrawingBackend& backend, Resource* resource)
        : backend_(backend), resource_(resource) {}

  private:
    DrawingBackend& backend_;
    Resource* resource_;
};

class SolidBrush : public ScopedResource<SurfaceBrush, &DrawingBackend::deleteBrush> {
  public:
    SolidBrush(DrawingBackend& backend, Argb colour)
        : ScopedResource(backend, backend.createSolidBrush(colour)) {}
};

class Pen : public ScopedResource<SurfacePen, &DrawingBackend::deletePen> {
  public:
    Pen(DrawingBackend& backend, Argb colour, float width)
        : ScopedResource(backend, backend.createPen(colour, width)) {}
};

class Font : public ScopedResource<SurfaceFont, &DrawingBackend::deleteFont> {
  public:
    Font(DrawingBackend& backend, const wchar_t* family, float emSize)
        : ScopedResource(backend, backend.createFont(family, emSize)) {}
};

// Centres text horizontally on its origin; the text hangs down from it.
class CentredStringFormat
    : public ScopedResource<SurfaceStringFormat, &DrawingBackend::deleteStringFormat> {
  public:
    explicit CentredStringFormat(DrawingBackend& backend)
        : ScopedResource(backend, backend.createCentredStringFormat()) {}
};

}  // namespace cs
