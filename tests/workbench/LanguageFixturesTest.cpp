// The language fixtures (fixtures/language/): every operator, every unit
// family, the schema variations, both schemas and a file saved as
// Windows-1252, each checked without a
// single warning and run over language.json; each text shows at the start
// the value its line's comment says, worked out by hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "tests/workbench/SharedWorkbench.h"
#include "testsupport/TestNames.h"
#include "tools/gauge/GaugeReader.h"
#include "tools/gauge/ScriptTokens.h"
#include "tools/gauge/TextEncoding.h"
#include "tools/workbench/Units.h"

namespace cs::workbench {
namespace {

namespace fs = std::filesystem;

const fs::path kFolder = fs::path(CS_SOURCE_DIR) / "tests/workbench/fixtures/language";

// "<!-- = 3 5 -->" after a text: what it shows, by line; "<!-- tooltip = x -->".
struct Expected {
    std::map<int, std::string> texts;
    std::string tooltip;
};

Expected expectedOf(const fs::path& file) {
    Expected e;
    // Read as the workbench reads it: a Windows-1252 fixture's comments too.
    std::ifstream bytes(file, std::ios::binary);
    std::istringstream in(
        gauge::decodeGaugeText(std::string(std::istreambuf_iterator<char>(bytes), {})).text);
    const std::regex text("<!-- = (.*) -->"), tooltip("<!-- tooltip = (.*) -->");
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        std::smatch m;
        if (std::regex_search(line, m, text)) {
            e.texts[n] = m[1];
        } else if (std::regex_search(line, m, tooltip)) {
            e.tooltip = m[1];
        }
    }
    return e;
}

std::vector<std::string> fixtures() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kFolder)) {
        if (entry.path().extension() == ".xml") {
            names.push_back(entry.path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

class LanguageFixture : public SharedWorkbench,
                        public ::testing::WithParamInterface<std::string> {};

TEST_P(LanguageFixture, ShowsWhatItSays) {
    const fs::path file = kFolder / (GetParam() + ".xml");
    preview::PreviewScenario scenario =
        preview::loadScenarioFile((kFolder / "language.json").string());
    bench_->resolve(scenario);
    WorkbenchOptions options;
    options.gauges = {file.string()};
    options.outDir.clear();
    gauge::Diagnostics d;
    ASSERT_TRUE(bench_->load(options, d));
    EXPECT_EQ(d.problems().size(), 0u) << d.problems().at(0).text();
    gauge::Diagnostics runtime;
    const ScenarioRun run = bench_->run(scenario, options, runtime);
    EXPECT_EQ(runtime.problems().size(), 0u) << runtime.problems().at(0).text();
    const Expected expected = expectedOf(file);
    ASSERT_FALSE(expected.texts.empty());
    const GaugeFrame& start = run.frames.at(0).gauges.at(0);
    for (const auto& [line, shows] : expected.texts) {
        bool found = false;
        for (const ElementLog& e : start.elements) {
            if (e.line == line && e.text) {
                EXPECT_EQ(e.string, shows) << "line " << line;
                found = true;
            }
        }
        EXPECT_TRUE(found) << "no text at line " << line;
    }
    EXPECT_EQ(start.tooltip, expected.tooltip);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, LanguageFixture, ::testing::ValuesIn(fixtures()),
                         [](const auto& info) { return info.param; });

// The words and units of every script of a fixture.
void wordsAndUnits(const std::string& name, std::set<std::string>& words,
                   std::set<Dimension>& families) {
    gauge::Diagnostics d;
    gauge::GaugeFile g;
    ASSERT_TRUE(gauge::readGaugeFile((kFolder / (name + ".xml")).string(), g, d));
    for (gauge::Script* s : gauge::allScripts(g)) {
        std::vector<gauge::Token> tokens;
        gauge::tokenize(s->source(), s->origin(), d, tokens);
        for (const gauge::Token& t : tokens) {
            words.insert(t.text);
        }
        for (const gauge::VarRef& v : s->variables()) {
            if (const Unit* u = findUnit(v.unit)) {
                families.insert(u->dimension);
            }
        }
    }
}

// The fixtures keep up with the tables: a new operator or unit family
// without a line here fails.
TEST(LanguageFixtures, CoverEveryOperatorAndUnitFamily) {
    std::set<std::string> words;
    std::set<Dimension> families;
    wordsAndUnits("operators", words, families);
    wordsAndUnits("units", words, families);
    for (const std::string& w : gauge::operatorWords()) {
        EXPECT_EQ(words.count(w), 1u) << "operators.xml does not use \"" << w << "\"";
    }
    for (const std::string& name : unitNames()) {
        const Dimension family = findUnit(name)->dimension;
        EXPECT_EQ(families.count(family), 1u)
            << "units.xml has no unit of the family of \"" << name << "\"";
    }
}

}  // namespace
}  // namespace cs::workbench
