# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds the Windows x86-64 DLL on Linux with Debian's mingw-w64.
# The POSIX thread model compiler is required: the win32 model has no
# std::mutex/std::thread, which JUCE needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TICKORA_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TICKORA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TICKORA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TICKORA_MINGW_TRIPLE}-windres)

# Headers and libraries come from the mingw sysroot only, never from the
# Linux system; programs (ninja, ccache) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${TICKORA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian ships no libpng/libjpeg for mingw: JUCE's image codecs are replaced
# by stubs (cmake/JuceWindowsCodecs.cmake).
set(TICKORA_JUCE_IMAGE_CODEC_STUBS ON)
