// SPDX-License-Identifier: GPL-3.0-or-later
// The system's OpenGL declarations for the host side, on either platform:
// Mesa's core-profile header with prototypes on Linux (the host links
// libOpenGL), the GL 1.1 header plus extension types on Windows (whose
// OpenGL32.dll exports GL 1.1 alone; see FramebufferCalls.h). The plug-in
// never includes this: it resolves all of its GL through its own table.
#pragma once

#if defined(_WIN32)
#include <windows.h>

#include <GL/gl.h>
#include <GL/glext.h>
#else
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>
#endif
