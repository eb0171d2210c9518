// Gauge files in the encodings designers' editors save them in: decoded to
// UTF-8 by their declaration, and bytes that are not text in it refused at
// their line.
#include <gtest/gtest.h>

#include <string>

#include "tools/gauge/GaugeReader.h"
#include "tools/gauge/TextEncoding.h"

namespace cs::gauge {
namespace {

const std::string kDecl1252 = "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\n";

TEST(TextEncoding, DecodedByTheDeclaration) {
    const struct {
        std::string bytes;
        std::string utf8;  // the text after the declaration, as decoded
    } kCases[] = {
        {kDecl1252 + "\xB0"
                     "C",
         "\xC2\xB0"
         "C"},  // degree sign
        {kDecl1252 + "\x80\x93\x81",
         "\xE2\x82\xAC\xE2\x80\x9C\xEF\xBF\xBD"},  // euro, quote, undefined
        {"<?xml version='1.0' encoding='cp1252'?>\n\xE9", "\xC3\xA9"},
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n\x80\xFF", "\xC2\x80\xC3\xBF"},
        {"<?xml version=\"1.0\"?>\n\xC2\xB0", "\xC2\xB0"},      // UTF-8 unchanged
        {"\xEF\xBB\xBF" + kDecl1252 + "\xC2\xB0", "\xC2\xB0"},  // its BOM rules
    };
    for (const auto& c : kCases) {
        const DecodedText d = decodeGaugeText(c.bytes);
        ASSERT_TRUE(d.ok) << d.problem;
        EXPECT_EQ(d.text.substr(d.text.find('\n') + 1), c.utf8) << c.bytes;
    }
}

TEST(TextEncoding, BytesNotOfTheEncodingAreRefusedAtTheirLine) {
    const struct {
        std::string bytes;
        int line;
        const char* says;
    } kCases[] = {
        {"<Gauge>\r\n<String>\r\n\xB0"
         "C",
         3, "0xB0 is not UTF-8 text"},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\r\xB0", 3, "encoding=\"Windows-1252\""},
        {"a\xC0\xAF", 1, "0xC0"},        // overlong
        {"a\n\xED\xA0\x80", 2, "0xED"},  // a surrogate
        {"a\xE2\x82", 1, "0xE2"},        // cut short at the end
        {"<?xml version=\"1.0\" encoding=\"US-ASCII\"?>\n\xE9", 2, "not US-ASCII"},
    };
    for (const auto& c : kCases) {
        EXPECT_FALSE(decodeGaugeText(c.bytes).ok) << c.bytes;
        Diagnostics d;
        GaugeFile g;
        EXPECT_FALSE(readGaugeText(c.bytes, "g.xml", ".", g, d));
        ASSERT_EQ(d.problems().size(), 1u) << c.bytes;
        EXPECT_EQ(d.problems()[0].line, c.line) << c.bytes;
        EXPECT_NE(d.problems()[0].text().find(c.says), std::string::npos) << d.problems()[0].text();
    }
}

// The module's narrow texts are Windows-1252 too.
TEST(TextEncoding, ModuleTextsBecomeUtf8) {
    EXPECT_EQ(utf8FromWindows1252("TRK: 90\xB0"), "TRK: 90\xC2\xB0");
    EXPECT_EQ(utf8FromWindows1252("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(utf8FromWindows1252("plain"), "plain");
}

TEST(TextEncoding, WideTextIsLeftToTheParser) {
    const std::string utf16("\xFF\xFE<\0G\0", 6);
    const DecodedText d = decodeGaugeText(utf16);
    EXPECT_TRUE(d.ok && d.wide);
    EXPECT_EQ(d.text, utf16);
}

// A Windows-1252 gauge reads as any other, its lines counted as before.
TEST(TextEncoding, AWindows1252GaugeReads) {
    const std::string xml = kDecl1252 +
                            "<Gauge Name=\"t\">\r\n<Size X=\"10\" Y=\"10\"/>\r\n"
                            "<Element><Text X=\"9\" Y=\"9\"><String>\xB0"
                            "C</String></Text>"
                            "</Element>\r\n<Update>1 bogus</Update>\r\n</Gauge>";
    Diagnostics d;
    GaugeFile g;
    EXPECT_FALSE(readGaugeText(xml, "t.xml", ".", g, d));
    ASSERT_EQ(d.problems().size(), 1u);
    EXPECT_EQ(d.problems()[0].line, 5) << d.problems()[0].text();
    EXPECT_NE(d.problems()[0].text().find("bogus"), std::string::npos);
}

}  // namespace
}  // namespace cs::gauge
