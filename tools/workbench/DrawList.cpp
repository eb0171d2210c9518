#include "tools/workbench/DrawList.h"

#include <algorithm>

namespace cs::workbench {

Affine Affine::after(const Affine& inner) const {
    return Affine{xx * inner.xx + xy * inner.yx,      yx * inner.xx + yy * inner.yx,
                  xx * inner.xy + xy * inner.yy,      yx * inner.xy + yy * inner.yy,
                  xx * inner.dx + xy * inner.dy + dx, yx * inner.dx + yy * inner.dy + dy};
}

PixelRect PixelRect::intersect(const PixelRect& o) const {
    const double left = std::max(x, o.x), top = std::max(y, o.y);
    const double right = std::min(x + width, o.x + o.width);
    const double bottom = std::min(y + height, o.y + o.height);
    return PixelRect{left, top, std::max(right - left, 0.0), std::max(bottom - top, 0.0)};
}

}  // namespace cs::workbench
