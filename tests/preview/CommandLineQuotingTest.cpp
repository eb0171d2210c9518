// The command line shown on the report pages must paste back into the shell
// of the platform that ran it: a POSIX shell on Linux, a Command Prompt on
// Windows.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/output/HtmlText.h"

namespace cs::preview {
namespace {

struct QuotingCase {
    const char* what;
    std::vector<const char*> args;
    const char* posix;
    const char* cmd;
};

const QuotingCase kCases[] = {
    {"plain words",
     {"contactscope-preview", "-b", "head-on", "--every=2"},
     "contactscope-preview -b head-on --every=2",
     "contactscope-preview -b head-on --every=2"},
    {"Windows path",
     {"preview.exe", "scenarios\\head-on.json"},
     "preview.exe 'scenarios\\head-on.json'",
     "preview.exe scenarios\\head-on.json"},
    {"space",
     {"preview", "-o", "C:\\My Files\\out"},
     "preview -o 'C:\\My Files\\out'",
     "preview -o \"C:\\My Files\\out\""},
    {"backslash before the closing quote",
     {"p", "C:\\out dir\\"},
     "p 'C:\\out dir\\'",
     "p \"C:\\out dir\\\\\""},
    {"empty argument", {"p", ""}, "p ''", "p \"\""},
    {"double quotes", {"p", "say \"hi\""}, "p 'say \"hi\"'", "p \"say \\\"hi\\\"\""},
    {"backslash before a quote", {"p", "a\\\"b"}, "p 'a\\\"b'", "p \"a\\\\\\\"b\""},
    {"single quote", {"p", "it's"}, "p 'it'\\''s'", "p \"it's\""},
    {"cmd.exe's characters",
     {"p", "a&b", "(x)", "50%", "x|y"},
     "p 'a&b' '(x)' 50% 'x|y'",
     "p \"a&b\" \"(x)\" \"50%\" \"x|y\""},
    {"cmd.exe's characters between inner quotes",
     {"p", "x\"&\"y"},
     "p 'x\"&\"y'",
     "p \"x\\\"^&\\\"y\""},
    {"letters outside ASCII",
     {"p", "Z\xc3\xbcrich-\xc3\x85ngstr\xc3\xb6m.json"},
     "p 'Z\xc3\xbcrich-\xc3\x85ngstr\xc3\xb6m.json'",
     "p Z\xc3\xbcrich-\xc3\x85ngstr\xc3\xb6m.json"},
};

TEST(CommandLineQuoting, EachShellReadsTheArgumentsBack) {
    for (const QuotingCase& c : kCases) {
        SCOPED_TRACE(c.what);
        const int argc = static_cast<int>(c.args.size());
        EXPECT_EQ(shellCommandLine(argc, c.args.data()), c.posix);
        EXPECT_EQ(cmdCommandLine(argc, c.args.data()), c.cmd);
    }
}

#if !defined(_WIN32)
// The POSIX form through a real shell: each argument comes back unchanged.
TEST(CommandLineQuoting, PosixShellSplitsItIntoTheSameArguments) {
    for (const QuotingCase& c : kCases) {
        SCOPED_TRACE(c.what);
        std::vector<const char*> withFormat = {"printf", "[%s]\\n"};
        withFormat.insert(withFormat.end(), c.args.begin() + 1, c.args.end());
        const std::string line =
            shellCommandLine(static_cast<int>(withFormat.size()), withFormat.data());
        std::FILE* sh = popen(line.c_str(), "r");
        ASSERT_NE(sh, nullptr);
        std::string out;
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, sh) != nullptr) {
            out += buffer;
        }
        EXPECT_EQ(pclose(sh), 0);
        std::string expected;
        for (size_t i = 1; i < c.args.size(); ++i) {
            expected += std::string("[") + c.args[i] + "]\n";
        }
        EXPECT_EQ(out, expected);
    }
}
#endif

}  // namespace
}  // namespace cs::preview
