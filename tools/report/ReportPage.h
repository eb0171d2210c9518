// report.html, the page of one scenario run: a static page (inline style,
// scripts and data, images by relative file name) that opens from the file
// system. The page's frame and header are the same for every kind of run;
// what the page shows comes from `data` (JSON, embedded so that no text in
// it can end its element) and the run kind's script, which builds on the
// shared player (tools/report/assets/player.js).
#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace cs::report {

struct PageHead {
    std::string tool;  // "preview", "gauge workbench": the window title's last part
    std::string name;  // the scenario's name
    std::string title, file, expect;
    std::string command;  // the command line that made the run
};

std::string reportPageHtml(const PageHead& head, const nlohmann::ordered_json& data,
                           std::string_view kindScript);

}  // namespace cs::report
