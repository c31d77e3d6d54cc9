// Points the plug-in's entry-point table at functions that do nothing, so
// that what is left of a frame is the plug-in's own CPU work.
#pragma once

#include "ffgl/GLEntryPoints.h"

namespace bench {

// Returns the table that was installed before.
ffgl::GLEntryPoints InstallNoOpGL();

}  // namespace bench
