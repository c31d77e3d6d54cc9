// SPDX-License-Identifier: GPL-3.0-or-later
// The debugger's message channel: OutputDebugStringA on Windows, nothing
// elsewhere (standard output still receives every message).
#pragma once

namespace ffgl::platform {
void WriteDebuggerOutput(const char* text);
}
