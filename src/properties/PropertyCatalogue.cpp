#include "properties/PropertyCatalogue.h"

#include <cstring>

#include "properties/NameCompare.h"

namespace cs {

namespace {

struct NamedId {
    const char* name;
    PropertyId id;
};

// The names that lead to the two displays differ between the registrations.
constexpr NamedId kVa9vedoredDisplays[] = {
    {"radar", property::Radar},
    {"tcas", property::Tcas},
};

constexpr NamedId kContactScopeDisplays[] = {
    {"TCAS", property::Radar},
};

constexpr int nameLength(const char* name) {
    int length = 0;
    while (name[length] != '\0') {
        ++length;
    }
    return length;
}

// Every entry sits at its own id and its name fits the caller's buffer. (That
// access, kind and field agree is checked by the catalogue's tests: whether a
// function pointer is null is not a constant to the compiler.)
constexpr bool catalogueConsistent() {
    for (PropertyId id = 0; id < property::kCount; ++id) {
        const PropertyEntry& entry = kProperties[id];
        if (entry.id != id || nameLength(entry.name) >= kPropertyNameCapacity) {
            return false;
        }
    }
    return true;
}
static_assert(catalogueConsistent(), "a catalogue entry is out of place or its name too long");

template <size_t N>
bool findIn(const NamedId (&table)[N], const char* name, PropertyId* id) {
    for (const NamedId& entry : table) {
        if (namesEqualIgnoringCase(name, entry.name)) {
            *id = entry.id;
            return true;
        }
    }
    return false;
}

}  // namespace

const char* propertyName(PropertyId id) {
    const PropertyEntry* entry = findProperty(id);
    return entry != nullptr ? entry->name : nullptr;
}

bool findPropertyId(int32_t variant, const char* name, PropertyId* id) {
    if (name == nullptr || id == nullptr) {
        return false;
    }
    const bool displayFound = variant == kVariantContactScope
                                  ? findIn(kContactScopeDisplays, name, id)
                                  : findIn(kVa9vedoredDisplays, name, id);
    if (displayFound) {
        return true;
    }
    // The display ids are reachable only through the registration's own names.
    for (const PropertyEntry& entry : kProperties) {
        if (entry.access == PropertyAccess::Display) {
            continue;
        }
        if (namesEqualIgnoringCase(name, entry.name) ||
            (entry.otherName != nullptr && namesEqualIgnoringCase(name, entry.otherName))) {
            *id = entry.id;
            return true;
        }
    }
    return false;
}

bool copyPropertyName(PropertyId id, char** nameBuffer) {
    const PropertyEntry* entry = findProperty(id);
    if (nameBuffer == nullptr || *nameBuffer == nullptr || entry == nullptr) {
        return false;
    }
    std::memcpy(*nameBuffer, entry->name, std::strlen(entry->name) + 1);
    return true;
}

bool propertyValueKind(PropertyId id, int32_t* kind) {
    if (kind == nullptr) {
        return false;
    }
    const PropertyEntry* entry = findProperty(id);
    *kind = entry != nullptr ? entry->kind : kValueKindNumber;
    return entry != nullptr;
}

}  // namespace cs
