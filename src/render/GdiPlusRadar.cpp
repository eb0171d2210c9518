#include "render/GdiPlusRadar.h"

#include <cfloat>
#include <cmath>
#include <new>

#include "render/SurfaceObjects.h"
#include "render/SymbolText.h"

namespace cs {

namespace {

constexpr Argb kBackgroundColour = 0xFF000000u;

// Threat level to the index of its colour and detail word; -1 when the level
// is never displayed (Hidden and anything out of range).
int levelIndex(ThreatLevel level) {
    if (level < threat::Other || level > threat::RA) {
        return -1;
    }
    return level - threat::Other;
}

bool withinLimit(float value, float limit) {
    return std::isfinite(value) && std::fabs(value) <= limit;
}

}  // namespace

float narrowToFloat(double value) {
    if (std::isnan(value)) {
        return NAN;
    }
    if (value > static_cast<double>(FLT_MAX)) {
        return INFINITY;
    }
    if (value < -static_cast<double>(FLT_MAX)) {
        return -INFINITY;
    }
    return static_cast<float>(value);
}

GdiPlusRadar::GdiPlusRadar() : backend_(activeDrawingBackend()) {
    widenNarrow("Arial", kFontNameCapacity - 1, fontName_, kFontNameCapacity);
    trafficData_ = new (std::nothrow) TrafficData();
    gdiplusToken_ = backend_.startup();
}

GdiPlusRadar::~GdiPlusRadar() {
    delete trafficData_;
    trafficData_ = nullptr;
    if (graphics_ != nullptr) {
        backend_.deleteContext(graphics_);
        graphics_ = nullptr;
    }
    if (gdiplusToken_ != 0) {
        backend_.shutdown(gdiplusToken_);
    }
}

void GdiPlusRadar::setMousePosition(double relX, double relY) {
    mouseRelX_ = relX;
    mouseRelY_ = relY;
}

void GdiPlusRadar::setLevelColours(int32_t brightness, int32_t other, int32_t proximity, int32_t ta,
                                   int32_t ra) {
    levelColours_[0] = scaleColour(brightness, other);
    levelColours_[1] = scaleColour(brightness, proximity);
    levelColours_[2] = scaleColour(brightness, ta);
    levelColours_[3] = scaleColour(brightness, ra);
}

void GdiPlusRadar::setDisplayOptions(const char* font, int32_t otherDetail, int32_t proximityDetail,
                                     int32_t taDetail, int32_t raDetail, int32_t padSymbols,
                                     int32_t maxDisplayed) {
    if (font != nullptr) {
        // A longer name is cut to what the buffer holds.
        widenNarrow(font, kFontNameCapacity - 1, fontName_, kFontNameCapacity);
    }
    levelDetails_[0] = otherDetail;
    levelDetails_[1] = proximityDetail;
    levelDetails_[2] = taDetail;
    levelDetails_[3] = raDetail;
    padSymbols_ = padSymbols;
    maxDisplayed_ = maxDisplayed;
}

void GdiPlusRadar::setGeometry(double widthPx, double heightPx, double hostScaleX,
                               double hostScaleY, double centerX, double centerY, double range,
                               int32_t fixedResolution, double symbolSize) {
    if (fixedResolution != 0) {
        // World units are device pixels: the centre moves to its pixel.
        translateX_ = narrowToFloat(hostScaleX * centerX);
        translateY_ = narrowToFloat(hostScaleY * centerY);
        scaleX_ = 1.0f;
        scaleY_ = 1.0f;
        viewWidth_ = narrowToFloat(widthPx);
        viewHeight_ = narrowToFloat(heightPx);
    } else {
        // World units are gauge units, scaled to the device by the host.
        scaleX_ = narrowToFloat(hostScaleX);
        scaleY_ = narrowToFloat(hostScaleY);
        viewWidth_ = narrowToFloat(widthPx / hostScaleX);
        viewHeight_ = narrowToFloat(heightPx / hostScaleY);
        translateX_ = narrowToFloat(centerX);
        translateY_ = narrowToFloat(centerY);
    }
    // "Range" spans half the shorter side. A zero range or an empty area
    // gives a zero or infinite scale here; positions derived from it are
    // rejected before they reach the drawing backend.
    const float shorter = viewWidth_ < viewHeight_ ? viewWidth_ : viewHeight_;
    nmPerUnit_ = static_cast<double>(2.0f * narrowToFloat(range) / shorter);
    symbolSize_ = narrowToFloat(symbolSize);
}

void GdiPlusRadar::setDisplayThresholds(double otherMinRAlt, double otherAboveAlt,
                                        double otherBelowAlt, double proximityRange,
                                        double proximityAboveAlt, double proximityBelowAlt) {
    if (trafficData_ != nullptr) {
        trafficData_->setDisplayThresholds(otherMinRAlt, otherAboveAlt, otherBelowAlt,
                                           proximityRange, proximityAboveAlt, proximityBelowAlt);
    }
}

void GdiPlusRadar::updateTraffic(uint32_t maxCount, double rangeNm, double timeSeparationTA,
                                 double timeSeparationRA, double distSeparationTA,
                                 double distSeparationRA, double altSeparationTA,
                                 double altSeparationRA) {
    if (trafficData_ != nullptr) {
        trafficData_->update(maxCount, rangeNm, timeSeparationTA, timeSeparationRA,
                             distSeparationTA, distSeparationRA, altSeparationTA, altSeparationRA);
    }
}

const TrafficRecord* GdiPlusRadar::advisoryRecord() const {
    return trafficData_ != nullptr ? &trafficData_->advisory() : nullptr;
}

bool GdiPlusRadar::frameGeometryUsable() const {
    return std::isfinite(scaleX_) && std::isfinite(scaleY_) && scaleX_ > 0.0f && scaleY_ > 0.0f &&
           scaleX_ <= kMaxWorldScale && scaleY_ <= kMaxWorldScale && std::isfinite(viewWidth_) &&
           std::isfinite(viewHeight_) && viewWidth_ > 0.0f && viewHeight_ > 0.0f &&
           viewWidth_ <= kMaxWorldCoordinate && viewHeight_ <= kMaxWorldCoordinate &&
           withinLimit(translateX_, kMaxWorldCoordinate) &&
           withinLimit(translateY_, kMaxWorldCoordinate);
}

bool GdiPlusRadar::drawFrame(DeviceContext dc, int32_t antiAlias, double heading) {
    SolidBrush black(backend_, kBackgroundColour);
    if (dc == nullptr) {
        return false;
    }
    if (!frameGeometryUsable()) {
        // An empty, negative or non-finite drawing area: nothing can be
        // placed in it, so no frame, and no stale pick survives either.
        hoverDistance_ = -1.0;
        hoverTarget_ = TrafficRecord{};
        return false;
    }
    if (graphics_ != nullptr) {
        backend_.deleteContext(graphics_);
        graphics_ = nullptr;
    }
    graphics_ = backend_.createContext(dc);
    if (graphics_ == nullptr) {
        return false;
    }
    graphics_->scaleWorldTransform(scaleX_, scaleY_);
    if (antiAlias != 0) {
        graphics_->setAntiAliasedShapes();
        graphics_->setAntiAliasedText();
    }
    // Filled before the translation, so it covers the whole drawing area.
    graphics_->fillRectangle(black.get(), RectF{0.0f, 0.0f, viewWidth_, viewHeight_});
    graphics_->translateWorldTransform(translateX_, translateY_);
    hoverDistance_ = -1.0;
    hoverTarget_ = TrafficRecord{};
    drawTraffic(heading);
    return true;
}

void GdiPlusRadar::drawTraffic(double heading) {
    if (trafficData_ == nullptr || trafficData_->records() == nullptr) {
        return;
    }
    const TrafficRecord* records = trafficData_->records();
    const int32_t count = trafficData_->recordCount();
    displayedCount_ = 0;
    lastDisplayedIndex_ = 0;
    // Index 0 is skipped: the snapshot cycle places the own aircraft there.
    // Pads go down first, for every counted aircraft, so no pad can cover a
    // symbol; then symbols in reverse order, so the earliest record is on top.
    for (int32_t i = 1; i < count; ++i) {
        prepareAircraft(i, heading, records[i]);
    }
    const int32_t last = lastDisplayedIndex_ < count - 1 ? lastDisplayedIndex_ : count - 1;
    for (int32_t i = last; i >= 1; --i) {
        paintAircraft(heading, records[i]);
    }
}

bool GdiPlusRadar::viewAircraft(double heading, const TrafficRecord& record,
                                AircraftView& view) const {
    const int index = levelIndex(record.threatLevel);
    if (index < 0) {
        return false;
    }
    view.word = levelDetails_[index];
    view.colour = levelColours_[index];
    // Geometry that would put infinite, undefined or absurdly large
    // coordinates into the drawing library (a zero range, a corrupt record, a
    // huge symbol size) takes the aircraft off the display instead; so does
    // an altitude difference that is not a number, whose tag has no value.
    if (!std::isfinite(symbolSize_) || std::fabs(symbolSize_) > kMaxSymbolSize ||
        std::isnan(record.altDiff)) {
        return false;
    }
    const double beta = (record.bearing - heading) / TrafficConstants::kDegreesPerRadian;
    view.x = narrowToFloat(std::sin(beta) * record.distance / nmPerUnit_);
    view.y = narrowToFloat(-std::cos(beta) * record.distance / nmPerUnit_);
    if (!withinLimit(view.x, kMaxWorldCoordinate) || !withinLimit(view.y, kMaxWorldCoordinate)) {
        return false;
    }
    formatAltitudeTag(altitudeHundreds(record.altDiff), view.altitudeTag, kSymbolTextCapacity);
    widenNarrow(record.atcId, kAtcIdLength, view.label, kSymbolTextCapacity);
    return true;
}

void GdiPlusRadar::prepareAircraft(int32_t index, double heading, const TrafficRecord& record) {
    AircraftView view;
    if (graphics_ == nullptr || !viewAircraft(heading, record, view)) {
        return;
    }
    if (view.word != 0 && displayedCount_ < maxDisplayed_) {
        ++displayedCount_;
        if (index > lastDisplayedIndex_) {
            lastDisplayedIndex_ = index;
        }
        if (padSymbols_ != 0) {
            drawPad(view.x, view.y, view.word, &record, view.altitudeTag, view.label);
        }
    }
}

void GdiPlusRadar::paintAircraft(double heading, const TrafficRecord& record) {
    AircraftView view;
    if (graphics_ == nullptr || !viewAircraft(heading, record, view)) {
        return;
    }
    if (view.word != 0) {
        drawSymbol(view.x, view.y, view.word, &record, heading, view.colour, view.altitudeTag,
                   view.label);
        hoverPick(view.x, view.y, record);
    }
}

void GdiPlusRadar::hoverPick(float x, float y, const TrafficRecord& record) {
    const double mx = viewWidth_ * mouseRelX_ - translateX_;
    const double my = viewHeight_ * mouseRelY_ - translateY_;
    const double dx = x - mx;
    const double dy = y - my;
    const double d = std::sqrt(dx * dx + dy * dy);
    // Strictly nearer only: of two symbols at the same distance the one
    // painted first keeps the pick.
    if (d <= 3.0 * symbolSize_ && (hoverDistance_ < 0.0 || d < hoverDistance_)) {
        hoverDistance_ = d;
        hoverTarget_ = record;
    }
}

}  // namespace cs
