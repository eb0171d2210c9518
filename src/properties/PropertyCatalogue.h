// The XML-visible properties of the module: 30 ids, the names that lead to
// them in the two registrations, the kind of value each carries, whether a
// gauge may write it, and the field of the gauge's state behind it. One
// table, kProperties, holds all of it; the panel callback's name, id and kind
// answers and the gauge callback's reads and writes are driven by it, and
// tools read it to know what a gauge may write.
//
// Ids 0 and 1 carry no value: they name the two displays a gauge can place in
// a custom-draw area. The "va9vedored" registration calls them "radar" and
// "tcas"; the "ContactScope" registration reaches only the radar display, by
// the name "TCAS" (kept so for the gauges already written against it).
#pragma once

#include <cstdint>

#include "drawables/GaugeState.h"
#include "host/PanelInterfaces.h"
#include "host/Saturate.h"

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

// What a gauge can do with a property.
enum class PropertyAccess : int32_t {
    Display,    // nothing: the id names a display a gauge places (ids 0 and 1)
    Read,       // published by the displays; writes are refused
    ReadWrite,  // a setting of the gauge
};

// The field behind a property, as functions of the gauge's state: a number is
// read, and when writable written, as a 64-bit float; a text is read as a
// pointer into the state. Null where the property has no such access.
struct PropertyField {
    double (*readNumber)(const GaugeState&) = nullptr;
    void (*writeNumber)(GaugeState&, double) = nullptr;
    const char* (*readText)(const GaugeState&) = nullptr;
};

struct PropertyEntry {
    PropertyId id;
    const char* name;       // the catalogue name, id to name and name to id
    const char* otherName;  // a second name older gauges use, or null
    int32_t kind;           // kValueKindNumber or kValueKindText
    PropertyAccess access;
    PropertyField field;
};

namespace property_field {

template <double GaugeState::*Setting>
double readSetting(const GaugeState& gauge) {
    return gauge.*Setting;
}
template <double GaugeState::*Setting>
void writeSetting(GaugeState& gauge, double value) {
    gauge.*Setting = value;
}
// A setting the gauge writes, stored unchanged.
template <double GaugeState::*Setting>
constexpr PropertyField setting() {
    return {&readSetting<Setting>, &writeSetting<Setting>, nullptr};
}

inline double readBrightness(const GaugeState& gauge) {
    return gauge.brightness;
}
// Kept as a 32-bit integer, truncated toward zero; the drawables clamp it to
// 0-255 where they apply it.
inline void writeBrightness(GaugeState& gauge, double value) {
    gauge.brightness = saturatingCast<int32_t>(value);
}
constexpr PropertyField brightness() {
    return {&readBrightness, &writeBrightness, nullptr};
}

template <auto Value>
double readToolTip(const GaugeState& gauge) {
    return static_cast<double>(gauge.toolTipTarget.*Value);
}
template <auto Value>
double readAdvisory(const GaugeState& gauge) {
    return static_cast<double>(gauge.advisoryTarget.*Value);
}
// A value of the record under the mouse, or of the advisory aircraft.
template <auto Value>
constexpr PropertyField toolTip() {
    return {&readToolTip<Value>, nullptr, nullptr};
}
template <auto Value>
constexpr PropertyField advisory() {
    return {&readAdvisory<Value>, nullptr, nullptr};
}

inline const char* readToolTipText(const GaugeState& gauge) {
    return gauge.toolTipText;
}
inline const char* readToolTipId(const GaugeState& gauge) {
    return gauge.toolTipTarget.atcId;
}
inline const char* readAdvisoryId(const GaugeState& gauge) {
    return gauge.advisoryTarget.atcId;
}
constexpr PropertyField text(const char* (*read)(const GaugeState&)) {
    return {nullptr, nullptr, read};
}

}  // namespace property_field

