# The release number, held only by project() in the top CMakeLists.txt
# (2.0.0.1: major, minor, patch, tweak). The DLL's version resource, the
# package's file name and the preview's --version all take it from here.
# Releases are shown as major.minor.tweak ("2.0.1"), so the patch field
# must stay 0 or two releases would show the same text.
if(NOT PROJECT_VERSION_PATCH EQUAL 0 OR PROJECT_VERSION_TWEAK STREQUAL "")
  message(FATAL_ERROR "The project version ${PROJECT_VERSION} must read major.minor.0.tweak: "
                      "it is shown as major.minor.tweak")
endif()
set(CS_VERSION_SHOWN "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_TWEAK}")
set(CS_PACKAGE_FILE_NAME "ContactScope-${CS_VERSION_SHOWN}-win32")

# The copyright line of LICENSE, which the DLL's version resource repeats.
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE CS_COPYRIGHT REGEX "^Copyright " LIMIT_COUNT 1)
if(CS_COPYRIGHT STREQUAL "")
  message(FATAL_ERROR "LICENSE has no line starting with \"Copyright \"")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)

# cs/Version.h for C, C++ and the resource compiler.
configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in ${CMAKE_BINARY_DIR}/generated/cs/Version.h
               @ONLY)
add_library(cs_version INTERFACE)
target_include_directories(cs_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
