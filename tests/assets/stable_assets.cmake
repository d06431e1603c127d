# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the pictures and manuals twice into fresh folders, more than a second
# apart and under two time zones, and fails unless both folders hold exactly
# the files the build expects (FILES, comma-separated) with identical bytes.
# A date or a random id in a file makes every build look changed.
#   cmake -DGENERATOR=<vigilo-make-assets> -DWORK=<dir> -DFILES=a,b,... -P stable_assets.cmake
string(REPLACE "," ";" expected "${FILES}")
list(SORT expected)

foreach(run a b)
  file(REMOVE_RECURSE ${WORK}/${run})
  file(MAKE_DIRECTORY ${WORK}/${run})
endforeach()

function(draw folder zone)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env TZ=${zone} QT_QPA_PLATFORM=offscreen ${GENERATOR} ${folder}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "vigilo-make-assets ${folder} failed (${rc}):\n${out}")
  endif()
endfunction()

draw(${WORK}/a UTC)
# A stamp of the wall clock shows only once the clock has moved on.
execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 1.1)
# POSIX zone text: needs no zone database.
draw(${WORK}/b XYZ-9)

set(failures "")
foreach(run a b)
  file(GLOB_RECURSE written LIST_DIRECTORIES false RELATIVE ${WORK}/${run} ${WORK}/${run}/*)
  list(SORT written)
  if(NOT written STREQUAL expected)
    string(APPEND failures "run ${run} wrote [${written}], the build expects [${expected}]\n")
  endif()
endforeach()
foreach(file IN LISTS expected)
  if(NOT EXISTS ${WORK}/a/${file} OR NOT EXISTS ${WORK}/b/${file})
    continue()
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/a/${file} ${WORK}/b/${file}
                  RESULT_VARIABLE differ)
  if(NOT differ EQUAL 0)
    string(APPEND failures "${file} differs between two drawings (${WORK}/a, ${WORK}/b)\n")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
message(STATUS "${expected}: identical in two drawings")
