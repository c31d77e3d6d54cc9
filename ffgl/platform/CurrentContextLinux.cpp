// SPDX-License-Identifier: GPL-3.0-or-later
#include "ffgl/platform/CurrentContext.h"

#include <dlfcn.h>

#include <atomic>

namespace ffgl::platform {
namespace {

using GetCurrentFn = void* (*)();

// Only a library the host loaded can hold its current context: never load
// one here.
GetCurrentFn Find(const char* const* libraries, const char* symbol) {
  for (const char* const* name = libraries; *name != nullptr; ++name) {
    void* library = dlopen(*name, RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
    if (library == nullptr) continue;
    auto fn = reinterpret_cast<GetCurrentFn>(dlsym(library, symbol));
    // The count the NOLOAD open added is dropped; the host's own stays.
    dlclose(library);
    if (fn != nullptr) return fn;
  }
  return nullptr;
}

// Found while one thread makes an instance, read by every thread's frames.
std::atomic<GetCurrentFn> egl{nullptr};
std::atomic<GetCurrentFn> glx{nullptr};

}  // namespace

void FindContextQuery() {
  static const char* const kEgl[] = {"libEGL.so.1", "libEGL.so", nullptr};
  static const char* const kGlx[] = {"libGLX.so.0", "libGL.so.1", "libGL.so", nullptr};
  if (egl.load() == nullptr) egl.store(Find(kEgl, "eglGetCurrentContext"));
  if (glx.load() == nullptr) glx.store(Find(kGlx, "glXGetCurrentContext"));
}

// A thread has at most one of the two current for desktop GL: EGL's answer
// when it has one, else GLX's.
const void* CurrentGLContext() {
  if (const GetCurrentFn query = egl.load()) {
    if (void* context = query()) return context;
  }
  const GetCurrentFn query = glx.load();
  return query != nullptr ? query() : nullptr;
}

}  // namespace ffgl::platform
