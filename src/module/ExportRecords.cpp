#include "module/ModuleEntry.h"

extern "C" {

// Start and stop are listed in the linkage record, so the host can also find
// them there rather than by name. The gauge list holds only its terminator:
// every display is reached through the registered panel callbacks.
constinit cs::LinkageRecord Linkage = {cs::kLinkageIdentifier, &DLLStart, &DLLStop, 0, 0,
                                       cs::kLinkVersion,       {nullptr}};
}
