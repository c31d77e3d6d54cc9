# SPDX-License-Identifier: GPL-3.0-or-later
# JUCE is compiled once, by us, as a small static library made from the three
# module unity files we need. Debian's juce-modules-source-data provides them;
# any other checkout can be used by pointing TICKORA_JUCE_MODULES elsewhere.
set(TICKORA_JUCE_MODULES "/usr/share/juce/modules" CACHE PATH
    "Folder holding the juce_core, juce_events and juce_graphics modules")

if(NOT EXISTS "${TICKORA_JUCE_MODULES}/juce_graphics/juce_graphics.cpp")
  message(FATAL_ERROR "JUCE modules not found in '${TICKORA_JUCE_MODULES}'. "
    "Install juce-modules-source-data or set TICKORA_JUCE_MODULES.")
endif()

set(_juce_sources
  "${TICKORA_JUCE_MODULES}/juce_core/juce_core.cpp"
  "${TICKORA_JUCE_MODULES}/juce_events/juce_events.cpp"
  "${TICKORA_JUCE_MODULES}/juce_graphics/juce_graphics.cpp")

if(TICKORA_JUCE_IMAGE_CODEC_STUBS)
  # Set by the Windows toolchain: see cmake/JuceWindowsCodecs.cmake.
  include(${CMAKE_CURRENT_LIST_DIR}/JuceWindowsCodecs.cmake)
endif()

add_library(tickora_juce STATIC ${_juce_sources})
set_target_properties(tickora_juce PROPERTIES
  POSITION_INDEPENDENT_CODE ON
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON)
target_include_directories(tickora_juce SYSTEM PUBLIC "${TICKORA_JUCE_MODULES}")
target_compile_definitions(tickora_juce PUBLIC
  JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1
  JUCE_STANDALONE_APPLICATION=0
  JUCE_USE_CURL=0
  JUCE_WEB_BROWSER=0
  JUCE_DISPLAY_SPLASH_SCREEN=0
  JUCE_MODULE_AVAILABLE_juce_core=1
  JUCE_MODULE_AVAILABLE_juce_events=1
  JUCE_MODULE_AVAILABLE_juce_graphics=1
  $<$<CONFIG:Debug>:DEBUG=1 _DEBUG=1>
  $<$<NOT:$<CONFIG:Debug>>:NDEBUG=1>)
# JUCE is third-party code: its warnings are not ours to fix.
target_compile_options(tickora_juce PRIVATE -w)

if(WIN32)
  target_link_libraries(tickora_juce PUBLIC z gdi32 ole32 wininet ws2_32 winmm
    shlwapi version imm32 comdlg32 uuid oleaut32 rpcrt4 shell32 user32 kernel32)
else()
  find_package(Freetype REQUIRED)
  find_package(PNG REQUIRED)
  find_package(JPEG REQUIRED)
  find_package(ZLIB REQUIRED)
  find_package(Threads REQUIRED)
  target_link_libraries(tickora_juce PUBLIC Freetype::Freetype PNG::PNG JPEG::JPEG
    ZLIB::ZLIB Threads::Threads ${CMAKE_DL_LIBS} rt)
endif()
