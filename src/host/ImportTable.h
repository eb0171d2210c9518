// The two host-format records the module exports, and the one way every part
// of the module reaches the host's services: the pointer the host stores in
// the import record.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/HostServices.h"

namespace cs {

constexpr uint32_t kPanelServicesId = 0x0F;
constexpr uint32_t kLinkageIdentifier = 729;
constexpr uint32_t kLinkVersion = 0x900;

struct ImportEntry {
    uint32_t serviceId;
    HostServices* table;
};

// Host import list: the panel services entry, then a terminating entry.
struct ImportTableRecord {
    ImportEntry panelServices;
    ImportEntry terminator;
};

using ModuleRoutine = void (*)();

// Module linkage record through which the host can also find start and stop.
struct LinkageRecord {
    uint32_t identifier;
    ModuleRoutine start;
    ModuleRoutine stop;
    uint32_t zero1;
    uint32_t zero2;
    uint32_t linkVersion;
    void* gaugeList[1];  // one null pointer: the module exports no gauges of its own
};

#if defined(_WIN32) && defined(__i386__)
static_assert(sizeof(ImportTableRecord) == 16);
static_assert(offsetof(ImportTableRecord, panelServices.table) == 4);
static_assert(offsetof(ImportTableRecord, terminator) == 8);
static_assert(sizeof(LinkageRecord) == 28);
static_assert(offsetof(LinkageRecord, start) == 4);
static_assert(offsetof(LinkageRecord, stop) == 8);
static_assert(offsetof(LinkageRecord, linkVersion) == 20);
static_assert(offsetof(LinkageRecord, gaugeList) == 24);
#endif
static_assert(offsetof(ImportTableRecord, terminator) == sizeof(ImportEntry));

}  // namespace cs

// The two exported words the host writes (host/ImportRecord.cpp). The
// linkage record is the module entry's (module/ModuleEntry.h).
extern "C" {
extern cs::ImportTableRecord ImportTable;
extern cs::HostServices* Panels;
}

namespace cs {

// The host's services as the host stored them in the import record.
inline HostServices* hostServices() {
    return ImportTable.panelServices.table;
}

}  // namespace cs
