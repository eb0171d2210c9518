// The host's 28-byte variable record, refreshed through the panel services.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cs {

// Tokens of the host variables the module refreshes.
constexpr int32_t kTickCounterToken = 1;  // free-running tick counter
constexpr int32_t kElapsedTimeToken = 604;  // simulation time in seconds

#pragma pack(push, 4)
struct HostVariableRecord {
    int32_t token;
    int32_t hostWord1;  // host-owned, zeroed by the module
    int32_t hostWord2;  // host-owned, zeroed by the module
    double value;
    double previousValue;  // kept by the module itself
};
#pragma pack(pop)

static_assert(sizeof(HostVariableRecord) == 28);
static_assert(offsetof(HostVariableRecord, token) == 0);
static_assert(offsetof(HostVariableRecord, hostWord1) == 4);
static_assert(offsetof(HostVariableRecord, hostWord2) == 8);
static_assert(offsetof(HostVariableRecord, value) == 12);
static_assert(offsetof(HostVariableRecord, previousValue) == 20);

}  // namespace cs
