# The release package of the Windows build, ContactScope-<version>-win32.zip,
# laid out the way a user installs it (the folders mirror the simulator's):
#
#   Modules/ContactScope.dll                 the module, the very file the Wine suite tests
#   Gauges/ContactScope/*.xml                the kit's XML gauges
#   Tools/contactscope-preview.exe           the preview tool, with a copy of the module
#   Tools/ContactScope.dll                   beside it so that Tools/ runs on its own,
#   Tools/scenarios/*.json                   and the scenario library
#   Docs/reference.txt, scenario-format.txt  the reference and the scenario format
#   README.txt, LICENSE.txt, dll.xml, panel.cfg.txt
#
#   cmake --build --preset windows --target package
#
# Text files get CRLF line endings (users open them in Notepad) and .txt
# names; the Markdown documents become plain text. The file list is checked
# against tests/package/manifest.txt.

set(CS_PACKAGE_TEXTS ${CMAKE_BINARY_DIR}/package-texts)

include(${CMAKE_CURRENT_LIST_DIR}/MarkdownText.cmake)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${CMAKE_CURRENT_LIST_DIR}/MarkdownText.cmake)

# A text file of the tree as the package carries it: CRLF line endings;
# with CONFIGURE, @VARIABLE@ replaced; with MARKDOWN, Markdown made plain
# text (cmake/MarkdownText.cmake: underlined headings, tables as columns or
# entries, no fences or markup); with REPLACE <text> <by>, a link to another
# document of the tree pointed at its name in the package.
function(cs_package_text source destination)
  cmake_parse_arguments(arg "CONFIGURE;MARKDOWN" "" "REPLACE" ${ARGN})
  set(staged ${CS_PACKAGE_TEXTS}/${destination})
  if(arg_CONFIGURE)
    configure_file(${source} ${staged} @ONLY NEWLINE_STYLE CRLF)
  else()
    file(READ ${source} text)
    string(REPLACE "\r\n" "\n" text "${text}")
    if(arg_MARKDOWN)
      cs_markdown_to_text("${text}" text)
    endif()
    string(REPLACE "\n" "\r\n" text "${text}")
    if(arg_REPLACE)
      list(GET arg_REPLACE 0 from)
      list(GET arg_REPLACE 1 to)
      string(REPLACE "${from}" "${to}" text "${text}")
    endif()
    file(WRITE ${staged}.new "${text}")
    file(COPY_FILE ${staged}.new ${staged} ONLY_IF_DIFFERENT)
    file(REMOVE ${staged}.new)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  endif()
  get_filename_component(folder ${destination} DIRECTORY)
  if(folder STREQUAL "")
    set(folder .)
  endif()
  install(FILES ${staged} DESTINATION ${folder})
endfunction()

install(FILES $<TARGET_FILE:ContactScope> DESTINATION Modules)
install(PROGRAMS $<TARGET_FILE:contactscope-preview> DESTINATION Tools)
install(FILES $<TARGET_FILE:ContactScope> DESTINATION Tools)

cs_package_text(${PROJECT_SOURCE_DIR}/packaging/README.txt.in README.txt CONFIGURE)
cs_package_text(${PROJECT_SOURCE_DIR}/LICENSE LICENSE.txt)
cs_package_text(${PROJECT_SOURCE_DIR}/packaging/dll.xml dll.xml)
cs_package_text(${PROJECT_SOURCE_DIR}/docs/kit/panel.cfg.txt panel.cfg.txt)
cs_package_text(${PROJECT_SOURCE_DIR}/docs/kit/reference.md Docs/reference.txt MARKDOWN)
cs_package_text(${PROJECT_SOURCE_DIR}/docs/scenario-format.md Docs/scenario-format.txt MARKDOWN
                REPLACE docs/kit/reference.md reference.txt)
file(GLOB gauges CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/kit/*.xml)
foreach(gauge IN LISTS gauges)
  get_filename_component(name ${gauge} NAME)
  cs_package_text(${gauge} Gauges/ContactScope/${name})
endforeach()
file(GLOB scenarios CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/scenarios/*.json)
foreach(scenario IN LISTS scenarios)
  get_filename_component(name ${scenario} NAME)
  cs_package_text(${scenario} Tools/scenarios/${name})
endforeach()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ContactScope)
set(CPACK_PACKAGE_VENDOR "The ContactScope developers")
set(CPACK_PACKAGE_VERSION ${CS_VERSION_SHOWN})
set(CPACK_PACKAGE_FILE_NAME ${CS_PACKAGE_FILE_NAME})
# The folders at the top of the zip, as the list above shows them.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_VERBATIM_VARIABLES ON)
include(CPack)
