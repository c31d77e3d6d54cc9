// SPDX-License-Identifier: GPL-3.0-or-later
#include "ffgl/platform/CurrentContext.h"

#include <windows.h>

namespace ffgl::platform {

// wglGetCurrentContext lives in OpenGL32.dll, which the plug-in links.
void FindContextQuery() {}

const void* CurrentGLContext() { return reinterpret_cast<const void*>(wglGetCurrentContext()); }

}  // namespace ffgl::platform
