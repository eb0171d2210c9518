# Writes OUTPUT, a C++ source holding every SCENARIO_DIR/*.json as text, in
# file-name order, for the preview's built-in encounter set.
file(GLOB files ${SCENARIO_DIR}/*.json)
list(SORT files)
set(body "")
foreach(f IN LISTS files)
  get_filename_component(stem ${f} NAME_WE)
  get_filename_component(name ${f} NAME)
  file(READ ${f} text)
  string(FIND "${text}" ")csjson\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${f} contains the text delimiter )csjson\"")
  endif()
  string(APPEND body "    {\"${stem}\", \"builtin:${name}\", R\"csjson(${text})csjson\"},\n")
endforeach()
file(WRITE ${OUTPUT}.new
"// Generated from scenarios/*.json when the preview tool is built.\n"
"#include \"tools/scenario/BuiltinScenarios.h\"\n\n"
"namespace cs::preview {\n\n"
"const BuiltinScenario kBuiltinScenarios[] = {\n${body}};\n"
"const size_t kBuiltinScenarioCount = sizeof kBuiltinScenarios / sizeof kBuiltinScenarios[0];\n\n"
"}  // namespace cs::preview\n")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
