#include "drawables/RadarCDrawable.h"

#include <new>

#include "render/RadarScreen.h"

namespace cs {

RadarCDrawable::RadarCDrawable(GaugeState* gaugeCallback) : MyGaugeCDrawable(gaugeCallback) {
    maxNumAct_ = 100.0;
    maxRange_ = 100.0;
    renderer_ = new (std::nothrow) RadarScreen();
}

void RadarCDrawable::getLimitDefaults(double* otherMinRAlt, double* otherAboveAlt,
                                      double* otherBelowAlt, double* proximityRange,
                                      double* proximityAboveAlt, double* proximityBelowAlt) {
    // The radar shows everything it is told about: no altitude windows, and
    // proximity out to the range the traffic is watched in.
    put(otherMinRAlt, 0.0);
    put(otherAboveAlt, 100000.0);
    put(otherBelowAlt, 100000.0);
    put(proximityRange, maxRange_);
    put(proximityAboveAlt, 100000.0);
    put(proximityBelowAlt, 100000.0);
}

void RadarCDrawable::getColourDefaults(int32_t* other, int32_t* proximity, int32_t* ta,
                                       int32_t* ra) {
    put(other, int32_t{0xF0F0F0});
    put(proximity, int32_t{0x00FF00});
    put(ta, int32_t{0xFFFF00});
    put(ra, int32_t{0xFF0000});
}

void RadarCDrawable::getDetailDefaults(int32_t* other, int32_t* proximity, int32_t* ta,
                                       int32_t* ra) {
    // Outline (with the track vector) and altitude tag for every level.
    put(other, int32_t{10});
    put(proximity, int32_t{10});
    put(ta, int32_t{10});
    put(ra, int32_t{10});
}

}  // namespace cs
