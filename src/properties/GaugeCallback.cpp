#include "properties/GaugeCallback.h"

#include "drawables/DrawableFactory.h"
#include "drawables/GaugeDrawable.h"
#include "host/Saturate.h"
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

bool MyGaugeCCallback::getTextProperty(int32_t id, const char** text) {
    if (text == nullptr) {
        return false;
    }
    switch (id) {
        case property::ToolTip:
            *text = toolTipText;
            return true;
        case property::ToolTipId:
            *text = toolTipTarget.atcId;
            return true;
        case property::AdvisoryId:
            *text = advisoryTarget.atcId;
            return true;
        default:
            return false;
    }
}

bool MyGaugeCCallback::getNumberProperty(int32_t id, double* value) {
    if (value == nullptr) {
        return false;
    }
    double result = 0.0;
    switch (id) {
        case property::Range:
            result = range;
            break;
        case property::Brightness:
            result = brightness;
            break;
        case property::MouseRelPosX:
            result = mouseRelPosX;
            break;
        case property::MouseRelPosY:
            result = mouseRelPosY;
            break;
        case property::Advisory:
            result = advisoryTarget.threatLevel;
            break;
        case property::TimeSeparationTA:
            result = timeSeparationTA;
            break;
        case property::TimeSeparationRA:
            result = timeSeparationRA;
            break;
        case property::DistSeparationTA:
            result = distSeparationTA;
            break;
        case property::DistSeparationRA:
            result = distSeparationRA;
            break;
        case property::AltSeparationTA:
            result = altSeparationTA;
            break;
        case property::AltSeparationRA:
            result = altSeparationRA;
            break;
        case property::ToolTipAlt:
            result = toolTipTarget.altitude;
            break;
        case property::ToolTipDist:
            result = toolTipTarget.distance;
            break;
        case property::ToolTipBrg:
            result = toolTipTarget.bearing;
            break;
        case property::ToolTipAltDiff:
            result = toolTipTarget.altDiff;
            break;
        case property::ToolTipTrackAngle:
            result = toolTipTarget.trackAngle;
            break;
        case property::ToolTipGroundSpeed:
            result = toolTipTarget.groundSpeed;
            break;
        case property::AdvisoryAlt:
            result = advisoryTarget.altitude;
            break;
        case property::AdvisoryDist:
            result = advisoryTarget.distance;
            break;
        case property::AdvisoryBrg:
            result = advisoryTarget.bearing;
            break;
        case property::AdvisoryAltDiff:
            result = advisoryTarget.altDiff;
            break;
        case property::AdvisoryTrackAngle:
            result = advisoryTarget.trackAngle;
            break;
        case property::AdvisoryGroundSpeed:
            result = advisoryTarget.groundSpeed;
            break;
        case property::ToolTipRadAlt:
            result = toolTipTarget.radAlt;
            break;
        case property::AdvisoryRadAlt:
            result = advisoryTarget.radAlt;
            break;
        default:
            return false;
    }
    *value = result;
    return true;
}

bool MyGaugeCCallback::setTextProperty(int32_t /*id*/, const char* /*text*/) {
    return false;  // every text is published by the displays, none is written by gauges
}

bool MyGaugeCCallback::setNumberProperty(int32_t id, double value) {
    switch (id) {
        case property::Range:
            range = value;
            return true;
        case property::Brightness:
            // Kept as a 32-bit integer; the drawables clamp it to 0-255
            // where they apply it.
            brightness = saturatingCast<int32_t>(value);
            return true;
        case property::MouseRelPosX:
            mouseRelPosX = value;
            return true;
        case property::MouseRelPosY:
            mouseRelPosY = value;
            return true;
        case property::TimeSeparationTA:
            timeSeparationTA = value;
            return true;
        case property::TimeSeparationRA:
            timeSeparationRA = value;
            return true;
        case property::DistSeparationTA:
            distSeparationTA = value;
            return true;
        case property::DistSeparationRA:
            distSeparationRA = value;
            return true;
        case property::AltSeparationTA:
            altSeparationTA = value;
            return true;
        case property::AltSeparationRA:
            altSeparationRA = value;
            return true;
        default:
            return false;
    }
}

IGaugeCDrawable* MyGaugeCCallback::createDrawable(int32_t id, IDrawableCreateParameters* params) {
    return createGaugeDrawable(id, this, params);
}

}  // namespace cs
