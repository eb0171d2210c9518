// Macros: defined once under <Gauge>, used as @X or @X(a, b) in scripts and
// strings; what they expand to is checked by evaluating it, and each misuse
// is reported at the line of the use.
#include <gtest/gtest.h>

#include <string>

#include "tests/gauge/TestEnvironment.h"
#include "testsupport/TestNames.h"
#include "tools/gauge/GaugeReader.h"
#include "tools/gauge/ScriptEvaluator.h"

namespace cs::gauge {
namespace {

const char* kMacros = R"(<Gauge Name="m">
<Size X="10" Y="10"/>
<Macro Name="Two">2</Macro>
<Macro Name="Four">@Two @Two +</Macro>
<Macro Name="Sum">@1 @2 +</Macro>
<Macro Name="Lines">1
2
+</Macro>
)";

struct MacroCase {
    const char* label;
    const char* update;  // the <Update> script, on line 9
    double value;        // what it evaluates to
};

class MacroValues : public ::testing::TestWithParam<MacroCase> {};

TEST_P(MacroValues, Expand) {
    const MacroCase& c = GetParam();
    Diagnostics d;
    GaugeFile g;
    ASSERT_TRUE(readGaugeText(std::string(kMacros) + "<Update>" + c.update + "</Update>\n</Gauge>",
                              "m.xml", ".", g, d))
        << d.problems().at(0).text();
    EXPECT_TRUE(d.problems().empty()) << d.problems().at(0).text();
    TestEnvironment env;
    Evaluator e;
    EXPECT_DOUBLE_EQ(e.number(g.update, env, nullptr), c.value) << c.update;
}

INSTANTIATE_TEST_SUITE_P(Table, MacroValues,
                         ::testing::Values(MacroCase{"plain", "@Two 5 *", 10.0},
                                           MacroCase{"macro using a macro", "@Four @Two /", 2.0},
                                           MacroCase{"arguments", "@Sum(3, 4) 10 *", 70.0},
                                           MacroCase{"a macro as argument",
                                                     "@Sum(@Four, @Sum(1, 1))", 6.0},
                                           MacroCase{"lines kept", "@Lines\n@Lines +", 6.0}),
                         cs::test::ByLabel());

// In a text, too, and the line of what follows a multi-line macro stays the
// file's.
TEST(Macros, InTextsAndLinesAfterAUse) {
    Diagnostics d;
    GaugeFile g;
    readGaugeText(std::string(kMacros) +
                      "<Element><Text X=\"9\" Y=\"9\"><String>%(@Sum(1, 2))%!d!</String></Text>"
                      "</Element>\n<Update>@Lines\n@Lines\nbogus</Update>\n</Gauge>",
                  "m.xml", ".", g, d);
    ASSERT_EQ(d.problems().size(), 1u);
    EXPECT_EQ(d.problems()[0].line, 12) << d.problems()[0].text();
    EXPECT_NE(d.problems()[0].message.find("unknown operator \"bogus\""), std::string::npos);
    TestEnvironment env;
    Evaluator e;
    ASSERT_FALSE(g.elements.empty());
    EXPECT_EQ(g.elements[0].children.at(0).string.evaluate(env, e, nullptr), "3");
}

struct MisuseCase {
    const char* label;
    const char* gauge;  // after <Size>, from line 3
    int line;
    const char* says;
};

class MacroMisuse : public ::testing::TestWithParam<MisuseCase> {};

TEST_P(MacroMisuse, Reported) {
    const MisuseCase& c = GetParam();
    Diagnostics d;
    GaugeFile g;
    EXPECT_FALSE(readGaugeText(
        std::string("<Gauge Name=\"m\">\n<Size X=\"9\" Y=\"9\"/>\n") + c.gauge + "</Gauge>\n",
        "m.xml", ".", g, d));
    ASSERT_FALSE(d.problems().empty()) << c.label;
    EXPECT_EQ(d.problems()[0].line, c.line) << d.problems()[0].text();
    EXPECT_NE(d.problems()[0].text().find(c.says), std::string::npos) << d.problems()[0].text();
}

INSTANTIATE_TEST_SUITE_P(
    Table, MacroMisuse,
    ::testing::Values(
        MisuseCase{"undefined", "<Macro Name=\"Power\">1</Macro>\n<Update>\n@Powr</Update>\n", 5,
                   "undefined macro @Powr; did you mean \"Power\"?"},
        MisuseCase{"itself", "<Macro Name=\"Loop\">1 @Loop +</Macro>\n<Update>@Loop</Update>\n", 4,
                   "macro @Loop uses itself (@Loop -> @Loop)"},
        MisuseCase{"each other",
                   "<Macro Name=\"A\">@B</Macro>\n<Macro Name=\"B\">@A</Macro>\n"
                   "<Update>@A</Update>\n",
                   5, "(@A -> @B -> @A)"},
        MisuseCase{"arguments not closed",
                   "<Macro Name=\"Sum\">@1 @2 +</Macro>\n<Update>@Sum(1, 2</Update>\n", 4,
                   "@Sum( not closed"},
        MisuseCase{"bad name", "<Macro Name=\"two words\">1</Macro>\n", 3, "is not a macro name"}),
    cs::test::ByLabel());

}  // namespace
}  // namespace cs::gauge
