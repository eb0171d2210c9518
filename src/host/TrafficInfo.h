// The host's traffic provider interface, found as the panel callback
// registered under "ITrafficInfo" and queried by the same name.
#pragma once

#include <cstdint>

#include "host/HostAbi.h"

namespace cs {

constexpr const char* kTrafficInfoName = "ITrafficInfo";

// Slots 0 to 16 in host order; the module uses 8, 9, 10, 12, 13, 15 and 16.
// The unused slots keep their places so the used ones land on the right index.
class ITrafficInfo {
public:
    virtual uint32_t HOST_MEMBER unusedSlot0() = 0;
    virtual uint32_t HOST_MEMBER unusedSlot1() = 0;
    virtual void* HOST_MEMBER unusedSlot2(const char* name) = 0;
    virtual void HOST_MEMBER unusedSlot3() = 0;
    virtual void HOST_MEMBER unusedSlot4() = 0;
    virtual void HOST_MEMBER unusedSlot5() = 0;
    virtual void HOST_MEMBER unusedSlot6() = 0;
    virtual void HOST_MEMBER unusedSlot7() = 0;
    // 8: host id of a simulation variable name.
    virtual int32_t HOST_MEMBER variableIdByName(const char* name) = 0;
    // 9: host id of a unit name.
    virtual int32_t HOST_MEMBER unitIdByName(const char* unitName) = 0;
    // 10: writes at most `capacity` ids of aircraft within the radius, returns the count written.
    virtual uint32_t HOST_MEMBER listAircraft(double radiusMetres, uint32_t capacity,
                                              uint32_t* ids) = 0;
    virtual void HOST_MEMBER unusedSlot11() = 0;
    // 12: one numeric variable of one aircraft; `one` is always 1.
    virtual int32_t HOST_MEMBER readNumber(int32_t aircraftId, int32_t variableId,
                                           int32_t unitId, double* value, int32_t one) = 0;
    // 13: one text variable of one aircraft into a buffer of `capacity` bytes; `zero` is 0.
    virtual int32_t HOST_MEMBER readString(int32_t aircraftId, int32_t variableId,
                                           char* buffer, int32_t capacity, int32_t zero) = 0;
    virtual void HOST_MEMBER unusedSlot14() = 0;
    // 15: nonzero when only positions, true altitude, name and heading are available.
    virtual int32_t HOST_MEMBER modeQuery() = 0;
    // 16: the host's name of an aircraft, NUL-terminated, or null.
    virtual const char* HOST_MEMBER aircraftName(int32_t aircraftId) = 0;
};

}  // namespace cs
