#include "tools/preview/ReportIndex.h"

#include <cmath>
#include <cstdio>

#include "simhost/FilePath.h"
#include "tools/output/HtmlText.h"
#include "tools/preview/ReportAssets.h"
#include "tools/preview/ReportPage.h"

namespace cs::preview {

namespace {

std::string format(const char* pattern, double a, double b = 0, double c = 0) {
    char text[96];
    std::snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}

std::string levelCell(int frame, double time, const char* cssClass) {
    if (frame < 0) {
        return "<td class=\"none\">-</td>";
    }
    return std::string("<td class=\"") + cssClass + "\">" + format("%.0f s", time) + "</td>";
}

std::string entryHtml(const IndexEntry& e) {
    const std::string folder = htmlEscape(e.name) + "/";
    std::string html = "<section class=\"scenario\" id=\"" + htmlEscape(e.name) + "\">\n<h2>";
    if (e.hasReport) {
        html += "<a href=\"" + folder + "report.html\">" + htmlEscape(e.name) + "</a>";
    } else {
        html += htmlEscape(e.name);
    }
    if (!e.title.empty()) {
        html += " <span class=\"title\">" + htmlEscape(e.title) + "</span>";
    }
    html += "</h2>\n";
    if (!e.expect.empty()) {
        html += "<p class=\"expect\">" + htmlEscape(e.expect) + "</p>\n";
    }
    if (e.frames == 0) {
        html += "<p class=\"note\">No display drew a frame in this run.</p>\n";
    }
    if (!e.sheets.empty()) {
        html += "<div class=\"sheets\">";
        for (const std::string& s : e.sheets) {
            const std::string href = folder + htmlEscape(s);
            html += "<a href=\"" + href + "\"><img src=\"" + href + "\" alt=\"" +
                    htmlEscape(e.name + " " + s) + "\" loading=\"lazy\"></a>";
        }
        html += "</div>\n";
    }
    if (e.traffic == 0) {
        html += "<p class=\"note\">No traffic in this scenario.</p>\n";
    } else if (!e.rows.empty() || e.unlisted > 0) {
        html +=
            "<table class=\"firsts\"><thead><tr><th>Display</th><th>Aircraft</th>"
            "<th>First TA</th><th>First RA</th><th>Closest approach</th></tr></thead>"
            "<tbody>\n";
        for (const IndexEntry::Row& r : e.rows) {
            html += "<tr><td>" + htmlEscape(r.display) + "</td><td>" + htmlEscape(r.atcId) +
                    "</td>" + levelCell(r.firstTaFrame, r.firstTaTime, "ta") +
                    levelCell(r.firstRaFrame, r.firstRaTime, "ra") + "<td>" +
                    (r.closest ? format("%.2f nm %+.0f ft at %.0f s", r.closestNm, r.closestAltDiff,
                                        r.closestTime)
                               : std::string("never shown")) +
                    "</td></tr>\n";
        }
        html += "</tbody></table>\n";
        if (e.unlisted > 0) {
            html += "<p class=\"note\">" + std::to_string(e.unlisted) +
                    " more aircraft without an advisory.</p>\n";
        }
    }
    if (e.hasReport) {
        html +=
            "<p><a class=\"open\" href=\"" + folder + "report.html\">Watch the encounter</a></p>\n";
    }
    return html + "</section>\n";
}

}  // namespace

IndexEntry indexEntry(const PreviewScenario& scenario, const RunResult& result, bool hasReport) {
    IndexEntry e;
    e.name = scenario.name;
    e.title = scenario.title;
    e.expect = scenario.expect;
    e.hasReport = hasReport;
    e.traffic = scenario.traffic.size();
    for (const std::string& path : result.files) {
        const std::string file = sim::utf8Path(sim::fsPath(path).filename());
        if (file.size() > 10 && file.compare(file.size() - 10, 10, "-sheet.png") == 0) {
            e.sheets.push_back(file);
        }
    }
    // Busy scenes list, on every display, only the intruders that reached a
    // TA on some display, and count the rest.
    const size_t count = scenario.traffic.size();
    std::vector<bool> listed(count, count <= kChartEveryIntruderUpTo);
    for (const DisplayResult& d : result.displays) {
        e.frames += d.frames.size();
        for (size_t i = 0; i < d.intruders.size() && i < count; ++i) {
            listed[i] = listed[i] || d.intruders[i].firstTaFrame >= 0;
        }
    }
    for (size_t i = 0; i < count; ++i) {
        e.unlisted += listed[i] ? 0 : 1;
    }
    for (const DisplayResult& d : result.displays) {
        for (size_t i = 0; i < d.intruders.size() && i < count; ++i) {
            if (!listed[i]) {
                continue;
            }
            const IntruderSummary& s = d.intruders[i];
            IndexEntry::Row r;
            r.display = displayName(d.kind);
            r.atcId = s.atcId;
            r.firstTaFrame = s.firstTaFrame;
            r.firstTaTime = s.firstTaTime;
            r.firstRaFrame = s.firstRaFrame;
            r.firstRaTime = s.firstRaTime;
            r.closest = std::isfinite(s.closestNm);
            r.closestNm = r.closest ? s.closestNm : 0.0;
            r.closestTime = s.closestTime;
            r.closestAltDiff = s.closestAltDiff;
            e.rows.push_back(r);
        }
    }
    return e;
}

std::string indexPageHtml(const std::vector<IndexEntry>& entries, const std::string& command) {
    std::string html;
    html += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
    html += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    html += "<title>ContactScope preview</title>\n<link rel=\"icon\" href=\"data:,\">\n<style>\n";
    html += kReportCss;
    html += "</style>\n</head>\n<body class=\"index\">\n<header>\n<h1>ContactScope preview</h1>\n";
    html += "<p class=\"meta\">" + std::to_string(entries.size()) +
            (entries.size() == 1 ? " scenario" : " scenarios") + "</p>\n";
    html += "<p class=\"command\">Made by <code>" + htmlEscape(command) + "</code></p>\n";
    html += "</header>\n<main>\n";
    if (entries.empty()) {
        html += "<p class=\"note\">This run wrote no scenario.</p>\n";
    }
    for (const IndexEntry& e : entries) {
        html += entryHtml(e);
    }
    html += "</main>\n</body>\n</html>\n";
    return html;
}

}  // namespace cs::preview
