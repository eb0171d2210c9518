// The XML-visible properties of the module: 30 ids, the names that lead to
// them in the two registrations, and the kind of value each carries.
//
// Ids 0 and 1 carry no value: they name the two displays a gauge can place in
// a custom-draw area. The "va9vedored" registration calls them "radar" and
// "tcas"; the "ContactScope" registration reaches only the radar display, by
// the name "TCAS" (kept so for the gauges already written against it).
#pragma once

#include <cstdint>

namespace cs {

using PropertyId = int32_t;

namespace property {
enum : PropertyId {
    Radar = 0,
    Tcas = 1,
    Range = 2,
    Brightness = 3,
    MouseRelPosX = 4,
    MouseRelPosY = 5,
    ToolTip = 6,
    Advisory = 7,
    TimeSeparationTA = 8,
    TimeSeparationRA = 9,
    DistSeparationTA = 10,
    DistSeparationRA = 11,
    AltSeparationTA = 12,
    AltSeparationRA = 13,
    ToolTipId = 14,
    ToolTipAlt = 15,
    ToolTipDist = 16,
    ToolTipBrg = 17,
    ToolTipAltDiff = 18,
    ToolTipTrackAngle = 19,
    ToolTipGroundSpeed = 20,
    AdvisoryId = 21,
    AdvisoryAlt = 22,
    AdvisoryDist = 23,
    AdvisoryBrg = 24,
    AdvisoryAltDiff = 25,
    AdvisoryTrackAngle = 26,
    AdvisoryGroundSpeed = 27,
    ToolTipRadAlt = 28,
    AdvisoryRadAlt = 29,
};
constexpr PropertyId kCount = 30;
}  // namespace property

// The registration a panel callback was made for.
constexpr int32_t kVariantVa9vedored = 0;
constexpr int32_t kVariantContactScope = 1;

// Room the caller of propertyIdToName must provide: the longest name,
// "advisoryGroundSpeed", and its terminator.
constexpr int kPropertyNameCapacity = 20;

// True for 0 to 29; negative ids are out of range.
constexpr bool isPropertyId(PropertyId id) {
    return static_cast<uint32_t>(id) < static_cast<uint32_t>(property::kCount);
}

// The catalogue name of a valid id (id 0 is always "radar", id 1 "tcas"),
// or null for any other id.
const char* propertyName(PropertyId id);

// Looks a gauge's property name up, ignoring ASCII case, in the names of the
// given registration. Stores the id and returns true on a match; leaves *id
// untouched and returns false otherwise (and for a null name or address).
bool findPropertyId(int32_t variant, const char* name, PropertyId* id);

// Copies the catalogue name of id, terminator included, into the buffer that
// *nameBuffer designates (at least kPropertyNameCapacity bytes). False, with
// nothing written, for a null address, a null buffer or an invalid id.
bool copyPropertyName(PropertyId id, char** nameBuffer);

// Stores the value kind (kValueKindText for the three texts, kValueKindNumber
// otherwise) and returns true for a valid id; stores kValueKindNumber and
// returns false for any other id; false for a null address.
bool propertyValueKind(PropertyId id, int32_t* kind);

}  // namespace cs
