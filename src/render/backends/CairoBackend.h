// The Linux drawing backend. The host hands over a Cairo surface as the
// device context (DeviceContext is cairo_surface_t* on Linux), normally an
// image surface made with
//   cairo_image_surface_create(CAIRO_FORMAT_ARGB32, widthPx, heightPx);
// A frame paints into it directly; call cairo_surface_flush() on it before
// reading its pixels. The renderer keeps its drawing context, and with it a
// reference on the surface, until its next frame or its destruction.
//
// Text goes through Pango when it is available (fonts resolved by
// fontconfig, so "Arial" becomes the metric-compatible Liberation Sans and a
// missing family falls back to the default sans-serif), otherwise through
// Cairo's own toy font interface. Font sizes are points at 96 dpi, as with
// GDI+: 1 pt is 96/72 world units.
#pragma once

#include "render/DrawingSurface.h"  // platformDrawingBackend() is this backend on Linux
