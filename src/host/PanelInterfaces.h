// The callback interfaces the host calls on the module, and the host objects
// it passes to drawable creation and drawing. Slot order is the host's; none
// has a virtual destructor, since the host never deletes through them.
#pragma once

#include <cstdint>

#include "host/DeviceContext.h"
#include "host/HostAbi.h"

namespace cs {

class IAircraftCCallback;
class IGaugeCCallback;
class IGaugeCDrawable;

constexpr uint32_t kPanelCallbackVersion = 0x20001;

// Property value kinds reported to the host.
constexpr int32_t kValueKindNumber = -1;
constexpr int32_t kValueKindText = -2;

class IPanelCCallback {
public:
    virtual uint32_t HOST_MEMBER addRef() = 0;
    virtual uint32_t HOST_MEMBER release() = 0;
    virtual IPanelCCallback* HOST_MEMBER queryByName(const char* name) = 0;
    virtual uint32_t HOST_MEMBER version() = 0;
    virtual IAircraftCCallback* HOST_MEMBER createAircraftCallback(uint32_t containerId) = 0;
    virtual bool HOST_MEMBER propertyNameToId(const char* name, int32_t* id) = 0;
    virtual bool HOST_MEMBER propertyIdToName(int32_t id, char** nameBuffer) = 0;
    virtual bool HOST_MEMBER propertyValueKind(int32_t id, int32_t* kind) = 0;
};

class IAircraftCCallback {
public:
    virtual uint32_t HOST_MEMBER addRef() = 0;
    virtual uint32_t HOST_MEMBER release() = 0;
    virtual IAircraftCCallback* HOST_MEMBER queryByName(const char* name) = 0;
    virtual IGaugeCCallback* HOST_MEMBER createGaugeCallback() = 0;
    virtual void HOST_MEMBER update() = 0;
};

// Host object handed to drawable creation: slot 4 declares one draw parameter.
class IDrawableCreateParameters {
public:
    virtual uint32_t HOST_MEMBER unusedSlot0() = 0;
    virtual uint32_t HOST_MEMBER unusedSlot1() = 0;
    virtual void* HOST_MEMBER unusedSlot2(const char* name) = 0;
    virtual void HOST_MEMBER unusedSlot3() = 0;
    virtual bool HOST_MEMBER declareParameter(const char* name, int32_t id, int32_t type) = 0;
};

// Host object handed to each draw: typed parameter reads by id (leaving the
// destination untouched for a parameter the gauge did not supply) and the
// host's scale from gauge units to device pixels.
class IDrawParameters {
public:
    virtual uint32_t HOST_MEMBER unusedSlot0() = 0;
    virtual bool HOST_MEMBER readInteger(int32_t id, int32_t* value) = 0;
    virtual bool HOST_MEMBER readReal(int32_t id, double* value) = 0;
    virtual bool HOST_MEMBER readString(int32_t id, const char** value) = 0;
    virtual double HOST_MEMBER horizontalScale() = 0;
    virtual double HOST_MEMBER verticalScale() = 0;
};

class IGaugeCCallback {
public:
    virtual uint32_t HOST_MEMBER addRef() = 0;
    virtual uint32_t HOST_MEMBER release() = 0;
    virtual IGaugeCCallback* HOST_MEMBER queryByName(const char* name) = 0;
    virtual void HOST_MEMBER update() = 0;
    virtual bool HOST_MEMBER getTextProperty(int32_t id, const char** text) = 0;
    virtual bool HOST_MEMBER getNumberProperty(int32_t id, double* value) = 0;
    virtual bool HOST_MEMBER setTextProperty(int32_t id, const char* text) = 0;
    virtual bool HOST_MEMBER setNumberProperty(int32_t id, double value) = 0;
    virtual IGaugeCDrawable* HOST_MEMBER createDrawable(int32_t id,
                                                        IDrawableCreateParameters* params) = 0;
};

class IGaugeCDrawable {
public:
    virtual uint32_t HOST_MEMBER addRef() = 0;
    virtual uint32_t HOST_MEMBER release() = 0;
    virtual uint32_t HOST_MEMBER flags() = 0;
    virtual void HOST_MEMBER update() = 0;
    virtual void HOST_MEMBER ignoredSlot4(uint32_t argument) = 0;
    virtual bool HOST_MEMBER draw(IDrawParameters* params, int32_t width, int32_t height,
                                  DeviceContext dc, void* image) = 0;
    virtual bool HOST_MEMBER setupDraw(int32_t width, int32_t height, DeviceContext dc,
                                       void* image) = 0;
    virtual bool HOST_MEMBER getDraw(IDrawParameters* params) = 0;
};

}  // namespace cs
