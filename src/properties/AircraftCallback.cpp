#include "properties/AircraftCallback.h"

#include <new>

#include "properties/GaugeCallback.h"
#include "properties/NameCompare.h"
#include "properties/PanelCallback.h"

namespace cs {

MyAircraftCCallback* createAircraftCallbackObject() {
    return new (std::nothrow) MyAircraftCCallback();
}

IAircraftCCallback* MyAircraftCCallback::queryByName(const char* name) {
    return namesEqualIgnoringCase(name, kVa9vedoredName) ? this : nullptr;
}

IGaugeCCallback* MyAircraftCCallback::createGaugeCallback() {
    return new (std::nothrow) MyGaugeCCallback();
}

void MyAircraftCCallback::update() {}

}  // namespace cs
