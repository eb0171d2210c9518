#include "tools/report/ReportPage.h"

#include "tools/output/HtmlText.h"
#include "tools/report/ReportAssets.h"

namespace cs::report {

using preview::htmlEscape;

std::string reportPageHtml(const PageHead& head, const nlohmann::ordered_json& data,
                           std::string_view kindScript) {
    const std::string heading = head.title.empty() ? head.name : head.title;
    std::string html;
    html += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
    html += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    html += "<title>" + htmlEscape(head.name + " - " + heading) + " - ContactScope " +
            htmlEscape(head.tool) + "</title>\n";
    html += "<link rel=\"icon\" href=\"data:,\">\n<style>\n";
    html += kReportCss;
    html += "</style>\n</head>\n<body>\n<header>\n";
    html += "<p class=\"crumb\"><a href=\"../index.html\">All scenarios of this run</a></p>\n";
    html += "<h1>" + htmlEscape(heading) + "</h1>\n";
    html += "<p class=\"meta\"><span class=\"name\">" + htmlEscape(head.name) + "</span> " +
            htmlEscape(head.file) + "</p>\n";
    if (!head.expect.empty()) {
        html +=
            "<p class=\"expect\"><b>What it should show:</b> " + htmlEscape(head.expect) + "</p>\n";
    }
    html += "<p class=\"command\">Made by <code>" + htmlEscape(head.command) + "</code></p>\n";
    html += "</header>\n<main id=\"report\">\n";
    html +=
        "<noscript><p class=\"note\">The player and the charts need JavaScript; the frames "
        "and log.jsonl are in this folder.</p></noscript>\n</main>\n";
    html += "<script type=\"application/json\" id=\"report-data\">";
    html += preview::jsonForScript(data);
    html += "</script>\n<script>\n";
    html += kPlayerScript;
    html += "\n";
    html += kindScript;
    html += "</script>\n</body>\n</html>\n";
    return html;
}

}  // namespace cs::report
