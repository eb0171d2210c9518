// The import record and Panels: the two exported words through which the host
// hands the module its services table. They sit with the host interfaces, at
// the bottom of the module, because every subsystem reads the services
// through them; the module entry, which starts and stops the module, and the
// linkage record that names it are in module/.
#include "host/ImportTable.h"

extern "C" {

// The host stores its services table in the second word before it starts the
// module.
cs::ImportTableRecord ImportTable = {{cs::kPanelServicesId, nullptr}, {0, nullptr}};

// A second way for the host to hand over the same table; copied into the
// import record on start when set.
cs::HostServices* Panels = nullptr;
}
