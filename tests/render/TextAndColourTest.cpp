#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "render/ColourScale.h"
#include "render/SymbolText.h"

namespace cs {
namespace {

std::wstring tagFor(double altDiff) {
    wchar_t buffer[101];
    formatAltitudeTag(altitudeHundreds(altDiff), buffer, 101);
    return buffer;
}

struct TagCase {
    double altDiff;
    const wchar_t* tag;
};

TEST(AltitudeTag, RoundsHalfUpToHundredsWithSignAndTwoDigits) {
    const TagCase cases[] = {
        {480.0, L"+05"},   {150.0, L"+02"},    {-49.0, L"+00"},  {-51.0, L"-01"},
        {-150.0, L"-01"},  {12345.0, L"+123"}, {0.0, L"+00"},    {-1234.0, L"-12"},
        {-1200.0, L"-12"}, {250.0, L"+03"},    {-250.0, L"-02"}, {49.99, L"+00"},
        {50.0, L"+01"},    {-50.0, L"+00"},    {-50.01, L"-01"}, {99999.0, L"+1000"},
        {-40.0, L"+00"},   {-60.0, L"-01"},    {500.0, L"+05"},  {-0.0, L"+00"},
    };
    for (const TagCase& c : cases) {
        EXPECT_EQ(tagFor(c.altDiff), c.tag) << "altDiff " << c.altDiff;
    }
}

TEST(AltitudeTag, ConversionIsDefinedForValuesBeyondAnyInteger) {
    EXPECT_EQ(altitudeHundreds(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(altitudeHundreds(std::numeric_limits<double>::infinity()), INT32_MAX);
    EXPECT_EQ(altitudeHundreds(-std::numeric_limits<double>::infinity()), INT32_MIN);
    EXPECT_EQ(altitudeHundreds(1e300), INT32_MAX);
    EXPECT_EQ(altitudeHundreds(-1e300), INT32_MIN);
    EXPECT_EQ(altitudeHundreds(214748364700.0), INT32_MAX);
    EXPECT_EQ(tagFor(-1e300), L"-2147483648");
    EXPECT_EQ(tagFor(1e300), L"+2147483647");
}

TEST(AltitudeTag, IsCutToTheBufferAndStaysTerminated) {
    wchar_t small[3] = {L'x', L'x', L'x'};
    formatAltitudeTag(-12, small, 3);
    EXPECT_EQ(std::wstring(small), L"-1");
    wchar_t one[1] = {L'x'};
    formatAltitudeTag(5, one, 1);
    EXPECT_EQ(one[0], L'\0');
}

TEST(Widening, MapsEveryByteToTheCharacterOfTheSameValue) {
    wchar_t out[16];
    widenNarrow(
        "N\xE9"
        "9\x80Z",
        15, out, 16);
    EXPECT_EQ(std::wstring(out), std::wstring(L"N\u00E99\u0080Z"));
}

TEST(Widening, IsBoundedByTheCountAndTheBuffer) {
    wchar_t out[8];
    widenNarrow("ABCDEFGHIJKL", 5, out, 8);
    EXPECT_EQ(std::wstring(out), L"ABCDE");
    widenNarrow("ABCDEFGHIJKL", 100, out, 8);
    EXPECT_EQ(std::wstring(out), L"ABCDEFG");
    widenNarrow(nullptr, 5, out, 8);
    EXPECT_EQ(std::wstring(out), L"");
    // A source without terminator within the count is read no further.
    const char unterminated[4] = {'W', 'X', 'Y', 'Z'};
    widenNarrow(unterminated, 4, out, 8);
    EXPECT_EQ(std::wstring(out), L"WXYZ");
}

struct ColourCase {
    int32_t brightness;
    int32_t colour;
    Argb expected;
};

TEST(ScaleColour, DimsEachChannelTruncatingAndClampsBrightness) {
    const ColourCase cases[] = {
        {128, 0xFFFF00, 0xFF808000u},
        {255, 0xF0F0F0, 0xFFF0F0F0u},
        {300, 0xFFFF00, 0xFFFFFF00u},
        {-5, 0xFF0000, 0xFF000000u},
        {0, 0xFFFFFF, 0xFF000000u},
        {255, 0x12FFFFFF, 0xFFFFFFFFu},
        {255, static_cast<int32_t>(0x80000000u), 0xFF000000u},
        {100, 0x123456, 0xFF071421u},  // 18, 52, 86 -> 7, 20, 33
        {1, 0xFFFFFF, 0xFF010101u},
        {254, 0x010101, 0xFF000000u},  // 0.996 truncates to 0
        {INT32_MAX, 0x00FF00, 0xFF00FF00u},
        {INT32_MIN, 0x00FF00, 0xFF000000u},
    };
    for (const ColourCase& c : cases) {
        EXPECT_EQ(scaleColour(c.brightness, c.colour), c.expected)
            << std::hex << c.colour << " at " << std::dec << c.brightness;
    }
}

}  // namespace
}  // namespace cs
