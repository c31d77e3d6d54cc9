// SPDX-License-Identifier: GPL-3.0-or-later
// Points the plug-in's entry-point table at functions that do nothing, so
// that what is left of a frame is the plug-in's own CPU work.
#pragma once

#include "ffgl/GLEntryPoints.h"

namespace bench {

// Returns the table that was installed before. The viewport query answers
// width × height, as a host's would for an instance of that size (the
// plug-in takes a shorter path when they agree).
ffgl::GLEntryPoints InstallNoOpGL(int viewportWidth, int viewportHeight);

}  // namespace bench
