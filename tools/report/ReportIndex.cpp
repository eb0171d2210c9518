#include "tools/report/ReportIndex.h"

#include "simhost/FilePath.h"
#include "tools/output/HtmlText.h"
#include "tools/report/ReportAssets.h"

namespace cs::report {

using preview::htmlEscape;

namespace {

std::string tableHtml(const IndexEntry& e) {
    std::string html = "<table class=\"firsts\"><thead><tr>";
    for (const std::string& c : e.columns) {
        html += "<th>" + htmlEscape(c) + "</th>";
    }
    html += "</tr></thead><tbody>\n";
    for (const std::vector<IndexCell>& row : e.rows) {
        html += "<tr>";
        for (const IndexCell& cell : row) {
            html +=
                cell.cssClass.empty() ? "<td>" : "<td class=\"" + htmlEscape(cell.cssClass) + "\">";
            html += htmlEscape(cell.text) + "</td>";
        }
        html += "</tr>\n";
    }
    return html + "</tbody></table>\n";
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
    if (!e.sheets.empty()) {
        html += "<div class=\"sheets\">";
        for (const std::string& s : e.sheets) {
            const std::string href = folder + htmlEscape(s);
            html += "<a href=\"" + href + "\"><img src=\"" + href + "\" alt=\"" +
                    htmlEscape(e.name + " " + s) + "\" loading=\"lazy\"></a>";
        }
        html += "</div>\n";
    }
    for (const std::string& n : e.notes) {
        html += "<p class=\"note\">" + htmlEscape(n) + "</p>\n";
    }
    if (!e.columns.empty() && !e.rows.empty()) {
        html += tableHtml(e);
    }
    if (!e.footnote.empty()) {
        html += "<p class=\"note\">" + htmlEscape(e.footnote) + "</p>\n";
    }
    if (e.hasReport) {
        html += "<p><a class=\"open\" href=\"" + folder + "report.html\">" + htmlEscape(e.open) +
                "</a></p>\n";
    }
    return html + "</section>\n";
}

}  // namespace

std::vector<std::string> sheetFiles(const std::vector<std::string>& paths) {
    std::vector<std::string> sheets;
    for (const std::string& path : paths) {
        const std::string file = sim::utf8Path(sim::fsPath(path).filename());
        if (file.size() > 10 && file.compare(file.size() - 10, 10, "-sheet.png") == 0) {
            sheets.push_back(file);
        }
    }
    return sheets;
}

std::string indexPageHtml(const std::vector<IndexEntry>& entries, const std::string& command,
                          const std::string& tool) {
    const std::string heading = "ContactScope " + htmlEscape(tool);
    std::string html;
    html += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
    html += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    html += "<title>" + heading + "</title>\n<link rel=\"icon\" href=\"data:,\">\n<style>\n";
    html += kReportCss;
    html += "</style>\n</head>\n<body class=\"index\">\n<header>\n<h1>" + heading + "</h1>\n";
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

}  // namespace cs::report
