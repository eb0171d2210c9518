// The panel system's table of services, as the host hands it to the module
// through the import record. Only four entries are used; the others keep
// their place so that the used ones sit at the host's indices.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/HostAbi.h"
#include "host/HostVariableRecord.h"

namespace cs {

class IPanelCCallback;

using RefreshVariableFn = void(HOST_STDCALL*)(HostVariableRecord* variable);
using ReadUserVariableFn = double(HOST_STDCALL*)(int32_t variableId, int32_t unitId,
                                                 int32_t index);
using RegisterPanelCallbackFn = int32_t(HOST_STDCALL*)(const char* name,
                                                       IPanelCCallback* callback);
using FindPanelCallbackFn = IPanelCCallback*(HOST_STDCALL*)(const char* name);

constexpr size_t kRefreshVariableEntry = 40;
constexpr size_t kReadUserVariableEntry = 75;
constexpr size_t kRegisterPanelCallbackEntry = 76;
constexpr size_t kFindPanelCallbackEntry = 77;

struct HostServices {
    void* unused0to39[40];
    RefreshVariableFn refreshVariable;  // 40: fills in the record's current value
    void* unused41to74[34];
    ReadUserVariableFn readUserVariable;  // 75: a user-aircraft variable
    RegisterPanelCallbackFn registerPanelCallback;  // 76: null callback unregisters
    FindPanelCallbackFn findPanelCallback;  // 77: registered callback or null
};

static_assert(offsetof(HostServices, refreshVariable) == kRefreshVariableEntry * sizeof(void*));
static_assert(offsetof(HostServices, readUserVariable) ==
              kReadUserVariableEntry * sizeof(void*));
static_assert(offsetof(HostServices, registerPanelCallback) ==
              kRegisterPanelCallbackEntry * sizeof(void*));
static_assert(offsetof(HostServices, findPanelCallback) ==
              kFindPanelCallbackEntry * sizeof(void*));

}  // namespace cs
