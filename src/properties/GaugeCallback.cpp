#include "properties/GaugeCallback.h"

#include "drawables/DrawableFactory.h"
#include "drawables/GaugeDrawable.h"
#include "properties/NameCompare.h"
#include "properties/PanelCallback.h"
#include "properties/PropertyCatalogue.h"

namespace cs {

MyGaugeCCallback::MyGaugeCCallback() = default;

MyGaugeCCallback::~MyGaugeCCallback() {
    // The host may release a gauge before the drawables it created; leave
    // none of them pointing at this object.
    detachDrawables(*this);
}

IGaugeCCallback* MyGaugeCCallback::queryByName(const char* name) {
    return namesEqualIgnoringCase(name, kVa9vedoredName) ? this : nullptr;
}

void MyGaugeCCallback::update() {}

// Reads and writes go through the catalogue: its entry of the id says
// whether the property is read as a text or a number and whether a gauge may
// write it, and names the field behind it.

bool MyGaugeCCallback::getTextProperty(int32_t id, const char** text) {
    const PropertyEntry* entry = findProperty(id);
    if (text == nullptr || entry == nullptr || entry->field.readText == nullptr) {
        return false;
    }
    *text = entry->field.readText(*this);
    return true;
}

bool MyGaugeCCallback::getNumberProperty(int32_t id, double* value) {
    const PropertyEntry* entry = findProperty(id);
    if (value == nullptr || entry == nullptr || entry->field.readNumber == nullptr) {
        return false;
    }
    *value = entry->field.readNumber(*this);
    return true;
}

bool MyGaugeCCallback::setTextProperty(int32_t /*id*/, const char* /*text*/) {
    return false;  // every text is published by the displays, none is written by gauges
}

bool MyGaugeCCallback::setNumberProperty(int32_t id, double value) {
    const PropertyEntry* entry = findProperty(id);
    if (entry == nullptr || entry->field.writeNumber == nullptr) {
        return false;
    }
    entry->field.writeNumber(*this, value);
    return true;
}

IGaugeCDrawable* MyGaugeCCallback::createDrawable(int32_t id, IDrawableCreateParameters* params) {
    return createGaugeDrawable(id, this, params);
}

}  // namespace cs
