#include "properties/PropertyCatalogue.h"

#include <cstring>

#include "host/PanelInterfaces.h"
#include "properties/NameCompare.h"

namespace cs {

namespace {

constexpr const char* kNames[property::kCount] = {
    "radar",
    "tcas",
    "range",
    "brightness",
    "mouseRelPosX",
    "mouseRelPosY",
    "toolTip",
    "advisory",
    "timeSeparationTA",
    "timeSeparationRA",
    "distSeparationTA",
    "distSeparationRA",
    "altSeparationTA",
    "altSeparationRA",
    "toolTipId",
    "toolTipAlt",
    "toolTipDist",
    "toolTipBrg",
    "toolTipAltDiff",
    "toolTipTrackAngle",
    "toolTipGroundSpeed",
    "advisoryId",
    "advisoryAlt",
    "advisoryDist",
    "advisoryBrg",
    "advisoryAltDiff",
    "advisoryTrackAngle",
    "advisoryGroundSpeed",
    "toolTipRadAlt",
    "advisoryRadAlt",
};

struct NamedId {
    const char* name;
    PropertyId id;
};

// Older gauges address range and brightness by these names.
constexpr NamedId kSecondNames[] = {
    {"TCASRange", property::Range},
    {"TCASBrightness", property::Brightness},
};

constexpr NamedId kVa9vedoredDisplays[] = {
    {"radar", property::Radar},
    {"tcas", property::Tcas},
};

constexpr NamedId kContactScopeDisplays[] = {
    {"TCAS", property::Radar},
};

constexpr bool namesFit() {
    for (const char* name : kNames) {
        int length = 0;
        while (name[length] != '\0') {
            ++length;
        }
        if (length >= kPropertyNameCapacity) {
            return false;
        }
    }
    return true;
}
static_assert(namesFit(), "a property name does not fit the caller's buffer");

template <size_t N>
bool findIn(const NamedId (&table)[N], const char* name, PropertyId* id) {
    for (const NamedId& entry : table) {
        if (namesEqualIgnoringCase(name, entry.name)) {
            *id = entry.id;
            return true;
        }
    }
    return false;
}

}  // namespace

const char* propertyName(PropertyId id) {
    return isPropertyId(id) ? kNames[id] : nullptr;
}

bool findPropertyId(int32_t variant, const char* name, PropertyId* id) {
    if (name == nullptr || id == nullptr) {
        return false;
    }
    const bool displayFound = variant == kVariantContactScope
                                  ? findIn(kContactScopeDisplays, name, id)
                                  : findIn(kVa9vedoredDisplays, name, id);
    if (displayFound || findIn(kSecondNames, name, id)) {
        return true;
    }
    // The display ids are reachable only through the registration's own names.
    for (PropertyId candidate = property::Range; candidate < property::kCount; ++candidate) {
        if (namesEqualIgnoringCase(name, kNames[candidate])) {
            *id = candidate;
            return true;
        }
    }
    return false;
}

bool copyPropertyName(PropertyId id, char** nameBuffer) {
    if (nameBuffer == nullptr || *nameBuffer == nullptr || !isPropertyId(id)) {
        return false;
    }
    const char* name = kNames[id];
    std::memcpy(*nameBuffer, name, std::strlen(name) + 1);
    return true;
}

bool propertyValueKind(PropertyId id, int32_t* kind) {
    if (kind == nullptr) {
        return false;
    }
    if (!isPropertyId(id)) {
        *kind = kValueKindNumber;
        return false;
    }
    const bool isText =
        id == property::ToolTip || id == property::ToolTipId || id == property::AdvisoryId;
    *kind = isText ? kValueKindText : kValueKindNumber;
    return true;
}

}  // namespace cs
