// A custom-draw element of a gauge: paces the traffic cycle at the host's
// tick rate, gathers the draw parameters, hands them to its renderer, decides
// when a frame is due and publishes the tool-tip and advisory to its gauge.
#pragma once

#include <cstdint>

#include "drawables/DrawParameters.h"
#include "host/HostVariableRecord.h"
#include "host/PanelInterfaces.h"
#include "host/RefCounted.h"

namespace cs {

class GdiPlusRadar;
struct GaugeState;

// Ticks of the host's counter between two traffic cycles.
constexpr double kTicksPerTrafficCycle = 18.0;

class MyGaugeCDrawable : public IGaugeCDrawable, private RefCounted<MyGaugeCDrawable> {
  public:
    uint32_t HOST_MEMBER addRef() override { return addReference(); }
    uint32_t HOST_MEMBER release() override { return releaseReference(); }
    uint32_t HOST_MEMBER flags() override;
    void HOST_MEMBER update() override;
    void HOST_MEMBER ignoredSlot4(uint32_t argument) override;
    bool HOST_MEMBER draw(IDrawParameters* params, int32_t width, int32_t height, DeviceContext dc,
                          void* image) override;
    bool HOST_MEMBER setupDraw(int32_t width, int32_t height, DeviceContext dc,
                               void* image) override;
    bool HOST_MEMBER getDraw(IDrawParameters* params) override;

    // The kind's defaults; each writes through every non-null pointer.
    virtual void getLimitDefaults(double* otherMinRAlt, double* otherAboveAlt,
                                  double* otherBelowAlt, double* proximityRange,
                                  double* proximityAboveAlt, double* proximityBelowAlt) = 0;
    virtual void getColourDefaults(int32_t* other, int32_t* proximity, int32_t* ta,
                                   int32_t* ra) = 0;
    virtual void getDetailDefaults(int32_t* other, int32_t* proximity, int32_t* ta,
                                   int32_t* ra) = 0;

    MyGaugeCDrawable* nextInGauge = nullptr;  // the gauge's list of its drawables

    GdiPlusRadar* renderer() const { return renderer_; }
    // The state of the gauge callback that created this drawable; null
    // without one, or once that gauge has gone.
    GaugeState* gaugeCallback() const { return gaugeCallback_; }
    double maxNumAct() const { return maxNumAct_; }
    double maxRange() const { return maxRange_; }
    bool redrawPending() const { return redrawPending_ != 0; }
    int32_t lastBrightness() const { return lastBrightness_; }
    double lastRange() const { return lastRange_; }
    const HostVariableRecord& tickVar() const { return tickVar_; }
    uint32_t refCount() const { return static_cast<uint32_t>(refCount_); }

  protected:
    // Writes one default of the kind through a caller's pointer that may be null.
    template <typename T>
    static void put(T* destination, T value) {
        if (destination != nullptr) {
            *destination = value;
        }
    }

    explicit MyGaugeCDrawable(GaugeState* gaugeCallback);
    // Declared after the three default operations: its vtable slots follow them.
    virtual ~MyGaugeCDrawable();

    MyGaugeCDrawable(const MyGaugeCDrawable&) = delete;
    MyGaugeCDrawable& operator=(const MyGaugeCDrawable&) = delete;

    int32_t refCount_ = 1;
    double maxNumAct_ = 100.0;
    double maxRange_ = 72.0;
    GdiPlusRadar* renderer_ = nullptr;
    GaugeState* gaugeCallback_ = nullptr;  // not owned, no reference held
    int32_t lastBrightness_ = 255;
    double lastRange_ = 0.0;
    int32_t redrawPending_ = 0;
    HostVariableRecord tickVar_{};

  private:
    friend class RefCounted<MyGaugeCDrawable>;
    friend void detachDrawables(GaugeState& gauge);
    friend GatherOutcome gatherDrawSettings(MyGaugeCDrawable& drawable, IDrawParameters* params,
                                            int32_t width, int32_t height, DrawSettings& settings);
    void refreshTickVar();
    void handOver(const DrawSettings& settings, IDrawParameters* params, int32_t width,
                  int32_t height);
};

// Called by a gauge that goes before its drawables: each of them is left
// without a gauge (it then neither updates nor draws).
void detachDrawables(GaugeState& gauge);

}  // namespace cs
