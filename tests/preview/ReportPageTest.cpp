// The report pages as text: what a scenario names (titles, ATC ids) cannot
// end the embedded data or add markup, and the level colours are the
// display's. The pages' behaviour is checked in a browser (tests/report/).
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "tools/preview/ReportIndex.h"
#include "tools/preview/ReportPage.h"

namespace cs::preview {
namespace {

size_t count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

TEST(ReportPages, ScenarioTextsStayText) {
    const std::string hostile = "</script><b>x</b> & \"q\" <!--";
    PreviewScenario scenario;
    scenario.name = "s";
    scenario.title = hostile;
    scenario.expect = hostile;
    AircraftPlan plan;
    plan.id = 2;
    plan.atcId = hostile;
    scenario.traffic.push_back(plan);
    RunResult result;
    result.folder = "out/s";
    DisplayResult display;
    IntruderSummary intruder;
    intruder.id = 2;
    intruder.atcId = hostile;
    intruder.firstTaFrame = 1;
    display.intruders.push_back(intruder);
    FrameRecord frame;
    PropertyValue tip;
    tip.name = "toolTip";
    tip.isText = tip.ok = true;
    tip.text = hostile;
    frame.properties.push_back(tip);
    AircraftObservation seen;
    seen.atcId = hostile;
    seen.found = true;
    frame.aircraft.push_back(seen);
    display.frames.push_back(frame);
    result.displays.push_back(display);

    const std::string page = reportPageHtml(scenario, result, "tool '" + hostile + "'");
    const std::string index =
        report::indexPageHtml({indexEntry(scenario, result)}, "tool '" + hostile + "'", "preview");
    for (const std::string* html : {&page, &index}) {
        EXPECT_EQ(count(*html, "<b>x"), 0u);
        EXPECT_EQ(count(*html, "<!--"), 0u);
        EXPECT_NE(html->find("&lt;/script&gt;&lt;b&gt;x&lt;/b&gt; &amp; &quot;q&quot;"),
                  std::string::npos);
    }
    // Only the page's own two script elements end; the data reads back intact.
    EXPECT_EQ(count(page, "</script>"), 2u);
    const std::string open = "<script type=\"application/json\" id=\"report-data\">";
    const size_t begin = page.find(open) + open.size();
    const auto data = nlohmann::json::parse(page.substr(begin, page.find("</script>") - begin));
    EXPECT_EQ(data["title"], hostile);
    EXPECT_EQ(data["traffic"][0]["atcId"], hostile);
    EXPECT_EQ(data["displays"][0]["values"][0][0], hostile);
}

TEST(ReportPages, LevelColoursAreTheDisplaysOwn) {
    PreviewScenario plain;
    PreviewScenario custom;
    NamedValue ta;
    ta.id = 5;
    ta.number = 0xFFA000;
    custom.parameters.push_back(ta);
    DisplayPlan radar;
    radar.kind = DisplayKind::Radar;
    NamedValue proximity;  // "StandardColour", the second name of ProximityColour
    proximity.id = 4;
    proximity.number = 0x0000FF;
    radar.parameters.push_back(proximity);
    custom.displays.push_back(radar);
    const struct {
        const PreviewScenario* scenario;
        DisplayKind kind;
        std::array<int32_t, 4> colours;  // Other, Proximity, TA, RA
    } cases[] = {
        {&plain, DisplayKind::Tcas, {0xF0F0F0, 0xF0F0F0, 0xFFFF00, 0xFF0000}},
        {&plain, DisplayKind::Radar, {0xF0F0F0, 0x00FF00, 0xFFFF00, 0xFF0000}},
        {&custom, DisplayKind::Tcas, {0xF0F0F0, 0xF0F0F0, 0xFFA000, 0xFF0000}},
        {&custom, DisplayKind::Radar, {0xF0F0F0, 0x0000FF, 0xFFA000, 0xFF0000}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(levelColours(*c.scenario, c.kind), c.colours) << displayName(c.kind);
    }
}

}  // namespace
}  // namespace cs::preview
