# SPDX-License-Identifier: GPL-3.0-or-later
# Checks which way the includes of src/ point; run by the build (target
# layer_check) so a file that breaks the layering stops it:
#   - the core (files not ending in _window, _form or _ui) includes no window
#     header and nothing of app/;
#   - nothing outside app/ includes app/ (subsystem windows bind to the
#     workspace, never to the main window);
#   - platform/ uses nothing above it;
#   - only sim/ itself uses the simulator.
# Usage: cmake -DSOURCE_DIR=<src> -P layer_check.cmake
file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.cpp ${SOURCE_DIR}/*.h)
set(errors "")
foreach(file IN LISTS files)
  if(file STREQUAL "app/main.cpp")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^#include \"[^\"]+\"")
  string(REGEX MATCH "^[^/]+" folder ${file})
  set(core TRUE)
  if(file MATCHES "_(window|form|ui)\\.(cpp|h)$")
    set(core FALSE)
  endif()
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${line}")
    string(REGEX MATCH "^[^/]+" target "${header}")
    if(core AND header MATCHES "_(window|form|ui)\\.h$")
      list(APPEND errors "${file}: core code includes the window header ${header}")
    endif()
    if(NOT folder STREQUAL "app" AND target STREQUAL "app")
      list(APPEND errors "${file}: only app/ may include ${header}")
    endif()
    if(folder STREQUAL "platform" AND NOT target STREQUAL "platform")
      list(APPEND errors "${file}: platform/ must not use ${header}")
    endif()
    if(NOT folder STREQUAL "sim" AND target STREQUAL "sim")
      list(APPEND errors "${file}: the station must not use the simulator (${header})")
    endif()
  endforeach()
endforeach()
if(errors)
  list(JOIN errors "\n  " text)
  message(FATAL_ERROR "layering broken:\n  ${text}")
endif()
