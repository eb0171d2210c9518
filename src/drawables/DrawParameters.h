// The custom-draw parameters of the two displays: their names, ids and value
// types as they are declared to the host, and the record one draw gathers
// from them (the kind's defaults first, then whatever the gauge supplied).
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/PanelInterfaces.h"

namespace cs {

class MyGaugeCDrawable;

// Which display a gauge's custom-draw element asks for.
enum class DrawableKind : int32_t {
    Radar = 0,
    TCAS = 1,
};

// The value type that accompanies each declaration.
enum class DrawParameterType : int32_t {
    Real = 2,     // 64-bit float
    Integer = 3,  // 32-bit signed integer
    String = 4,   // NUL-terminated narrow text, valid during one draw
};

enum class DrawParameterId : int32_t {
    Range = 0,
    Heading = 1,
    Brightness = 2,
    OtherColour = 3,
    ProximityColour = 4,
    TAColour = 5,
    RAColour = 6,
    AntiAlias = 7,
    MaxRange = 8,
    MaxNumAct = 9,
    CenterX = 10,
    CenterY = 11,
    SymbolSize = 12,
    OtherDetail = 13,
    ProximityDetail = 14,
    TADetail = 15,
    RADetail = 16,
    FixedResolution = 17,
    PadSymbols = 18,
    Font = 19,
    OtherMinRAlt = 20,
    OtherAboveAlt = 21,
    OtherBelowAlt = 22,
    ProximityRange = 23,
    ProximityAboveAlt = 24,
    ProximityBelowAlt = 25,
    MaxDispNumAct = 26,
};

struct DrawParameterDeclaration {
    const char* name;
    DrawParameterId id;
    DrawParameterType type;
};

// Every name the host is told about, in declaration order: ids 0 to 26, then
// the older second names of the Other and Proximity colours.
constexpr size_t kDrawParameterCount = 29;
inline constexpr DrawParameterDeclaration kDrawParameters[kDrawParameterCount] = {
    {"Range", DrawParameterId::Range, DrawParameterType::Real},
    {"Heading", DrawParameterId::Heading, DrawParameterType::Real},
    {"Brightness", DrawParameterId::Brightness, DrawParameterType::Integer},
    {"OtherColour", DrawParameterId::OtherColour, DrawParameterType::Integer},
    {"ProximityColour", DrawParameterId::ProximityColour, DrawParameterType::Integer},
    {"TAColour", DrawParameterId::TAColour, DrawParameterType::Integer},
    {"RAColour", DrawParameterId::RAColour, DrawParameterType::Integer},
    {"AntiAlias", DrawParameterId::AntiAlias, DrawParameterType::Integer},
    {"MaxRange", DrawParameterId::MaxRange, DrawParameterType::Real},
    {"MaxNumAct", DrawParameterId::MaxNumAct, DrawParameterType::Real},
    {"CenterX", DrawParameterId::CenterX, DrawParameterType::Real},
    {"CenterY", DrawParameterId::CenterY, DrawParameterType::Real},
    {"SymbolSize", DrawParameterId::SymbolSize, DrawParameterType::Real},
    {"OtherDetail", DrawParameterId::OtherDetail, DrawParameterType::Integer},
    {"ProximityDetail", DrawParameterId::ProximityDetail, DrawParameterType::Integer},
    {"TADetail", DrawParameterId::TADetail, DrawParameterType::Integer},
    {"RADetail", DrawParameterId::RADetail, DrawParameterType::Integer},
    {"FixedResolution", DrawParameterId::FixedResolution, DrawParameterType::Integer},
    {"PadSymbols", DrawParameterId::PadSymbols, DrawParameterType::Integer},
    {"Font", DrawParameterId::Font, DrawParameterType::String},
    {"OtherMinRAlt", DrawParameterId::OtherMinRAlt, DrawParameterType::Real},
    {"OtherAboveAlt", DrawParameterId::OtherAboveAlt, DrawParameterType::Real},
    {"OtherBelowAlt", DrawParameterId::OtherBelowAlt, DrawParameterType::Real},
    {"ProximityRange", DrawParameterId::ProximityRange, DrawParameterType::Real},
    {"ProximityAboveAlt", DrawParameterId::ProximityAboveAlt, DrawParameterType::Real},
    {"ProximityBelowAlt", DrawParameterId::ProximityBelowAlt, DrawParameterType::Real},
    {"MaxDispNumAct", DrawParameterId::MaxDispNumAct, DrawParameterType::Integer},
    {"InactiveColour", DrawParameterId::OtherColour, DrawParameterType::Integer},
    {"StandardColour", DrawParameterId::ProximityColour, DrawParameterType::Integer},
};

// Declares all parameters to the host's declaration object; a null object
// declares nothing. The host's answers are not examined.
void declareDrawParameters(IDrawableCreateParameters* params);

// The registered type of an id; Real for an id outside the table.
DrawParameterType drawParameterType(DrawParameterId id);

// The settings of one draw call.
struct DrawSettings {
    double range = 0.0;       // nautical miles from the centre to the shorter half-side
    double heading = 0.0;     // degrees pointing up
    int32_t brightness = 0;   // 0..255 once applied; compared unclamped
    int32_t otherColour = 0;  // 0xRRGGBB
    int32_t proximityColour = 0;
    int32_t taColour = 0;
    int32_t raColour = 0;
    int32_t antiAlias = 0;
    double centerX = 0.0;  // gauge units
    double centerY = 0.0;
    double symbolSize = 0.0;  // world units
    int32_t otherDetail = 0;  // detail words
    int32_t proximityDetail = 0;
    int32_t taDetail = 0;
    int32_t raDetail = 0;
    int32_t fixedResolution = 0;
    int32_t padSymbols = 0;
    const char* font = nullptr;      // null when the gauge supplied none
    double otherMinRAlt = 0.0;       // feet
    double otherAboveAlt = 0.0;      // feet
    double otherBelowAlt = 0.0;      // feet
    double proximityRange = 0.0;     // nautical miles
    double proximityAboveAlt = 0.0;  // feet
    double proximityBelowAlt = 0.0;  // feet
    int32_t maxDisplayed = 0;
};

// How far a gathering got: without a parameters object only the presets and
// the kind's defaults are in place; without a gauge the centre is scaled too.
enum class GatherOutcome {
    NoParameters,
    NoGauge,
    Complete,
};

// Fills `settings` for one draw of `drawable` into a drawing area of
// width x height device pixels. Reads "MaxRange" and "MaxNumAct" straight
// into the drawable, where its update finds them.
GatherOutcome gatherDrawSettings(MyGaugeCDrawable& drawable, IDrawParameters* params, int32_t width,
                                 int32_t height, DrawSettings& settings);

// "MaxNumAct" as the number of aircraft to ask the host for: truncated toward
// zero; NaN and anything below 1 ask for none, anything beyond 32 bits
// saturates.
uint32_t requestedAircraftCount(double maxNumAct);

// The default of "MaxDispNumAct": "MaxNumAct" rounded half up; NaN and
// negative values give 0, values beyond 32 bits saturate.
int32_t displayedAircraftCount(double maxNumAct);

}  // namespace cs
