#include "drawables/TCASCDrawable.h"

#include <new>

#include "render/TCASScreen.h"

namespace cs {

TCASCDrawable::TCASCDrawable(GaugeState* gaugeCallback) : MyGaugeCDrawable(gaugeCallback) {
    maxNumAct_ = 100.0;
    maxRange_ = 40.0;
    renderer_ = new (std::nothrow) TCASScreen();
}

void TCASCDrawable::getLimitDefaults(double* otherMinRAlt, double* otherAboveAlt,
                                     double* otherBelowAlt, double* proximityRange,
                                     double* proximityAboveAlt, double* proximityBelowAlt) {
    // Other traffic within 2700 ft and clear of the ground; proximity traffic
    // within 6 nm and 1200 ft.
    put(otherMinRAlt, 50.0);
    put(otherAboveAlt, 2700.0);
    put(otherBelowAlt, 2700.0);
    put(proximityRange, 6.0);
    put(proximityAboveAlt, 1200.0);
    put(proximityBelowAlt, 1200.0);
}

void TCASCDrawable::getColourDefaults(int32_t* other, int32_t* proximity, int32_t* ta,
                                      int32_t* ra) {
    put(other, int32_t{0xF0F0F0});
    put(proximity, int32_t{0xF0F0F0});
    put(ta, int32_t{0xFFFF00});
    put(ra, int32_t{0xFF0000});
}

void TCASCDrawable::getDetailDefaults(int32_t* other, int32_t* proximity, int32_t* ta,
                                      int32_t* ra) {
    // Other traffic hollow, the rest filled; all with their altitude tags.
    put(other, int32_t{10});
    put(proximity, int32_t{14});
    put(ta, int32_t{14});
    put(ra, int32_t{14});
}

}  // namespace cs
