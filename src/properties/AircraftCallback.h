// The per-aircraft callback: the host asks it for one gauge callback per
// gauge of the aircraft's panels.
#pragma once

#include <cstdint>

#include "host/PanelInterfaces.h"
#include "host/RefCounted.h"

namespace cs {

class MyAircraftCCallback final : public IAircraftCCallback,
                                  private RefCounted<MyAircraftCCallback> {
  public:
    MyAircraftCCallback() = default;

    uint32_t HOST_MEMBER addRef() override { return addReference(); }
    uint32_t HOST_MEMBER release() override { return releaseReference(); }
    IAircraftCCallback* HOST_MEMBER queryByName(const char* name) override;
    IGaugeCCallback* HOST_MEMBER createGaugeCallback() override;
    void HOST_MEMBER update() override;

    uint32_t refCount() const { return static_cast<uint32_t>(refCount_); }

  private:
    friend class RefCounted<MyAircraftCCallback>;
    ~MyAircraftCCallback() = default;

    int32_t refCount_ = 1;
};

// A new aircraft callback holding one reference, or null when out of memory.
MyAircraftCCallback* createAircraftCallbackObject();

}  // namespace cs
