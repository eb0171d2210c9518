// The script language: what each script evaluates to, how a wrong script is
// reported, and the <String> formats.
#include <gtest/gtest.h>

#include <string>

#include "tests/gauge/TestEnvironment.h"
#include "tools/gauge/StringFormat.h"

namespace cs::gauge {
namespace {

const Origin kOrigin{"g.xml", 10, "Value"};

struct EvalCase {
    const char* source;
    const char* expected;  // the result as text
    int warnings;          // after two evaluations
};

class ScriptValues : public ::testing::TestWithParam<EvalCase> {};

TEST_P(ScriptValues, Evaluate) {
    const EvalCase& c = GetParam();
    Diagnostics d;
    TestEnvironment env;
    env.locals["range"] = 6.0;
    env.mouseX = 128.0;
    Script s = compileScript(c.source, kOrigin, d);
    ASSERT_TRUE(s.ok()) << c.source << ": " << d.problems().at(0).text();
    ASSERT_TRUE(bindScript(s, env, d));
    Evaluator e;
    EXPECT_EQ(e.evaluate(s, env, &d).asText(), c.expected) << c.source;
    e.evaluate(s, env, &d);
    EXPECT_EQ(static_cast<int>(d.warningCount()), c.warnings) << c.source;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScriptValues,
    ::testing::Values(
        EvalCase{"", "0", 0}, EvalCase{"1 2 +", "3", 0}, EvalCase{"7 2 -", "5", 0},
        EvalCase{"3 4 *", "12", 0}, EvalCase{"1 4 /", "0.25", 0},
        EvalCase{"5 0 /", "0", 0},  // division by zero gives 0, as the simulator
        EvalCase{"7 3 %", "1", 0}, EvalCase{"7 0 %", "0", 0}, EvalCase{"2 neg abs", "2", 0},
        EvalCase{"-2.5 flr", "-3", 0}, EvalCase{"2.1 ceil", "3", 0}, EvalCase{"2.5 near", "3", 0},
        EvalCase{"3 9 min", "3", 0}, EvalCase{"3 9 max", "9", 0}, EvalCase{"16 sqrt", "4", 0},
        EvalCase{"pi 180 / rddg", "1", 0}, EvalCase{"180 dgrd pi ==", "1", 0},
        EvalCase{"5 1 10 rng", "1", 0}, EvalCase{"11 1 10 rng", "0", 0}, EvalCase{"0x1F", "31", 0},
        EvalCase{"1e3 1 +", "1001", 0},
        // Comparisons and logic, in every spelling.
        EvalCase{"2 3 <", "1", 0}, EvalCase{"2 3 &gt;", "0", 0}, EvalCase{"3 3 >=", "1", 0},
        EvalCase{"3 3 &lt;=", "1", 0}, EvalCase{"3 3 !=", "0", 0}, EvalCase{"3 3 eq", "1", 0},
        EvalCase{"1 0 &&", "0", 0}, EvalCase{"1 0 ||", "1", 0}, EvalCase{"1 0 and !", "1", 0},
        EvalCase{"0 not 1 or", "1", 0}, EvalCase{"'TA' 'TA' ==", "1", 0},
        EvalCase{"'TA' 'RA' ==", "0", 0},
        // Blocks.
        EvalCase{"1 if{ 10 } els{ 20 }", "10", 0}, EvalCase{"0 if{ 10 } els{ 20 }", "20", 0},
        EvalCase{"0 if{ 10 }", "0", 0},  // the condition was there; nothing is left
        EvalCase{"1 if{ 0 if{ 1 } els{ 2 } } els{ 3 }", "2", 0},
        EvalCase{"1 if{ 5 }els{ 6 }", "5", 0}, EvalCase{"1 if{5}", "5", 0},
        // Stack and registers.
        EvalCase{"4 d *", "16", 0}, EvalCase{"1 2 p", "1", 0}, EvalCase{"1 2 r -", "1", 0},
        EvalCase{"1 2 c 3", "3", 0}, EvalCase{"5 s0 p l0 l0 +", "10", 0},
        EvalCase{"5 sp49 l49", "5", 0}, EvalCase{"1 quit 2", "1", 0},
        // Variables.
        EvalCase{"(L:range, number) 2 *", "12", 0},
        EvalCase{"(L:range, number) 0 == if{ 6 (>L:range, number) } (L:range, number)", "6", 0},
        EvalCase{"(M:X) 256 /", "0.5", 0}, EvalCase{"(A:PLANE ALTITUDE, feet) 100 /", "110", 0},
        // The one- and two-operand number operators, worked out by hand.
        EvalCase{"5 /-/", "-5", 0}, EvalCase{"-2.7 int", "-2", 0}, EvalCase{"3 sqr", "9", 0},
        EvalCase{"4 ++ ++ --", "5", 0}, EvalCase{"2 10 pow", "1024", 0},
        EvalCase{"1000 log", "3", 0}, EvalCase{"1 exp ln", "1", 0}, EvalCase{"0 log", "0", 0},
        EvalCase{"-90 dnor", "270", 0}, EvalCase{"725 d360", "5", 0},
        EvalCase{"0 cos 0 sin +", "1", 0}, EvalCase{"1 1 atg2 rddg", "45", 0},
        EvalCase{"1 atg 4 * pi ==", "1", 0}, EvalCase{"7 2 div", "3", 0},
        EvalCase{"7 0 div", "0", 0},
        // Bitwise, on 32-bit whole numbers: the & designers use as "and".
        EvalCase{"12 10 &", "8", 0}, EvalCase{"12 10 |", "14", 0}, EvalCase{"12 10 ^", "6", 0},
        EvalCase{"0 ~", "-1", 0}, EvalCase{"1 4 <<", "16", 0}, EvalCase{"256 4 >>", "16", 0},
        EvalCase{"-1 28 >>", "15", 0}, EvalCase{"1 1 == 2 2 == &", "1", 0},
        // Texts: positions from 0, searches give -1 when nothing is found.
        EvalCase{"'abc' 'def' scat", "abcdef", 0}, EvalCase{"'NAV' 1 scat", "NAV1", 0},
        EvalCase{"'abc' 'abd' scmp", "-1", 0}, EvalCase{"'b' 'a' scmp", "1", 0},
        EvalCase{"'ab' 'ab' scmp", "0", 0}, EvalCase{"'ab' 'abc' scmp", "-1", 0},
        EvalCase{"'AbC' 'aBc' scmi", "0", 0}, EvalCase{"'AbC' 'aBc' scmp", "-1", 0},
        EvalCase{"'abcd' 1 3 ssub", "bc", 0}, EvalCase{"'abcd' 2 99 ssub", "cd", 0},
        EvalCase{"'abcd' 3 1 ssub", "", 0}, EvalCase{"'abcd' 'cd' sstr", "2", 0},
        EvalCase{"'abcd' 'x' sstr", "-1", 0}, EvalCase{"'abcd' 'c' schr", "2", 0},
        EvalCase{"'abcd' 100 schr", "3", 0}, EvalCase{"'abcd' 2 symb", "c", 0},
        EvalCase{"'abcd' 4 symb", "", 0}, EvalCase{"65 chr", "A", 0}, EvalCase{"'A' ord", "65", 0},
        EvalCase{"'' ord", "0", 0}, EvalCase{"'MixEd' lc", "mixed", 0},
        EvalCase{"'MixEd' uc", "MIXED", 0}, EvalCase{"'rANGE' cap", "Range", 0},
        EvalCase{"118.5 'MHz' scat", "118.5MHz", 0},
        // Characters, not bytes, with the simulator's Windows-1252 codes and case.
        EvalCase{"'°C' 0 1 ssub", "°", 0}, EvalCase{"'aéb' 'b' schr", "2", 0},
        EvalCase{"'aéb' 2 symb", "b", 0}, EvalCase{"'€' ord", "128", 0},
        EvalCase{"'é' ord", "233", 0}, EvalCase{"128 chr", "€", 0},
        EvalCase{"'xé' 233 schr", "1", 0}, EvalCase{"'été' uc", "ÉTÉ", 0},
        EvalCase{"'ÀŒŸ' lc", "àœÿ", 0}, EvalCase{"'œUVRE' cap", "Œuvre", 0},
        EvalCase{"'É' 'é' scmi", "0", 0},
        // Choosing: the condition first, then the two values; case counts
        // from the last value pushed.
        EvalCase{"1 'ON' 'OFF' ?", "ON", 0}, EvalCase{"0 'ON' 'OFF' ?", "OFF", 0},
        EvalCase{"10 20 30 3 0 case", "30", 0}, EvalCase{"10 20 30 3 2 case", "10", 0},
        EvalCase{"10 20 30 3 3 case", "0", 0}, EvalCase{"7 10 20 2 1 case +", "17", 0},
        // Labels and jumps, forwards and back (a loop summing 1 to 4).
        EvalCase{"1 g1 2 :1 3 +", "4", 0},
        EvalCase{"0 sp0 0 sp1 :1 l0 ++ sp0 l1 l0 + sp1 l0 4 < if{ g1 } l1", "10", 0},
        EvalCase{":1 g1", "0", 1},  // stopped after many steps, reported once
        // Short of operands: 0 for each missing one, one warning per script.
        EvalCase{"+", "0", 1}, EvalCase{"5 -", "-5", 1}, EvalCase{"p p p 1", "1", 1},
        EvalCase{"1 2 3 rng + +", "0", 1}));

struct ErrorCase {
    const char* source;
    int line;
    const char* says;
};

class ScriptErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ScriptErrors, Reported) {
    const ErrorCase& c = GetParam();
    Diagnostics d;
    TestEnvironment env;
    Script s = compileScript(c.source, kOrigin, d);
    if (s.ok()) {
        bindScript(s, env, d);
    }
    ASSERT_TRUE(d.hasErrors()) << c.source;
    const Problem& p = d.problems().at(0);
    EXPECT_EQ(p.line, c.line) << p.text();
    EXPECT_NE(p.text().find(c.says), std::string::npos) << p.text();
    EXPECT_EQ(p.text().rfind("g.xml:" + std::to_string(c.line) + ": Value: ", 0), 0u) << p.text();
    Evaluator e;
    EXPECT_EQ(e.number(s, env, nullptr), 0.0);  // a broken script evaluates to 0
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScriptErrors,
    ::testing::Values(ErrorCase{"1 2 plus", 10, "unknown operator \"plus\""},
                      ErrorCase{"1\n2\nnera", 12, "did you mean \"near\""},
                      ErrorCase{"1 if{ 2", 10, "if{ not closed"},
                      ErrorCase{"1 }", 10, "} without an open"},
                      ErrorCase{"els{ 1 }", 10, "els{ without"},
                      ErrorCase{"1 if{ 2 } 3 els{ 4 }", 10, "els{ without"},
                      ErrorCase{"'open", 10, "not closed with '"},
                      ErrorCase{"\n(L:x, number", 11, "not closed with )"},
                      ErrorCase{"(PLANE ALTITUDE)", 10, "is not a variable"},
                      ErrorCase{"(C:advisory)", 10, "expected (C:callback:property)"},
                      ErrorCase{"(A:WIND SPEED, knots)", 10, "unknown variable"},
                      ErrorCase{"s50", 10, "unknown operator"},
                      ErrorCase{"1\ng7", 11, "label :7 that the script does not have"},
                      ErrorCase{":1 1 :1", 10, "label :1 is defined twice"},
                      ErrorCase{"'a' sact", 10, "did you mean \"scat\""},
                      ErrorCase{"1 if{ 1 if{ 1 if{ 1 if{ 1 if{ 1 if{ 1 if{ 1 if{ 1 if{ 1 if{ "
                                "1 if{ 1 if{ 1 if{ 1 if{ 1 if{ 1 if{ 1 if{ 1 if{ 1 if{ 1 if{ "
                                "1 if{ 1 if{ 1 if{ 1 if{ 1 if{ 1 if{ 1 if{ 1 if{ 1 if{ 1 if{ "
                                "1 if{ 1 if{ 1 if{",
                                10, "nested deeper"}));

// Every error of a script is reported, each at its own line, and the
// variables of a broken script are still there to be checked.
TEST(ScriptErrorsAll, EveryErrorOfAScript) {
    Diagnostics d;
    const Script s =
        compileScript("1 2 plus\n(L:a, number) 3 minus\n}\n(A:PLANE ALTITUDE, feet)", kOrigin, d);
    EXPECT_FALSE(s.ok());
    ASSERT_EQ(d.problems().size(), 3u);
    EXPECT_EQ(d.problems()[0].line, 10);
    EXPECT_NE(d.problems()[0].message.find("\"plus\""), std::string::npos);
    EXPECT_EQ(d.problems()[1].line, 11);
    EXPECT_NE(d.problems()[1].message.find("\"minus\""), std::string::npos);
    EXPECT_EQ(d.problems()[2].line, 12);
    EXPECT_NE(d.problems()[2].message.find("} without an open"), std::string::npos);
    ASSERT_EQ(s.variables().size(), 2u);
    EXPECT_EQ(s.variables()[1].name, "PLANE ALTITUDE");
}

struct FormatCase {
    const char* text;
    const char* expected;
};

class StringFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(StringFormats, Format) {
    const FormatCase& c = GetParam();
    Diagnostics d;
    TestEnvironment env;
    env.locals["alt"] = -250.0;
    env.locals["dist"] = 3.25;
    env.locals["adv"] = 2.0;
    FormattedString f = FormattedString::parse(c.text, kOrigin, d);
    ASSERT_TRUE(f.ok()) << c.text << ": " << d.problems().at(0).text();
    for (Script& s : f.scripts()) {
        ASSERT_TRUE(bindScript(s, env, d));
    }
    Evaluator e;
    EXPECT_EQ(f.evaluate(env, e, &d), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, StringFormats,
    ::testing::Values(
        FormatCase{"TRAFFIC", "TRAFFIC"}, FormatCase{"", ""}, FormatCase{"100%", "100%"},
        FormatCase{"%((L:dist, number))%!3.1f!nm", "3.2nm"},
        FormatCase{"%((L:dist, number))%!06.2f!", "003.25"},
        FormatCase{"%((L:alt, number) 100 / near)%!+03d!", "-03"},
        FormatCase{"%(250 100 / near)%!+03d!", "+03"}, FormatCase{"[%(7)%!-4d!]", "[7   ]"},
        FormatCase{"[%('SWR')%!5s!]", "[  SWR]"}, FormatCase{"%(2.5)", "2.5"},
        FormatCase{"%('ab')%!.1s!", "a"}, FormatCase{"%('°C')%!.1s!", "°"},
        FormatCase{"[%('é')%!3s!][%('é')%!-3s!]", "[  é][é  ]"},
        // %!d! rounds to the nearest whole number, as the simulator does.
        FormatCase{"%(-7.9)%!d!", "-8"}, FormatCase{"%(34.56)%!+d!", "+35"},
        FormatCase{"%(2.5)%!d!", "3"}, FormatCase{"%(0.49)%!03d!", "000"},
        FormatCase{"%((L:adv, number) 2 ==)%{if}RA%{else}TA%{end}", "RA"},
        FormatCase{"%((L:adv, number) 1 ==)%{if}TA%{else}no %(1 2 +)%!d!%{end}!", "no 3!"},
        FormatCase{"%(1)%{if}a%(0)%{if}b%{else}c%{end}d%{end}e", "acde"},
        FormatCase{"%(0)%{if}a%{end}z", "z"},
        FormatCase{"%((L:adv, number))%{case}%{:0}none%{:1}TA%{:2}RA%{end}!", "RA!"},
        FormatCase{"%(5)%{case}%{:0}a%{:1}b%{end}z", "z"},
        FormatCase{"%(-1)%{case}%{:1}p%{:-1}m%{end}", "m"},
        FormatCase{"%(2.7)%{case}%{:3}c%{:2}b%{end}", "b"},
        FormatCase{"%(1)%{case}%{:1}%(0)%{if}x%{else}y%{end}!%{:2}q%{end}", "y!"},
        FormatCase{"%(1)%{if}%(2)%{case}%{:2}two%{end}%{else}no%{end}", "two"}));

struct FormatErrorCase {
    const char* text;
    int line;
    const char* says;
};

class StringFormatErrors : public ::testing::TestWithParam<FormatErrorCase> {};

TEST_P(StringFormatErrors, Reported) {
    const FormatErrorCase& c = GetParam();
    Diagnostics d;
    FormattedString f = FormattedString::parse(c.text, kOrigin, d);
    EXPECT_FALSE(f.ok());
    ASSERT_TRUE(d.hasErrors()) << c.text;
    EXPECT_EQ(d.problems().at(0).line, c.line) << d.problems().at(0).text();
    EXPECT_NE(d.problems().at(0).text().find(c.says), std::string::npos)
        << d.problems().at(0).text();
}

INSTANTIATE_TEST_SUITE_P(
    Table, StringFormatErrors,
    ::testing::Values(FormatErrorCase{"%(1 2 +", 10, "not closed"},
                      FormatErrorCase{"a\n%(1)%!5x!", 11, "unsupported format"},
                      FormatErrorCase{"%!d!", 10, "without a %( )"},
                      FormatErrorCase{"%{if}x%{end}", 10, "without a %( condition"},
                      FormatErrorCase{"%(1)%{if}x", 10, "not closed with %{end}"},
                      FormatErrorCase{"x%{end}", 10, "without a matching %{if}"},
                      FormatErrorCase{"%(1)%{if}a%{else}b%{else}c%{end}", 10, "%{else} without"},
                      FormatErrorCase{"%(1)%{switch}", 10, "unsupported \"%{switch}\""},
                      FormatErrorCase{"%{case}%{:1}x%{end}", 10, "without a %( value"},
                      FormatErrorCase{"x\n%{:1}x", 11, "outside a %{case}"},
                      FormatErrorCase{"%(1)%{case}%{:a}x%{end}", 10, "whole number"},
                      FormatErrorCase{"%(1)%{case}%{:1}x", 10, "%{case} not closed"},
                      FormatErrorCase{"%(1)%{case}%{:1}a%{else}b%{end}", 10, "%{else} without"},
                      FormatErrorCase{"%(1 bogus)", 10, "unknown operator"}));

}  // namespace
}  // namespace cs::gauge
