// The settings and published values of one gauge: what the gauge writes
// (range, brightness, mouse position, the six separations) and what its
// displays publish back (tool-tip and advisory), read and written by id.
#pragma once

#include <cstdint>

#include "host/PanelInterfaces.h"
#include "traffic/TrafficRecord.h"

namespace cs {

class MyGaugeCDrawable;

constexpr int kToolTipCapacity = 81;  // bytes, terminator included

class MyGaugeCCallback final : public IGaugeCCallback {
  public:
    MyGaugeCCallback();

    uint32_t HOST_MEMBER addRef() override;
    uint32_t HOST_MEMBER release() override;
    IGaugeCCallback* HOST_MEMBER queryByName(const char* name) override;
    void HOST_MEMBER update() override;
    bool HOST_MEMBER getTextProperty(int32_t id, const char** text) override;
    bool HOST_MEMBER getNumberProperty(int32_t id, double* value) override;
    bool HOST_MEMBER setTextProperty(int32_t id, const char* text) override;
    bool HOST_MEMBER setNumberProperty(int32_t id, double value) override;
    IGaugeCDrawable* HOST_MEMBER createDrawable(int32_t id,
                                                IDrawableCreateParameters* params) override;

    // The drawables this gauge created and that are still alive. A drawable
    // holds an uncounted pointer back to its gauge; when the host releases
    // the gauge first, the gauge detaches them so none follows a dangling
    // pointer (they then behave as drawables without a gauge).
    void attachDrawable(MyGaugeCDrawable* drawable);
    void detachDrawable(MyGaugeCDrawable* drawable);

    // Fields, read and written directly by the gauge's drawables.
    char toolTipText[kToolTipCapacity] = {};
    TrafficRecord toolTipTarget{};
    TrafficRecord advisoryTarget{};
    double range = 15.0;  // nautical miles
    int32_t brightness = 255;
    double mouseRelPosX = 0.0;        // fraction of the drawing area's width
    double mouseRelPosY = 0.0;        // fraction of the drawing area's height
    double timeSeparationTA = 35.0;   // seconds
    double timeSeparationRA = 20.0;   // seconds
    double distSeparationTA = 1.0;    // nautical miles
    double distSeparationRA = 0.1;    // nautical miles
    double altSeparationTA = 1200.0;  // feet
    double altSeparationRA = 300.0;   // feet

    uint32_t refCount() const { return static_cast<uint32_t>(refCount_); }

  private:
    ~MyGaugeCCallback();

    int32_t refCount_ = 1;
    MyGaugeCDrawable* drawables_ = nullptr;  // intrusive list through the drawables
};

}  // namespace cs
