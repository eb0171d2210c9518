// The TCAS display's drawable: diamonds, circles and squares by threat
// level, traffic watched out to 40 nm by default.
#pragma once

#include "drawables/GaugeDrawable.h"

namespace cs {

class TCASCDrawable final : public MyGaugeCDrawable {
  public:
    // Null gauge allowed: the drawable then never updates nor draws.
    explicit TCASCDrawable(GaugeState* gaugeCallback);

    void getLimitDefaults(double* otherMinRAlt, double* otherAboveAlt, double* otherBelowAlt,
                          double* proximityRange, double* proximityAboveAlt,
                          double* proximityBelowAlt) override;
    void getColourDefaults(int32_t* other, int32_t* proximity, int32_t* ta, int32_t* ra) override;
    void getDetailDefaults(int32_t* other, int32_t* proximity, int32_t* ta, int32_t* ra) override;

  private:
    ~TCASCDrawable() override = default;
};

}  // namespace cs
