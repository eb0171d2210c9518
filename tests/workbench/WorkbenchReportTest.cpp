// What a workbench run gives its report pages and its log beyond the
// pictures: the mouse per picture, the page's data (texts by file and line,
// the properties the scripts use, the advisory property, values per
// picture), the index entry and the contact sheets. The pages' behaviour is
// checked in a browser (tests/report/check-workbench-report.mjs).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "tests/workbench/SharedWorkbench.h"
#include "tools/report/ReportIndex.h"
#include "tools/workbench/ViewSheets.h"
#include "tools/workbench/WorkbenchReport.h"

namespace cs::workbench {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

// Reads C:...:brightness in a script and writes C:...:range; shows a text
// that would end a <script> element, and one that never shows.
const char* kGauge = R"(<Gauge Name="report_probe">
  <Size X="64" Y="64"/>
  <Update>(C:va9vedored:brightness) (&gt;L:seen brightness, number) 8 (&gt;C:va9vedored:range)</Update>
  <Element>
    <CustomDraw Name="va9vedored:tcas" X="64" Y="48"/>
  </Element>
  <Element>
    <Text X="64" Y="16"><String>&lt;/script&gt;&lt;b&gt;x</String></Text>
  </Element>
  <Element>
    <Visible>0</Visible>
    <Text X="64" Y="16"><String>NEVER</String></Text>
  </Element>
</Gauge>
)";

const char* kPlain = R"(<Gauge Name="plain">
  <Size X="32" Y="32"/>
  <Element><Rectangle Width="32" Height="32" FillColor="#203040"/></Element>
</Gauge>
)";

std::string writeFile(const std::string& name, const std::string& text) {
    const fs::path dir = fs::path(CS_TEST_ARTIFACTS) / "workbench-report";
    fs::create_directories(dir);
    std::ofstream(dir / name) << text;
    return (dir / name).string();
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The JSON block a report page embeds.
Json pageData(const std::string& page) {
    const std::string open = "<script type=\"application/json\" id=\"report-data\">";
    const size_t begin = page.find(open) + open.size();
    return Json::parse(page.substr(begin, page.find("</script>", begin) - begin));
}

class WorkbenchReport : public SharedWorkbench {
  protected:
    ScenarioRun run(WorkbenchOptions& options, preview::PreviewScenario& scenario) {
        options.outDir = (fs::path(CS_TEST_ARTIFACTS) / "workbench-report" / "out").string();
        options.keepImages = true;
        gauge::Diagnostics d;
        EXPECT_TRUE(bench_->load(options, d)) << d.problems().at(0).text();
        bench_->resolve(scenario);
        gauge::Diagnostics runtime;
        return bench_->run(scenario, options, runtime);
    }
};

TEST_F(WorkbenchReport, PageDataLogAndIndexOfARun) {
    WorkbenchOptions options;
    options.gauges = {writeFile("report_probe.xml", kGauge), writeFile("plain.xml", kPlain)};
    preview::PreviewScenario scenario = preview::parseScenario(
        R"({"name": "probe", "duration": "3 s", "frameInterval": "1 s",
            "own": {"latitude": 47, "longitude": 8, "altitude": "5000 ft"}, "traffic": [],
            "mouse": [{"at": "2 s", "x": 0.25, "y": 0.75}]})",
        "probe.json");
    ScenarioRun result = run(options, scenario);
    const std::string page = bench_->reportPage(scenario, result, "tool </script>");

    // Only the page's own two script elements end; the data reads back.
    size_t ends = 0;
    for (size_t at = page.find("</script>"); at != std::string::npos;
         at = page.find("</script>", at + 1)) {
        ++ends;
    }
    EXPECT_EQ(ends, 2u);
    const Json data = pageData(page);

    // A view per gauge, a frame per second, the mouse where the track puts it.
    ASSERT_EQ(data["views"].size(), 2u);
    const Json& frames = data["views"][0]["frames"];
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0]["mouse"], Json::parse("[0.5, 0.5]"));
    EXPECT_EQ(frames[2]["mouse"], Json::parse("[0.25, 0.75]"));
    EXPECT_EQ(frames[3]["image"], "report_probe-0003.png");

    const Json& g = data["gauges"][0];
    ASSERT_EQ(g["texts"].size(), 2u);
    EXPECT_EQ(g["texts"][0]["label"], "report_probe.xml:8");
    EXPECT_EQ(g["frames"][1]["strings"][0], "</script><b>x");
    EXPECT_EQ(g["frames"][1]["shown"], Json::parse("[true, false]"));
    // Charted: what the scripts name and the advisory, nothing else.
    std::vector<std::string> charted;
    for (const Json& k : g["chart"]) {
        charted.push_back(g["properties"][k.get<size_t>()]);
    }
    EXPECT_EQ(charted.size(), 3u);
    for (const char* name : {"va9vedored:brightness", "va9vedored:range", "va9vedored:advisory"}) {
        EXPECT_NE(std::find(charted.begin(), charted.end(), name), charted.end()) << name;
    }
    EXPECT_EQ(g["properties"][g["advisory"].get<size_t>()], "va9vedored:advisory");
    EXPECT_EQ(g["firstShown"][1]["time"], nullptr);
    EXPECT_TRUE(data["gauges"][1]["texts"].empty());
    EXPECT_EQ(data["localNames"], Json::parse(R"(["seen brightness"])"));
    EXPECT_EQ(data["locals"].size(), 4u);

    // The log has the mouse of each picture too.
    std::istringstream log(readFile(result.folder + "/log.jsonl"));
    std::string line;
    std::vector<Json> mice;
    while (std::getline(log, line)) {
        const Json j = Json::parse(line);
        if (j["type"] == "frame" && j["view"] == "plain") {
            mice.push_back(j["mouse"]);
        }
    }
    ASSERT_EQ(mice.size(), 4u);
    EXPECT_EQ(mice[1], Json::parse("[0.5, 0.5]"));
    EXPECT_EQ(mice[3], Json::parse("[0.25, 0.75]"));

    // The index: a row per text, "never" for the one that never showed.
    const report::IndexEntry entry = indexEntry(scenario, result);
    ASSERT_EQ(entry.rows.size(), 2u);
    EXPECT_EQ(entry.rows[0][1].text, "report_probe.xml:8");
    EXPECT_EQ(entry.rows[0][3].text, "</script><b>x");
    EXPECT_EQ(entry.rows[1][2].text, "never");
    EXPECT_TRUE(entry.notes.empty());

    // A contact sheet per view, listed among the run's files.
    writeViewSheets(scenario, result);
    EXPECT_EQ(report::sheetFiles(result.files),
              (std::vector<std::string>{"report_probe-sheet.png", "plain-sheet.png"}));
    EXPECT_TRUE(fs::exists(fs::path(result.folder) / "plain-sheet.png"));
}

TEST_F(WorkbenchReport, ARunWithoutTextsSaysSo) {
    WorkbenchOptions options;
    options.gauges = {writeFile("plain.xml", kPlain)};
    preview::PreviewScenario scenario = emptySky("1 s");
    const ScenarioRun result = run(options, scenario);
    const report::IndexEntry entry = indexEntry(scenario, result);
    EXPECT_TRUE(entry.rows.empty());
    ASSERT_EQ(entry.notes.size(), 1u);
    EXPECT_EQ(entry.notes[0], "The gauges have no text elements.");
    const std::string index = report::indexPageHtml({entry}, "tool", "gauge workbench");
    EXPECT_NE(index.find("The gauges have no text elements."), std::string::npos);
    EXPECT_EQ(index.find("<table"), std::string::npos);
}

}  // namespace
}  // namespace cs::workbench
