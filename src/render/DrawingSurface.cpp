#include "render/DrawingSurface.h"

namespace cs {

namespace {
// Set only by tests; a plain pointer so the module has no static objects
// with constructors.
constinit DrawingBackend* overrideBackend = nullptr;
}  // namespace

DrawingBackend& activeDrawingBackend() {
    return overrideBackend != nullptr ? *overrideBackend : platformDrawingBackend();
}

void overrideDrawingBackend(DrawingBackend* backend) {
    overrideBackend = backend;
}

}  // namespace cs
