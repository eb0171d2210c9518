// The radar display's drawable: every aircraft a circle with its track
// vector, traffic watched out to 100 nm by default.
#pragma once

#include "drawables/GaugeDrawable.h"

namespace cs {

class RadarCDrawable final : public MyGaugeCDrawable {
  public:
    // Null gauge allowed: the drawable then never updates nor draws.
    explicit RadarCDrawable(GaugeState* gaugeCallback);

    void getLimitDefaults(double* otherMinRAlt, double* otherAboveAlt, double* otherBelowAlt,
                          double* proximityRange, double* proximityAboveAlt,
                          double* proximityBelowAlt) override;
    void getColourDefaults(int32_t* other, int32_t* proximity, int32_t* ta, int32_t* ra) override;
    void getDetailDefaults(int32_t* other, int32_t* proximity, int32_t* ta, int32_t* ra) override;

  private:
    ~RadarCDrawable() override = default;
};

}  // namespace cs
