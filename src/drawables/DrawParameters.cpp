#include "drawables/DrawParameters.h"

#include <cmath>

#include "drawables/GaugeDrawable.h"
#include "drawables/GaugeState.h"
#include "host/Saturate.h"

namespace cs {

namespace {

int32_t idOf(DrawParameterId id) {
    return static_cast<int32_t>(id);
}

// The host leaves each destination as it is when the gauge did not supply the
// parameter, so every read lands on a value already holding its default.
void readInteger(IDrawParameters* params, DrawParameterId id, int32_t* value) {
    params->readInteger(idOf(id), value);
}

void readReal(IDrawParameters* params, DrawParameterId id, double* value) {
    params->readReal(idOf(id), value);
}

}  // namespace

void declareDrawParameters(IDrawableCreateParameters* params) {
    if (params == nullptr) {
        return;
    }
    for (const DrawParameterDeclaration& declaration : kDrawParameters) {
        params->declareParameter(declaration.name, idOf(declaration.id),
                                 static_cast<int32_t>(declaration.type));
    }
}

DrawParameterType drawParameterType(DrawParameterId id) {
    for (const DrawParameterDeclaration& declaration : kDrawParameters) {
        if (declaration.id == id) {
            return declaration.type;
        }
    }
    return DrawParameterType::Real;
}

uint32_t requestedAircraftCount(double maxNumAct) {
    return saturatingCast<uint32_t>(maxNumAct);
}

int32_t displayedAircraftCount(double maxNumAct) {
    const double rounded = std::floor(maxNumAct + 0.5);
    return rounded > 0.0 ? saturatingCast<int32_t>(rounded) : 0;
}

GatherOutcome gatherDrawSettings(MyGaugeCDrawable& drawable, IDrawParameters* params, int32_t width,
                                 int32_t height, DrawSettings& settings) {
    // Presets: north up, centred in the drawing area, unit symbols.
    settings = DrawSettings{};
    settings.heading = 0.0;
    settings.centerX = static_cast<double>(width / 2);
    settings.centerY = static_cast<double>(height / 2);
    settings.symbolSize = 1.0;
    settings.fixedResolution = 0;
    settings.padSymbols = 0;
    settings.font = nullptr;
    settings.antiAlias = 1;

    // The kind's defaults. The radar's proximity range follows the maximum
    // range of the previous draw, as it stands before this draw reads it.
    drawable.getLimitDefaults(&settings.otherMinRAlt, &settings.otherAboveAlt,
                              &settings.otherBelowAlt, &settings.proximityRange,
                              &settings.proximityAboveAlt, &settings.proximityBelowAlt);
    drawable.getColourDefaults(&settings.otherColour, &settings.proximityColour, &settings.taColour,
                               &settings.raColour);
    drawable.getDetailDefaults(&settings.otherDetail, &settings.proximityDetail, &settings.taDetail,
                               &settings.raDetail);

    if (params == nullptr) {
        return GatherOutcome::NoParameters;
    }
    // The default centre is in device pixels; the parameters are gauge units.
    settings.centerX /= params->horizontalScale();
    settings.centerY /= params->verticalScale();

    const GaugeState* gauge = drawable.gaugeCallback();
    if (gauge == nullptr) {
        return GatherOutcome::NoGauge;
    }
    settings.range = gauge->range;
    settings.brightness = gauge->brightness;

    readReal(params, DrawParameterId::Range, &settings.range);
    readReal(params, DrawParameterId::Heading, &settings.heading);
    readInteger(params, DrawParameterId::Brightness, &settings.brightness);
    readInteger(params, DrawParameterId::OtherColour, &settings.otherColour);
    readInteger(params, DrawParameterId::ProximityColour, &settings.proximityColour);
    readInteger(params, DrawParameterId::TAColour, &settings.taColour);
    readInteger(params, DrawParameterId::RAColour, &settings.raColour);
    readInteger(params, DrawParameterId::AntiAlias, &settings.antiAlias);
    readReal(params, DrawParameterId::CenterX, &settings.centerX);
    readReal(params, DrawParameterId::CenterY, &settings.centerY);
    readReal(params, DrawParameterId::SymbolSize, &settings.symbolSize);
    readInteger(params, DrawParameterId::OtherDetail, &settings.otherDetail);
    readInteger(params, DrawParameterId::ProximityDetail, &settings.proximityDetail);
    readInteger(params, DrawParameterId::TADetail, &settings.taDetail);
    readInteger(params, DrawParameterId::RADetail, &settings.raDetail);
    readInteger(params, DrawParameterId::FixedResolution, &settings.fixedResolution);
    readInteger(params, DrawParameterId::PadSymbols, &settings.padSymbols);
    params->readString(idOf(DrawParameterId::Font), &settings.font);
    readReal(params, DrawParameterId::MaxRange, &drawable.maxRange_);
    readReal(params, DrawParameterId::MaxNumAct, &drawable.maxNumAct_);
    readReal(params, DrawParameterId::OtherMinRAlt, &settings.otherMinRAlt);
    readReal(params, DrawParameterId::OtherAboveAlt, &settings.otherAboveAlt);
    readReal(params, DrawParameterId::OtherBelowAlt, &settings.otherBelowAlt);
    readReal(params, DrawParameterId::ProximityRange, &settings.proximityRange);
    readReal(params, DrawParameterId::ProximityAboveAlt, &settings.proximityAboveAlt);
    readReal(params, DrawParameterId::ProximityBelowAlt, &settings.proximityBelowAlt);

    // The symbol limit follows the request count just read, unless the gauge
    // sets its own.
    settings.maxDisplayed = displayedAircraftCount(drawable.maxNumAct_);
    readInteger(params, DrawParameterId::MaxDispNumAct, &settings.maxDisplayed);
    return GatherOutcome::Complete;
}

}  // namespace cs
