// The property catalogue as the host reaches it through the two registered
// panel callbacks, and the case-insensitive name comparison beneath it.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <memory>
#include <string>

#include "properties/NameCompare.h"
#include "properties/PanelCallback.h"
#include "properties/PropertyCatalogue.h"

namespace cs {
namespace {

struct Entry {
    int32_t id;
    const char* name;
    int32_t kind;
};

constexpr Entry kCatalogue[] = {
    {0, "radar", -1},
    {1, "tcas", -1},
    {2, "range", -1},
    {3, "brightness", -1},
    {4, "mouseRelPosX", -1},
    {5, "mouseRelPosY", -1},
    {6, "toolTip", -2},
    {7, "advisory", -1},
    {8, "timeSeparationTA", -1},
    {9, "timeSeparationRA", -1},
    {10, "distSeparationTA", -1},
    {11, "distSeparationRA", -1},
    {12, "altSeparationTA", -1},
    {13, "altSeparationRA", -1},
    {14, "toolTipId", -2},
    {15, "toolTipAlt", -1},
    {16, "toolTipDist", -1},
    {17, "toolTipBrg", -1},
    {18, "toolTipAltDiff", -1},
    {19, "toolTipTrackAngle", -1},
    {20, "toolTipGroundSpeed", -1},
    {21, "advisoryId", -2},
    {22, "advisoryAlt", -1},
    {23, "advisoryDist", -1},
    {24, "advisoryBrg", -1},
    {25, "advisoryAltDiff", -1},
    {26, "advisoryTrackAngle", -1},
    {27, "advisoryGroundSpeed", -1},
    {28, "toolTipRadAlt", -1},
    {29, "advisoryRadAlt", -1},
};

std::string upper(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return s;
}
std::string lower(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}
std::string alternating(std::string s) {
    for (size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        s[i] = static_cast<char>(i % 2 == 0 ? std::toupper(c) : std::tolower(c));
    }
    return s;
}

struct PanelDeleter {
    void operator()(IPanelCCallback* panel) const { EXPECT_EQ(panel->release(), 0u); }
};
using PanelPtr = std::unique_ptr<IPanelCCallback, PanelDeleter>;

class Catalogue : public ::testing::TestWithParam<Entry> {
  protected:
    PanelPtr va9vedored{createPanelCallback(kVariantVa9vedored)};
    PanelPtr contactScope{createPanelCallback(kVariantContactScope)};
};

TEST_P(Catalogue, IdToNameAndValueKindDoNotDependOnTheRegistration) {
    const Entry& e = GetParam();
    for (IPanelCCallback* panel : {va9vedored.get(), contactScope.get()}) {
        char buffer[kPropertyNameCapacity + 4];
        std::memset(buffer, 'x', sizeof buffer);
        char* target = buffer;
        ASSERT_TRUE(panel->propertyIdToName(e.id, &target));
        EXPECT_STREQ(buffer, e.name);
        EXPECT_EQ(buffer[std::strlen(e.name) + 1], 'x');  // nothing beyond the terminator
        EXPECT_EQ(target, buffer);

        int32_t kind = 99;
        EXPECT_TRUE(panel->propertyValueKind(e.id, &kind));
        EXPECT_EQ(kind, e.kind);
    }
}

TEST_P(Catalogue, NameToIdInAnyCase) {
    const Entry& e = GetParam();
    for (const std::string& name :
         {std::string(e.name), upper(e.name), lower(e.name), alternating(e.name)}) {
        SCOPED_TRACE(name);
        int32_t id = -7;
        ASSERT_TRUE(va9vedored->propertyNameToId(name.c_str(), &id));
        EXPECT_EQ(id, e.id);

        // The other registration reaches only the radar display, by "TCAS".
        id = -7;
        const bool found = contactScope->propertyNameToId(name.c_str(), &id);
        if (e.id == property::Radar) {
            EXPECT_FALSE(found);
            EXPECT_EQ(id, -7);
        } else if (e.id == property::Tcas) {
            EXPECT_TRUE(found);
            EXPECT_EQ(id, property::Radar);
        } else {
            EXPECT_TRUE(found);
            EXPECT_EQ(id, e.id);
        }
    }
}

TEST_P(Catalogue, NearMissesAreNotNames) {
    const Entry& e = GetParam();
    const std::string base(e.name);
    for (const std::string& name :
         {base + "x", base + " ", base.substr(0, base.size() - 1), " " + base}) {
        SCOPED_TRACE(name);
        for (IPanelCCallback* panel : {va9vedored.get(), contactScope.get()}) {
            int32_t id = -7;
            EXPECT_FALSE(panel->propertyNameToId(name.c_str(), &id));
            EXPECT_EQ(id, -7);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllIds, Catalogue, ::testing::ValuesIn(kCatalogue));

// The columns of the module's table agree: a display has no field, every other
// property is read as its kind, and only the writable ones, all numbers, have
// a writer.
TEST(CatalogueTable, AccessKindAndFieldAgree) {
    for (const PropertyEntry& entry : kProperties) {
        SCOPED_TRACE(entry.name);
        const bool text = entry.kind == kValueKindText;
        const bool display = entry.access == PropertyAccess::Display;
        EXPECT_EQ(entry.field.readText != nullptr, text && !display);
        EXPECT_EQ(entry.field.readNumber != nullptr, !text && !display);
        EXPECT_EQ(entry.field.writeNumber != nullptr, entry.access == PropertyAccess::ReadWrite);
        EXPECT_FALSE(text && entry.field.writeNumber != nullptr);
    }
}

class CatalogueEdges : public ::testing::Test {
  protected:
    PanelPtr va9vedored{createPanelCallback(kVariantVa9vedored)};
    PanelPtr contactScope{createPanelCallback(kVariantContactScope)};
};

TEST_F(CatalogueEdges, SecondNamesWorkInBothRegistrations) {
    const struct {
        const char* name;
        int32_t id;
    } cases[] = {{"TCASRange", 2},      {"tcasrange", 2},      {"TCASRANGE", 2},
                 {"tCaSrAnGe", 2},      {"RANGE", 2},          {"TCASBrightness", 3},
                 {"tcasbrightness", 3}, {"TCASBRIGHTNESS", 3}, {"Brightness", 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (IPanelCCallback* panel : {va9vedored.get(), contactScope.get()}) {
            int32_t id = -7;
            ASSERT_TRUE(panel->propertyNameToId(c.name, &id));
            EXPECT_EQ(id, c.id);
        }
    }
}

TEST_F(CatalogueEdges, DisplayNamesPerRegistration) {
    int32_t id = -7;
    EXPECT_TRUE(va9vedored->propertyNameToId("TCAS", &id));
    EXPECT_EQ(id, 1);
    EXPECT_TRUE(va9vedored->propertyNameToId("Radar", &id));
    EXPECT_EQ(id, 0);
    EXPECT_TRUE(contactScope->propertyNameToId("tcas", &id));
    EXPECT_EQ(id, 0);
    id = -7;
    EXPECT_FALSE(contactScope->propertyNameToId("RADAR", &id));
    EXPECT_EQ(id, -7);
}

TEST_F(CatalogueEdges, NullAndEmptyNamesAndAddresses) {
    for (IPanelCCallback* panel : {va9vedored.get(), contactScope.get()}) {
        int32_t id = -7;
        EXPECT_FALSE(panel->propertyNameToId("", &id));
        EXPECT_FALSE(panel->propertyNameToId(nullptr, &id));
        EXPECT_EQ(id, -7);
        EXPECT_FALSE(panel->propertyNameToId("range", nullptr));
        EXPECT_FALSE(panel->propertyIdToName(2, nullptr));
        EXPECT_FALSE(panel->propertyValueKind(2, nullptr));

        // An out-argument holding no buffer is refused, not written through.
        char* noBuffer = nullptr;
        EXPECT_FALSE(panel->propertyIdToName(2, &noBuffer));
        EXPECT_EQ(noBuffer, nullptr);
    }
}

TEST_F(CatalogueEdges, IdsOutsideTheCatalogueAreRefused) {
    for (int32_t bad : {30, 31, -1, -30, INT32_MIN, INT32_MAX}) {
        SCOPED_TRACE(bad);
        char buffer[kPropertyNameCapacity];
        std::memset(buffer, 'x', sizeof buffer);
        char* target = buffer;
        EXPECT_FALSE(va9vedored->propertyIdToName(bad, &target));
        EXPECT_EQ(buffer[0], 'x');

        int32_t kind = 99;
        EXPECT_FALSE(va9vedored->propertyValueKind(bad, &kind));
        EXPECT_EQ(kind, -1);
    }
}

TEST_F(CatalogueEdges, LongestNameFitsTheCallersBuffer) {
    size_t longest = 0;
    for (const Entry& e : kCatalogue) {
        longest = std::max(longest, std::strlen(e.name));
    }
    EXPECT_EQ(longest + 1, static_cast<size_t>(kPropertyNameCapacity));
    // An exact-size heap buffer: the sanitizers catch a copy of even one byte too many.
    std::unique_ptr<char[]> buffer(new char[kPropertyNameCapacity]);
    char* target = buffer.get();
    ASSERT_TRUE(contactScope->propertyIdToName(property::AdvisoryGroundSpeed, &target));
    EXPECT_STREQ(buffer.get(), "advisoryGroundSpeed");
}

// Exact-size heap copies, so a read past either terminator is caught.
std::unique_ptr<char[]> heapCopy(const char* text) {
    const size_t size = std::strlen(text) + 1;
    std::unique_ptr<char[]> copy(new char[size]);
    std::memcpy(copy.get(), text, size);
    return copy;
}

TEST(NameCompare, FoldsOnlyAsciiLetters) {
    const struct {
        const char* a;
        const char* b;
        bool equal;
    } cases[] = {
        {"abc", "abc", true},
        {"abc", "ABC", true},
        {"aBc", "AbC", true},
        {"", "", true},
        {"abc", "abd", false},
        {"abc", "ab", false},
        {"ab", "abc", false},
        {"", "a", false},
        {"a", "", false},
        {"[", "{", false},
        {"@", "`", false},
        {"a9_", "A9_", true},
        {"\xE9t\xE9", "\xC9T\xC9", false},
        {"\xE9", "\xE9", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        auto a = heapCopy(c.a);
        auto b = heapCopy(c.b);
        EXPECT_EQ(namesEqualIgnoringCase(a.get(), b.get()), c.equal);
        EXPECT_EQ(namesEqualIgnoringCase(b.get(), a.get()), c.equal);
    }
}

TEST(NameCompare, NullNeverEqualsAnything) {
    EXPECT_FALSE(namesEqualIgnoringCase(nullptr, "a"));
    EXPECT_FALSE(namesEqualIgnoringCase("a", nullptr));
    EXPECT_FALSE(namesEqualIgnoringCase(nullptr, nullptr));
    EXPECT_FALSE(namesEqualIgnoringCase(nullptr, ""));
}

}  // namespace
}  // namespace cs
