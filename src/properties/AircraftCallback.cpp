#include "properties/AircraftCallback.h"

#include <new>

#include "properties/GaugeCallback.h"
#include "properties/NameCompare.h"
#include "properties/PanelCallback.h"

namespace cs {

MyAircraftCCallback* createAircraftCallbackObject() {
    return new (std::nothrow) MyAircraftCCallback();
}

uint32_t MyAircraftCCallback::addRef() {
    return static_cast<uint32_t>(++refCount_);
}

uint32_t MyAircraftCCallback::release() {
    const int32_t count = --refCount_;
    if (count == 0) {
        delete this;
    }
    return static_cast<uint32_t>(count);
}

IAircraftCCallback* MyAircraftCCallback::queryByName(const char* name) {
    return namesEqualIgnoringCase(name, kVa9vedoredName) ? this : nullptr;
}

IGaugeCCallback* MyAircraftCCallback::createGaugeCallback() {
    return new (std::nothrow) MyGaugeCCallback();
}

void MyAircraftCCallback::update() {}

}  // namespace cs
