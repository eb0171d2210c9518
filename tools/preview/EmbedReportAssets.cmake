# Writes OUTPUT, a C++ source holding the report pages' style sheet and
# script (ASSET_DIR/report.css, ASSET_DIR/report.js) as text.
set(body "")
foreach(pair IN ITEMS "kReportCss=report.css" "kReportScript=report.js")
  string(REPLACE "=" ";" parts ${pair})
  list(GET parts 0 symbol)
  list(GET parts 1 name)
  file(READ ${ASSET_DIR}/${name} text)
  foreach(forbidden IN ITEMS ")csasset\"" "</script" "</style")
    string(FIND "${text}" "${forbidden}" clash)
    if(NOT clash EQUAL -1)
      message(FATAL_ERROR "${ASSET_DIR}/${name} contains ${forbidden}, which would end it early")
    endif()
  endforeach()
  string(APPEND body "const char* const ${symbol} = R\"csasset(${text})csasset\";\n")
endforeach()
file(WRITE ${OUTPUT}.new
"// Generated from tools/preview/report/ when the preview tool is built.\n"
"#include \"tools/preview/ReportAssets.h\"\n\n"
"namespace cs::preview {\n\n${body}\n}  // namespace cs::preview\n")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
