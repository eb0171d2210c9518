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

// The linkage record, through which the host can also find start and stop
// (module/ExportRecords.cpp).
extern cs::LinkageRecord Linkage;
}

namespace cs {

// The module's own reference to each registered panel callback; null while
// the module is not started.
extern IPanelCCallback* va9vedoredPanel;
extern IPanelCCallback* contactScopePanel;

}  // namespace cs
