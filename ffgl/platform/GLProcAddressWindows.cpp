// SPDX-License-Identifier: GPL-3.0-or-later
#include "ffgl/platform/GLProcAddress.h"

#include <cstdint>
#include <windows.h>

namespace ffgl::platform {

// wglGetProcAddress knows only extension and post-1.1 functions; for the rest
// some drivers answer small sentinel values (1, 2, 3) or -1 instead of null.
void* GetGLProcAddress(const char* name) {
  void* fn = reinterpret_cast<void*>(wglGetProcAddress(name));
  const auto value = reinterpret_cast<std::intptr_t>(fn);
  if (value == 0 || value == 1 || value == 2 || value == 3 || value == -1) {
    HMODULE module = GetModuleHandleA("OpenGL32.dll");
    fn = module != nullptr ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
  }
  return fn;
}

}  // namespace ffgl::platform
