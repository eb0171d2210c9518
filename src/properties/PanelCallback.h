// The panel callback registered with the host under one of the module's two
// names. The host asks it for aircraft callbacks and uses it to translate
// between property names, ids and value kinds.
#pragma once

#include <cstdint>

#include "host/PanelInterfaces.h"
#include "host/RefCounted.h"

namespace cs {

// The names the module registers its panel callbacks under. A query by name
// on any of the module's callbacks answers only the first, ignoring case,
// whichever name the callback was registered under.
inline constexpr const char* kVa9vedoredName = "va9vedored";
inline constexpr const char* kContactScopeName = "ContactScope";

class MyPanelCCallback final : public IPanelCCallback, private RefCounted<MyPanelCCallback> {
  public:
    // variant: kVariantVa9vedored or kVariantContactScope (PropertyCatalogue.h).
    explicit MyPanelCCallback(int32_t variant) : variant(variant) {}

    uint32_t HOST_MEMBER addRef() override { return addReference(); }
    uint32_t HOST_MEMBER release() override { return releaseReference(); }
    IPanelCCallback* HOST_MEMBER queryByName(const char* name) override;
    uint32_t HOST_MEMBER version() override;
    IAircraftCCallback* HOST_MEMBER createAircraftCallback(uint32_t containerId) override;
    bool HOST_MEMBER propertyNameToId(const char* name, int32_t* id) override;
    bool HOST_MEMBER propertyIdToName(int32_t id, char** nameBuffer) override;
    bool HOST_MEMBER propertyValueKind(int32_t id, int32_t* kind) override;

    // Selects the names of the two display ids and nothing else.
    const int32_t variant;

    uint32_t refCount() const { return static_cast<uint32_t>(refCount_); }

  private:
    friend class RefCounted<MyPanelCCallback>;
    ~MyPanelCCallback() = default;

    int32_t refCount_ = 1;
};

// A new panel callback holding one reference, or null when out of memory.
MyPanelCCallback* createPanelCallback(int32_t variant);

}  // namespace cs
