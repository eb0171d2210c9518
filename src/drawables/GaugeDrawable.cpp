#include "drawables/GaugeDrawable.h"

#include "drawables/GaugeState.h"
#include "drawables/ToolTip.h"
#include "host/ImportTable.h"
#include "render/GdiPlusRadar.h"

namespace cs {

MyGaugeCDrawable::MyGaugeCDrawable(GaugeState* gaugeCallback) : gaugeCallback_(gaugeCallback) {
    maxNumAct_ = 100.0;
    maxRange_ = 72.0;
    renderer_ = nullptr;
    lastRange_ = 0.0;
    lastBrightness_ = 255;
    redrawPending_ = 0;
    // The tick count at creation is where the pacing of traffic cycles starts.
    tickVar_ = HostVariableRecord{};
    tickVar_.token = kTickCounterToken;
    refreshTickVar();
    tickVar_.previousValue = tickVar_.value;
    refCount_ = 1;
    if (gaugeCallback_ != nullptr) {
        nextInGauge = gaugeCallback_->drawables;
        gaugeCallback_->drawables = this;
    }
}

MyGaugeCDrawable::~MyGaugeCDrawable() {
    // The renderer goes first, with its traffic source and drawing state.
    delete renderer_;
    renderer_ = nullptr;
    if (gaugeCallback_ == nullptr) {
        return;
    }
    for (MyGaugeCDrawable** link = &gaugeCallback_->drawables; *link != nullptr;
         link = &(*link)->nextInGauge) {
        if (*link == this) {
            *link = nextInGauge;
            nextInGauge = nullptr;
            break;
        }
    }
    gaugeCallback_ = nullptr;
}

void detachDrawables(GaugeState& gauge) {
    MyGaugeCDrawable* drawable = gauge.drawables;
    gauge.drawables = nullptr;
    while (drawable != nullptr) {
        MyGaugeCDrawable* next = drawable->nextInGauge;
        drawable->nextInGauge = nullptr;
        drawable->gaugeCallback_ = nullptr;
        drawable = next;
    }
}

void MyGaugeCDrawable::refreshTickVar() {
    // Without a services table (the host has not handed one over) the
    // counter simply stays where it is.
    HostServices* services = hostServices();
    if (services != nullptr && services->refreshVariable != nullptr) {
        services->refreshVariable(&tickVar_);
    }
}

uint32_t MyGaugeCDrawable::flags() {
    return 1;  // draws through the device context the host lends
}

void MyGaugeCDrawable::update() {
    refreshTickVar();
    if (renderer_ == nullptr || gaugeCallback_ == nullptr) {
        return;
    }
    // However often the host calls, the traffic cycle (the expensive step)
    // runs only once the counter has moved on by a full period. A counter
    // that went backwards waits until it passes the last run again.
    if (tickVar_.previousValue + kTicksPerTrafficCycle > tickVar_.value) {
        return;
    }
    redrawPending_ = 1;
    const GaugeState& gauge = *gaugeCallback_;
    renderer_->updateTraffic(requestedAircraftCount(maxNumAct_), maxRange_, gauge.timeSeparationTA,
                             gauge.timeSeparationRA, gauge.distSeparationTA, gauge.distSeparationRA,
                             gauge.altSeparationTA, gauge.altSeparationRA);
    tickVar_.previousValue = tickVar_.value;
}

void MyGaugeCDrawable::ignoredSlot4(uint32_t /*argument*/) {}

void MyGaugeCDrawable::handOver(const DrawSettings& settings, IDrawParameters* params,
                                int32_t width, int32_t height) {
    renderer_->setMousePosition(gaugeCallback_->mouseRelPosX, gaugeCallback_->mouseRelPosY);
    renderer_->setLevelColours(settings.brightness, settings.otherColour, settings.proximityColour,
                               settings.taColour, settings.raColour);
    renderer_->setDisplayOptions(settings.font, settings.otherDetail, settings.proximityDetail,
                                 settings.taDetail, settings.raDetail, settings.padSymbols,
                                 settings.maxDisplayed);
    renderer_->setGeometry(static_cast<double>(width), static_cast<double>(height),
                           params->horizontalScale(), params->verticalScale(), settings.centerX,
                           settings.centerY, settings.range, settings.fixedResolution,
                           settings.symbolSize);
    renderer_->setDisplayThresholds(settings.otherMinRAlt, settings.otherAboveAlt,
                                    settings.otherBelowAlt, settings.proximityRange,
                                    settings.proximityAboveAlt, settings.proximityBelowAlt);
}

bool MyGaugeCDrawable::draw(IDrawParameters* params, int32_t width, int32_t height,
                            DeviceContext dc, void* /*image*/) {
    DrawSettings settings;
    if (gatherDrawSettings(*this, params, width, height, settings) != GatherOutcome::Complete) {
        return false;
    }

    // A frame is due after a traffic cycle, or when range or brightness
    // changed; the negated comparison counts a range that is not a number as
    // changed.
    bool redraw = redrawPending_ != 0;
    if (settings.brightness != lastBrightness_) {
        redraw = true;
    }
    if (!(settings.range == lastRange_)) {
        redraw = true;
    }
    lastBrightness_ = settings.brightness;
    lastRange_ = settings.range;

    if (renderer_ == nullptr) {
        return false;
    }
    handOver(settings, params, width, height);
    if (!redraw) {
        return false;
    }
    redrawPending_ = 0;
    const bool drawn = renderer_->drawFrame(dc, settings.antiAlias, settings.heading);
    updateToolTip(*gaugeCallback_, renderer_->hoverTarget());
    copyAdvisory(*gaugeCallback_, renderer_->advisoryRecord());
    return drawn;
}

bool MyGaugeCDrawable::setupDraw(int32_t /*width*/, int32_t /*height*/, DeviceContext /*dc*/,
                                 void* /*image*/) {
    return false;
}

bool MyGaugeCDrawable::getDraw(IDrawParameters* /*params*/) {
    return false;
}

}  // namespace cs
