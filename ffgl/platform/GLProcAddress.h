// SPDX-License-Identifier: GPL-3.0-or-later
// Looks up one OpenGL entry point of the current context by name. One small
// implementation per platform; null when the name cannot be resolved.
#pragma once

namespace ffgl::platform {
void* GetGLProcAddress(const char* name);
}
