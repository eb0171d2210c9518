#include "host/ImportTable.h"

extern "C" {

// The host stores its services table in the second word before it starts the
// module.
cs::ImportTableRecord ImportTable = {{cs::kPanelServicesId, nullptr}, {0, nullptr}};

// A second way for the host to hand over the same table; copied into the
// import record on start when set.
cs::HostServices* Panels = nullptr;
}
