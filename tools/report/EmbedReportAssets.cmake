# Writes OUTPUT, a C++ source holding text files of the report pages (style
# sheets, scripts) as constants: ASSETS is "symbol=file|symbol=file...",
# HEADER the header declaring them, NAMESPACE theirs.
set(body "")
string(REPLACE "|" ";" pairs "${ASSETS}")
foreach(pair IN LISTS pairs)
  string(REPLACE "=" ";" parts ${pair})
  list(GET parts 0 symbol)
  list(GET parts 1 file)
  file(READ ${file} text)
  foreach(forbidden IN ITEMS ")csasset\"" "</script" "</style")
    string(FIND "${text}" "${forbidden}" clash)
    if(NOT clash EQUAL -1)
      message(FATAL_ERROR "${file} contains ${forbidden}, which would end it early")
    endif()
  endforeach()
  string(APPEND body "const char* const ${symbol} = R\"csasset(${text})csasset\";\n")
endforeach()
file(WRITE ${OUTPUT}.new
"// Generated from the report pages' assets when the tool is built.\n"
"#include \"${HEADER}\"\n\n"
"namespace ${NAMESPACE} {\n\n${body}\n}  // namespace ${NAMESPACE}\n")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
