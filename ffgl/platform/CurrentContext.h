// SPDX-License-Identifier: GPL-3.0-or-later
// Which OpenGL context is current on the calling thread, as the platform's
// window-system binding (EGL or GLX on Linux, WGL on Windows) names it. The
// plug-in links no GL library, so the query is looked up in the libraries
// the host has already loaded. Null when no context is current or no such
// library is loaded (then nothing can be told apart).
#pragma once

namespace ffgl::platform {
// Looks the query up among the libraries loaded now. Cheap to repeat; run it
// whenever an instance is made, when the host's binding is surely loaded.
void FindContextQuery();
const void* CurrentGLContext();
}
