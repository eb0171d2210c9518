// What the host lends the module to draw into.
//
// On Windows it is the GDI device-context handle (HDC, declared here without
// pulling in <windows.h>). On Linux the replacement host hands over a Cairo
// image surface, which the Cairo drawing backend paints into.
#pragma once

#if defined(_WIN32)
struct HDC__;
namespace cs {
using DeviceContext = HDC__*;
}
#else
struct _cairo_surface;
namespace cs {
using DeviceContext = _cairo_surface*;
}
#endif
