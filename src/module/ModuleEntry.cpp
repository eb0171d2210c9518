#include "module/ModuleEntry.h"

#include "properties/PanelCallback.h"
#include "properties/PropertyCatalogue.h"

namespace cs {

constinit IPanelCCallback* va9vedoredPanel = nullptr;
constinit IPanelCCallback* contactScopePanel = nullptr;

namespace {

void registerIfAbsent(IPanelCCallback*& slot, int32_t variant, const char* name) {
    if (slot != nullptr) {
        return;
    }
    // A failed allocation stores null, which the host takes as removing any
    // registration under the name; the next start tries again.
    slot = createPanelCallback(variant);
    hostServices()->registerPanelCallback(name, slot);
}

void releaseIfPresent(IPanelCCallback*& slot) {
    if (slot != nullptr) {
        slot->release();
        slot = nullptr;
    }
}

}  // namespace

}  // namespace cs

extern "C" {

void DLLStart() {
    if (Panels != nullptr) {
        ImportTable.panelServices.table = Panels;
    }
    cs::registerIfAbsent(cs::va9vedoredPanel, cs::kVariantVa9vedored, cs::kVa9vedoredName);
    cs::registerIfAbsent(cs::contactScopePanel, cs::kVariantContactScope, cs::kContactScopeName);
}

void DLLStop() {
    // The module's references go first; a reference the host took when it
    // registered a callback keeps that object alive past the unregistration.
    cs::releaseIfPresent(cs::va9vedoredPanel);
    cs::releaseIfPresent(cs::contactScopePanel);
    cs::HostServices* services = cs::hostServices();
    services->registerPanelCallback(cs::kVa9vedoredName, nullptr);
    services->registerPanelCallback(cs::kContactScopeName, nullptr);
}
}
