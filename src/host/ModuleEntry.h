// Start and stop of the module. The host fills the import record (or Panels)
// with its services table, calls DLLStart, which registers the two panel
// callbacks, and finally DLLStop, which gives up the module's references and
// removes both registrations.
#pragma once

#include "host/ImportTable.h"
#include "host/PanelInterfaces.h"

extern "C" {
void DLLStart();
void DLLStop();
}

namespace cs {

// The names the module registers its panel callbacks under.
inline constexpr const char* kVa9vedoredName = "va9vedored";
inline constexpr const char* kContactScopeName = "ContactScope";

// The module's own reference to each registered panel callback; null while
// the module is not started.
extern IPanelCCallback* va9vedoredPanel;
extern IPanelCCallback* contactScopePanel;

}  // namespace cs
