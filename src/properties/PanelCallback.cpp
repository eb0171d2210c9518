#include "properties/PanelCallback.h"

#include <new>

#include "properties/AircraftCallback.h"
#include "properties/NameCompare.h"
#include "properties/PropertyCatalogue.h"

namespace cs {

MyPanelCCallback* createPanelCallback(int32_t variant) {
    return new (std::nothrow) MyPanelCCallback(variant);
}

IPanelCCallback* MyPanelCCallback::queryByName(const char* name) {
    // Answers the module's original name under either registration.
    return namesEqualIgnoringCase(name, kVa9vedoredName) ? this : nullptr;
}

uint32_t MyPanelCCallback::version() {
    return kPanelCallbackVersion;
}

IAircraftCCallback* MyPanelCCallback::createAircraftCallback(uint32_t /*containerId*/) {
    return createAircraftCallbackObject();
}

bool MyPanelCCallback::propertyNameToId(const char* name, int32_t* id) {
    return findPropertyId(variant, name, id);
}

bool MyPanelCCallback::propertyIdToName(int32_t id, char** nameBuffer) {
    return copyPropertyName(id, nameBuffer);
}

bool MyPanelCCallback::propertyValueKind(int32_t id, int32_t* kind) {
    return cs::propertyValueKind(id, kind);
}

}  // namespace cs
