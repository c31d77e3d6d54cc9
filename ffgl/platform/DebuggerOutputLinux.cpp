// SPDX-License-Identifier: GPL-3.0-or-later
#include "ffgl/platform/DebuggerOutput.h"

namespace ffgl::platform {
void WriteDebuggerOutput(const char*) {}
}
