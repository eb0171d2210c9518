// The renderer behind both traffic displays: owns the display's traffic
// source, takes the draw parameters, and paints one frame (black background,
// then the displayable traffic in two passes) while picking the painted
// aircraft nearest the mouse. The symbology is the subclass's.
#pragma once

#include <cstdint>

#include "host/DeviceContext.h"
#include "render/ColourScale.h"
#include "render/DrawingSurface.h"
#include "traffic/TrafficData.h"
#include "traffic/TrafficRecord.h"

namespace cs {

// Detail word of a threat level: which elements of a symbol are drawn.
namespace detail_flags {
constexpr int32_t Dot = 0x01;
constexpr int32_t Outline = 0x02;
constexpr int32_t Fill = 0x04;
constexpr int32_t AltitudeTag = 0x08;
constexpr int32_t Label = 0x10;
}  // namespace detail_flags

constexpr int kFontNameCapacity = 256;    // wide characters, terminator included
constexpr int kSymbolTextCapacity = 101;  // wide characters of a tag or label buffer

// Limits beyond which geometry is treated as unusable rather than handed to
// the drawing library: far larger than any display, small enough that every
// derived coordinate stays finite in single precision.
constexpr float kMaxWorldCoordinate = 1.0e6f;  // |x|, |y|, |translation|, view size
constexpr float kMaxSymbolSize = 1000.0f;      // world units
constexpr float kMaxWorldScale = 100.0f;       // device pixels per world unit

// Converts to single precision with IEEE overflow to infinity, without the
// undefined behaviour of an out-of-range conversion.
float narrowToFloat(double value);

class GdiPlusRadar {
  public:
    GdiPlusRadar();

    GdiPlusRadar(const GdiPlusRadar&) = delete;
    GdiPlusRadar& operator=(const GdiPlusRadar&) = delete;

    // The virtual table: drawSymbol, drawPad, then the destructor.
    // Draws one aircraft at world position (x, y).
    virtual void drawSymbol(float x, float y, int32_t flags, const TrafficRecord* record,
                            double heading, Argb colour, const wchar_t* altitudeTag,
                            const wchar_t* label) = 0;
    // Fills dark pads where drawSymbol with the same arguments will draw.
    virtual void drawPad(float x, float y, int32_t flags, const TrafficRecord* record,
                         const wchar_t* altitudeTag, const wchar_t* label) = 0;
    virtual ~GdiPlusRadar();

    void setMousePosition(double relX, double relY);
    void setLevelColours(int32_t brightness, int32_t other, int32_t proximity, int32_t ta,
                         int32_t ra);
    void setDisplayOptions(const char* font, int32_t otherDetail, int32_t proximityDetail,
                           int32_t taDetail, int32_t raDetail, int32_t padSymbols,
                           int32_t maxDisplayed);
    void setGeometry(double widthPx, double heightPx, double hostScaleX, double hostScaleY,
                     double centerX, double centerY, double range, int32_t fixedResolution,
                     double symbolSize);
    void setDisplayThresholds(double otherMinRAlt, double otherAboveAlt, double otherBelowAlt,
                              double proximityRange, double proximityAboveAlt,
                              double proximityBelowAlt);
    void updateTraffic(uint32_t maxCount, double rangeNm, double timeSeparationTA,
                       double timeSeparationRA, double distSeparationTA, double distSeparationRA,
                       double altSeparationTA, double altSeparationRA);

    // True when a frame was painted.
    bool drawFrame(DeviceContext dc, int32_t antiAlias, double heading);

    // The advisory of the traffic source, or null without one.
    const TrafficRecord* advisoryRecord() const;

    const TrafficRecord& hoverTarget() const { return hoverTarget_; }
    double hoverDistance() const { return hoverDistance_; }
    TrafficData* trafficData() { return trafficData_; }
    const TrafficData* trafficData() const { return trafficData_; }

    // Read access to the settings, for tests and tools.
    float symbolSize() const { return symbolSize_; }
    const wchar_t* fontName() const { return fontName_; }
    Argb levelColour(int index) const { return levelColours_[index]; }
    int32_t levelDetail(int index) const { return levelDetails_[index]; }
    int32_t padSymbols() const { return padSymbols_; }
    int32_t maxDisplayed() const { return maxDisplayed_; }
    int32_t displayedCount() const { return displayedCount_; }
    int32_t lastDisplayedIndex() const { return lastDisplayedIndex_; }
    double nmPerUnit() const { return nmPerUnit_; }
    float viewWidth() const { return viewWidth_; }
    float viewHeight() const { return viewHeight_; }
    float scaleX() const { return scaleX_; }
    float scaleY() const { return scaleY_; }
    float translateX() const { return translateX_; }
    float translateY() const { return translateY_; }
    double mouseRelX() const { return mouseRelX_; }
    double mouseRelY() const { return mouseRelY_; }

  protected:
    DrawingBackend& backend() const { return backend_; }
    DrawingContext* graphics() const { return graphics_; }

    // Texts and position of one aircraft as both passes compute them.
    struct AircraftView {
        float x;
        float y;
        int32_t word;
        Argb colour;
        wchar_t altitudeTag[kSymbolTextCapacity];
        wchar_t label[kSymbolTextCapacity];
    };

  private:
    void drawTraffic(double heading);
    void prepareAircraft(int32_t index, double heading, const TrafficRecord& record);
    void paintAircraft(double heading, const TrafficRecord& record);
    void hoverPick(float x, float y, const TrafficRecord& record);
    bool viewAircraft(double heading, const TrafficRecord& record, AircraftView& view) const;
    bool frameGeometryUsable() const;

    DrawingBackend& backend_;
    DrawingContext* graphics_ = nullptr;
    float symbolSize_ = 1.0f;
    wchar_t fontName_[kFontNameCapacity] = {};
    uintptr_t gdiplusToken_ = 0;
    double mouseRelX_ = 0.0;
    double mouseRelY_ = 0.0;
    double hoverDistance_ = -1.0;
    TrafficData* trafficData_ = nullptr;
    TrafficRecord hoverTarget_{};
    Argb levelColours_[4] = {0xFFF0F0F0u, 0xFF00FF00u, 0xFFFFFF00u, 0xFFFF0000u};
    int32_t levelDetails_[4] = {3, 3, 3, 3};
    int32_t padSymbols_ = 0;
    double nmPerUnit_ = 0.3;
    float viewWidth_ = 100.0f;
    float viewHeight_ = 100.0f;
    float scaleX_ = 1.0f;
    float scaleY_ = 1.0f;
    float translateX_ = 0.0f;
    float translateY_ = 0.0f;
    int32_t maxDisplayed_ = 100;
    int32_t displayedCount_ = 0;
    int32_t lastDisplayedIndex_ = 0;
};

}  // namespace cs
