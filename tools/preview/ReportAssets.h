// The style sheet and script of the report pages, compiled in from
// tools/preview/report/ so that the program writes self-contained pages.
#pragma once

namespace cs::preview {

extern const char* const kReportCss;     // both pages
extern const char* const kReportScript;  // report.html: player, values and timelines

}  // namespace cs::preview