inline constexpr PropertyEntry kProperties[property::kCount] = {
    {property::Radar, "radar", nullptr, kValueKindNumber, PropertyAccess::Display, {}},
    {property::Tcas, "tcas", nullptr, kValueKindNumber, PropertyAccess::Display, {}},
    {property::Range, "range", "TCASRange", kValueKindNumber, PropertyAccess::ReadWrite,
     property_field::setting<&GaugeState::range>()},
    {property::Brightness, "brightness", "TCASBrightness", kValueKindNumber,
     PropertyAccess::ReadWrite, property_field::brightness()},
    {property::MouseRelPosX, "mouseRelPosX", nullptr, kValueKindNumber, PropertyAccess::ReadWrite,
     property_field::setting<&GaugeState::mouseRelPosX>()},
    {property::MouseRelPosY, "mouseRelPosY", nullptr, kValueKindNumber, PropertyAccess::ReadWrite,
     property_field::setting<&GaugeState::mouseRelPosY>()},
    {property::ToolTip, "toolTip", nullptr, kValueKindText, PropertyAccess::Read,
     property_field::text(&property_field::readToolTipText)},
    {property::Advisory, "advisory", nullptr, kValueKindNumber, PropertyAccess::Read,
     property_field::advisory<&TrafficRecord::threatLevel>()},
    {property::TimeSeparationTA, "timeSeparationTA", nullptr, kValueKindNumber,
     PropertyAccess::ReadWrite, property_field::setting<&GaugeState::timeSeparationTA>()},
    {property::TimeSeparationRA, "timeSeparationRA", nullptr, kValueKindNumber,
     PropertyAccess::ReadWrite, property_field::setting<&GaugeState::timeSeparationRA>()},
    {property::DistSeparationTA, "distSeparationTA", nullptr, kValueKindNumber,
     PropertyAccess::ReadWrite, property_field::setting<&GaugeState::distSeparationTA>()},
    {property::DistSeparationRA, "distSeparationRA", nullptr, kValueKindNumber,
     PropertyAccess::ReadWrite, property_field::setting<&GaugeState::distSeparationRA>()},
    {property::AltSeparationTA, "altSeparationTA", nullptr, kValueKindNumber,
     PropertyAccess::ReadWrite, property_field::setting<&GaugeState::altSeparationTA>()},
    {property::AltSeparationRA, "altSeparationRA", nullptr, kValueKindNumber,
     PropertyAccess::ReadWrite, property_field::setting<&GaugeState::altSeparationRA>()},
    {property::ToolTipId, "toolTipId", nullptr, kValueKindText, PropertyAccess::Read,
     property_field::text(&property_field::readToolTipId)},
    {property::ToolTipAlt, "toolTipAlt", nullptr, kValueKindNumber, PropertyAccess::Read,
     property_field::toolTip<&TrafficRecord::altitude>()},
    {property::ToolTipDist, "toolTipDist", nullptr, kValueKindNumber, PropertyAccess::Read,
     property_field::toolTip<&TrafficRecord::distance>()},
    {property::ToolTipBrg, "toolTipBrg", nullptr, kValueKindNumber, PropertyAccess::Read,
     property_field::toolTip<&TrafficRecord::bearing>()},
    {property::ToolTipAltDiff, "toolTipAltDiff", nullptr, kValueKindNumber, PropertyAccess::Read,
     property_field::toolTip<&TrafficRecord::altDiff>()},
    {property::ToolTipTrackAngle, "toolTipTrackAngle", nullptr, kValueKindNumber,
     PropertyAccess::Read, property_field::toolTip<&TrafficRecord::trackAngle>()},
    {property::ToolTipGroundSpeed, "toolTipGroundSpeed", nullptr, kValueKindNumber,
     PropertyAccess::Read, property_field::toolTip<&TrafficRecord::groundSpeed>()},
    {property::AdvisoryId, "advisoryId", nullptr, kValueKindText, PropertyAccess::Read,
     property_field::text(&property_field::readAdvisoryId)},
    {property::AdvisoryAlt, "advisoryAlt", nullptr, kValueKindNumber, PropertyAccess::Read,
     property_field::advisory<&TrafficRecord::altitude>()},
    {property::AdvisoryDist, "advisoryDist", nullptr, kValueKindNumber, PropertyAccess::Read,
     property_field::advisory<&TrafficRecord::distance>()},
    {property::AdvisoryBrg, "advisoryBrg", nullptr, kValueKindNumber, PropertyAccess::Read,
     property_field::advisory<&TrafficRecord::bearing>()},
    {property::AdvisoryAltDiff, "advisoryAltDiff", nullptr, kValueKindNumber, PropertyAccess::Read,
     property_field::advisory<&TrafficRecord::altDiff>()},
    {property::AdvisoryTrackAngle, "advisoryTrackAngle", nullptr, kValueKindNumber,
     PropertyAccess::Read, property_field::advisory<&TrafficRecord::trackAngle>()},
    {property::AdvisoryGroundSpeed, "advisoryGroundSpeed", nullptr, kValueKindNumber,
     PropertyAccess::Read, property_field::advisory<&TrafficRecord::groundSpeed>()},
    {property::ToolTipRadAlt, "toolTipRadAlt", nullptr, kValueKindNumber, PropertyAccess::Read,
     property_field::toolTip<&TrafficRecord::radAlt>()},
    {property::AdvisoryRadAlt, "advisoryRadAlt", nullptr, kValueKindNumber, PropertyAccess::Read,
     property_field::advisory<&TrafficRecord::radAlt>()},
};

// True for 0 to 29; negative ids are out of range.
constexpr bool isPropertyId(PropertyId id) {
    return static_cast<uint32_t>(id) < static_cast<uint32_t>(property::kCount);
}

// The catalogue entry of a valid id, or null for any other id.
constexpr const PropertyEntry* findProperty(PropertyId id) {
    return isPropertyId(id) ? &kProperties[id] : nullptr;
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
