# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: cmake -DPLUGIN=<path> -P check_exports.cmake
# The plug-in exports plugMain and nothing else, and loads no OpenGL library
# of its own: a host picks the GL its context lives in.
if(NOT PLUGIN OR NOT EXISTS "${PLUGIN}")
  message(FATAL_ERROR "PLUGIN='${PLUGIN}' does not exist")
endif()

execute_process(COMMAND nm -D --defined-only "${PLUGIN}"
                OUTPUT_VARIABLE symbols RESULT_VARIABLE nmResult)
if(NOT nmResult EQUAL 0)
  message(FATAL_ERROR "nm failed on ${PLUGIN}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
set(names)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^[0-9a-fA-F]* *[A-Za-z] " "" name "${line}")
  list(APPEND names "${name}")
endforeach()
if(NOT names STREQUAL "plugMain")
  message(FATAL_ERROR "exported symbols are '${names}', expected plugMain alone")
endif()

execute_process(COMMAND readelf -d "${PLUGIN}"
                OUTPUT_VARIABLE dynamic RESULT_VARIABLE readelfResult)
if(NOT readelfResult EQUAL 0)
  message(FATAL_ERROR "readelf failed on ${PLUGIN}")
endif()
string(REGEX MATCHALL "\\(NEEDED\\)[^\n]*\\[[^]]*\\]" needed "${dynamic}")
if(NOT needed)
  message(FATAL_ERROR "no NEEDED entries found: readelf output not understood")
endif()
foreach(entry IN LISTS needed)
  if(entry MATCHES "lib(GL|OpenGL|EGL|GLX|GLESv[0-9])[.]")
    message(FATAL_ERROR "the plug-in links an OpenGL library: ${entry}")
  endif()
endforeach()
message(STATUS "exports: ${names}; ${needed}")
