// Kept apart from the rest of the host: it refers to the import record of the
// module linked into the same program, which a host that loads the module as
// a shared library does not have (it uses installInto with the library's
// exported record instead).
#include "host/ImportTable.h"
#include "simhost/SimHost.h"

namespace cs::sim {

void SimHost::install() {
    installInto(&ImportTable);
}

}  // namespace cs::sim
