// SPDX-License-Identifier: GPL-3.0-or-later
#include "ffgl/platform/DebuggerOutput.h"

#include <windows.h>

namespace ffgl::platform {
void WriteDebuggerOutput(const char* text) { OutputDebugStringA(text); }
}
