// Every number a scenario file may hold, with its limits and the words of
// its messages ("{min}" and "{max}" stand for the limits), and the other
// limits of the format. docs/scenario-format.md describes the same fields.
#pragma once

#include <cstddef>

#include "tools/scenario/JsonFields.h"

namespace cs::preview::fields {

// Limits shared by several fields.
constexpr double kMaxDurationS = 3600.0;
constexpr double kMaxRatePerSecond = 1000.0;
constexpr double kMinSizePx = 16.0, kMaxSizePx = 2048.0;
constexpr double kMinAltitudeFt = -2000.0, kMaxAltitudeFt = 100000.0;
constexpr double kMaxSpeedKt = 2000.0;
constexpr double kMaxVerticalSpeedFpm = 30000.0;
constexpr double kMaxDistanceNm = 5000.0;
constexpr double kMaxMouseFraction = 10.0;  // the mouse may leave the drawing area

// Texts: at most this many bytes.
constexpr size_t kMaxNameLength = 64;
constexpr size_t kMaxTitleLength = 200;
constexpr size_t kMaxExpectLength = 1000;
constexpr size_t kMaxWordLength = 32;  // "mode"
constexpr size_t kMaxKindLength = 16;  // a display's "kind"
constexpr size_t kMaxAtcIdLength = 32;

constexpr size_t kMaxTraffic = 2000;

// The top level.
constexpr NumberField kDuration{.key = "duration",
                                .written = Written::Time,
                                .min = 1.0,
                                .max = kMaxDurationS,
                                .allowed = "a time from {min} to {max} s",
                                .missing = "a time such as \"90 s\""};
constexpr NumberField kTicksPerSecond{
    .key = "ticksPerSecond",
    .written = Written::Number,
    .min = 1.0,
    .max = kMaxRatePerSecond,
    .allowed = "from {min} to {max} ticks per second (the simulator counts 18)",
    .kind = "a number of ticks"};
constexpr NumberField kCallsPerSecond{
    .key = "callsPerSecond",
    .written = Written::Number,
    .min = 1.0,
    .max = kMaxRatePerSecond,
    .allowed = "from {min} to {max} update and draw calls per second",
    .kind = "a number of calls"};
constexpr NumberField kFrameInterval{
    .key = "frameInterval",
    .written = Written::Time,
    .min = 0.0,
    .max = kMaxDurationS,
    .allowed = "a time from {min} (every traffic cycle) to {max} s"};
constexpr NumberField kWidth{.key = "width",
                             .written = Written::WholeNumber,
                             .min = kMinSizePx,
                             .max = kMaxSizePx,
                             .allowed = "a width from {min} to {max} pixels"};
constexpr NumberField kHeight{.key = "height",
                              .written = Written::WholeNumber,
                              .min = kMinSizePx,
                              .max = kMaxSizePx,
                              .allowed = "a height from {min} to {max} pixels"};
constexpr NumberField kHostScale{.key = "hostScale",
                                 .written = Written::Number,
                                 .min = 0.125,
                                 .max = 16.0,
                                 .allowed = "from {min} to {max} device pixels per gauge unit",
                                 .kind = "a scale factor"};

// Mouse keys.
constexpr NumberField kMouseAt{.key = "at",
                               .written = Written::Time,
                               .min = -kUnlimited,
                               .max = kUnlimited,
                               .missing = "a time such as \"10 s\""};
constexpr NumberField kMouseX{.key = "x",
                              .written = Written::Number,
                              .min = -kMaxMouseFraction,
                              .max = kMaxMouseFraction,
                              .allowed = "a fraction of the width (0 left edge, 1 right edge)",
                              .kind = "a fraction of the width",
                              .missing = "a fraction of the width"};
constexpr NumberField kMouseY{.key = "y",
                              .written = Written::Number,
                              .min = -kMaxMouseFraction,
                              .max = kMaxMouseFraction,
                              .allowed = "a fraction of the height (0 top edge, 1 bottom edge)",
                              .kind = "a fraction of the height",
                              .missing = "a fraction of the height"};

// Aircraft.
constexpr NumberField kId{.key = "id",
                          .written = Written::WholeNumber,
                          .min = 1.0,
                          .max = 2147483647.0,
                          .allowed = "an id from {min} to {max}",
                          .missing = "a whole number from {min} to {max}"};
constexpr NumberField kLatitude{.key = "latitude",
                                .written = Written::Number,
                                .min = -90.0,
                                .max = 90.0,
                                .allowed = "a latitude from {min} to {max} degrees",
                                .kind = "a latitude in degrees",
                                .missing = "degrees north, {min} to {max}"};
constexpr NumberField kLongitude{.key = "longitude",
                                 .written = Written::Number,
                                 .min = -180.0,
                                 .max = 180.0,
                                 .allowed = "a longitude from {min} to {max} degrees",
                                 .kind = "a longitude in degrees",
                                 .missing = "degrees east, {min} to {max}"};
constexpr NumberField kDistance{.key = "distance",
                                .written = Written::Distance,
                                .min = 0.0,
                                .max = kMaxDistanceNm,
                                .allowed = "a distance from {min} to {max} nm",
                                .missing = "a distance such as \"8 nm\""};
constexpr NumberField kAltitude{.key = "altitude",
                                .written = Written::Altitude,
                                .min = kMinAltitudeFt,
                                .max = kMaxAltitudeFt,
                                .allowed = "an altitude from {min} to {max} ft",
                                .missing = "an altitude such as \"10000 ft\""};
constexpr NumberField kTrafficAltitude = requiredAs(
    kAltitude, "an altitude such as \"10000 ft\", or \"relativeAltitude\" such as \"-1500 ft\"");
constexpr NumberField kRelativeAltitude{.key = "relativeAltitude",
                                        .written = Written::Altitude,
                                        .min = -kMaxAltitudeFt,
                                        .max = kMaxAltitudeFt,
                                        .allowed = "an offset within +-{max} ft"};
constexpr NumberField kRadioAltitude{.key = "radioAltitude",
                                     .written = Written::Altitude,
                                     .min = 0.0,
                                     .max = kMaxAltitudeFt,
                                     .allowed = "a height above ground from {min} to {max} ft"};
constexpr NumberField kGroundSpeed{.key = "groundSpeed",
                                   .written = Written::Speed,
                                   .min = 0.0,
                                   .max = kMaxSpeedKt,
                                   .allowed = "a ground speed from {min} to {max} kt"};
constexpr NumberField kVelocityNorth{.key = "velocityNorth",
                                     .written = Written::Speed,
                                     .min = -kMaxSpeedKt,
                                     .max = kMaxSpeedKt,
                                     .allowed = "a velocity within +-{max} kt"};
constexpr NumberField kVelocityEast{.key = "velocityEast",
                                    .written = Written::Speed,
                                    .min = -kMaxSpeedKt,
                                    .max = kMaxSpeedKt,
                                    .allowed = "a velocity within +-{max} kt"};
constexpr NumberField kVerticalSpeed{.key = "verticalSpeed",
                                     .written = Written::VerticalSpeed,
                                     .min = -kMaxVerticalSpeedFpm,
                                     .max = kMaxVerticalSpeedFpm,
                                     .allowed = "a vertical speed within +-{max} fpm",
                                     .missing = "a vertical speed"};
// A vertical-speed change: its time.
constexpr NumberField kChangeAt{.key = "at",
                                .written = Written::Time,
                                .min = 0.0,
                                .max = kMaxDurationS,
                                .allowed = "a time from {min} to {max} s",
                                .missing = "a time such as \"30 s\""};

// Angles are degrees true, from 0 to 360.
constexpr NumberField angleField(const char* key, const char* missing = nullptr) {
    return {.key = key,
            .written = Written::Angle,
            .min = 0.0,
            .max = 360.0,
            .allowed = "an angle from {min} to {max} degrees",
            .missing = missing};
}
constexpr NumberField kTrack = angleField("track");
constexpr NumberField kHeading = angleField("heading");
constexpr NumberField kBearing = angleField("bearing", "degrees true such as 90");

}  // namespace cs::preview::fields
