// What every report page carries, compiled in from tools/report/assets/ so
// that the program writes self-contained pages: the style sheet, and the
// script of the player and the timelines' axes that each run kind's own
// script builds on (window.Report).
#pragma once

namespace cs::report {

extern const char* const kReportCss;     // report.html and index.html
extern const char* const kPlayerScript;  // report.html, before the run kind's script

}  // namespace cs::report
