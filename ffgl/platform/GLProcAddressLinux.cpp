// SPDX-License-Identifier: GPL-3.0-or-later
#include "ffgl/platform/GLProcAddress.h"

#include <dlfcn.h>

namespace ffgl::platform {
namespace {

// Prefer a library the host already loaded; only then load it ourselves.
void* OpenLibrary(const char* soname) {
  void* handle = dlopen(soname, RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
  if (handle == nullptr) handle = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
  return handle;
}

using GetProcFn = void* (*)(const char*);

}  // namespace

// libOpenGL (glvnd) dispatches to whichever vendor owns the current context,
// EGL or GLX alike. libGL's and libEGL's GetProcAddress answer non-null even
// for names that do not exist, so they only serve as fallbacks.
void* GetGLProcAddress(const char* name) {
  static void* openGL = OpenLibrary("libOpenGL.so.0");
  if (openGL != nullptr) {
    if (void* fn = dlsym(openGL, name)) return fn;
  }
  static GetProcFn glxGetProc = [] {
    void* lib = OpenLibrary("libGL.so.1");
    return lib != nullptr ? reinterpret_cast<GetProcFn>(dlsym(lib, "glXGetProcAddressARB"))
                          : nullptr;
  }();
  if (glxGetProc != nullptr) {
    if (void* fn = glxGetProc(name)) return fn;
  }
  static GetProcFn eglGetProc = [] {
    void* lib = OpenLibrary("libEGL.so.1");
    return lib != nullptr ? reinterpret_cast<GetProcFn>(dlsym(lib, "eglGetProcAddress"))
                          : nullptr;
  }();
  if (eglGetProc != nullptr) return eglGetProc(name);
  return nullptr;
}

}  // namespace ffgl::platform
