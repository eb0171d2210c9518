// The gauge callback: one gauge's settings and published values (its
// GaugeState: what the gauge writes and what its displays publish back),
// read and written by property id, and the creation of its displays.
#pragma once

#include <cstdint>

#include "drawables/GaugeState.h"
#include "host/PanelInterfaces.h"
#include "host/RefCounted.h"

namespace cs {

class MyGaugeCCallback final : public IGaugeCCallback,
                               public GaugeState,
                               private RefCounted<MyGaugeCCallback> {
  public:
    MyGaugeCCallback();

    uint32_t HOST_MEMBER addRef() override { return addReference(); }
    uint32_t HOST_MEMBER release() override { return releaseReference(); }
    IGaugeCCallback* HOST_MEMBER queryByName(const char* name) override;
    void HOST_MEMBER update() override;
    bool HOST_MEMBER getTextProperty(int32_t id, const char** text) override;
    bool HOST_MEMBER getNumberProperty(int32_t id, double* value) override;
    bool HOST_MEMBER setTextProperty(int32_t id, const char* text) override;
    bool HOST_MEMBER setNumberProperty(int32_t id, double value) override;
    IGaugeCDrawable* HOST_MEMBER createDrawable(int32_t id,
                                                IDrawableCreateParameters* params) override;

    uint32_t refCount() const { return static_cast<uint32_t>(refCount_); }

  private:
    friend class RefCounted<MyGaugeCCallback>;
    ~MyGaugeCCallback();

    int32_t refCount_ = 1;
};

}  // namespace cs
