// SPDX-License-Identifier: GPL-3.0-or-later
// The system's GL header first, the plug-in's declarations after it: the
// other order of gl_header_coexistence_test.cpp.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include "ffgl/GLEntryPoints.h"

bool BlendEnabledThroughTable() { return ffgl::gl::glIsEnabled(GL_BLEND) == GL_TRUE; }
