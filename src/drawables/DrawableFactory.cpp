#include "drawables/DrawableFactory.h"

#include <new>

#include "drawables/DrawParameters.h"
#include "drawables/RadarCDrawable.h"
#include "drawables/TCASCDrawable.h"

namespace cs {

IGaugeCDrawable* createGaugeDrawable(int32_t kind, GaugeState* gauge,
                                     IDrawableCreateParameters* params) {
    // The declarations come first and are the same for every kind, also for
    // a kind that then yields nothing.
    declareDrawParameters(params);
    switch (kind) {
        case static_cast<int32_t>(DrawableKind::Radar):
            return new (std::nothrow) RadarCDrawable(gauge);
        case static_cast<int32_t>(DrawableKind::TCAS):
            return new (std::nothrow) TCASCDrawable(gauge);
        default:
            return nullptr;
    }
}

}  // namespace cs
