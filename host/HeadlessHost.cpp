// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/HeadlessHost.h"

#include "host/GLText.h"

#define GL_GLEXT_PROTOTYPES 1
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/glcorearb.h>
#include <dlfcn.h>

namespace host {
namespace {

void SetError(std::string* error, const std::string& text) {
  if (error != nullptr) *error = text;
}

EGLContext CreateContext(EGLDisplay display, EGLContext shareWith, const ContextRequest& request) {
  if (request.api == ContextRequest::Api::kEs) {
    const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION, request.major,
                                 EGL_CONTEXT_MINOR_VERSION, request.minor, EGL_NONE};
    return eglCreateContext(display, EGL_NO_CONFIG_KHR, shareWith, attributes);
  }
  const EGLint profile = request.profile == ContextRequest::Profile::kCore
                             ? EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT
                             : EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT;
  const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION, request.major,
                               EGL_CONTEXT_MINOR_VERSION, request.minor,
                               EGL_CONTEXT_OPENGL_PROFILE_MASK, profile, EGL_NONE};
  return eglCreateContext(display, EGL_NO_CONFIG_KHR, shareWith, attributes);
}

}  // namespace

// ---------------------------------------------------------------- GLContext

std::unique_ptr<GLContext> GLContext::Create(std::string* error) {
  return Create(ContextRequest{}, error);
}

std::unique_ptr<GLContext> GLContext::Create(const ContextRequest& request, std::string* error) {
  auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (getPlatformDisplay == nullptr) {
    SetError(error, "EGL has no eglGetPlatformDisplayEXT");
    return nullptr;
  }
  EGLDisplay display =
      getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  EGLint major = 0, minor = 0;
  if (display == EGL_NO_DISPLAY || !eglInitialize(display, &major, &minor)) {
    SetError(error, "cannot open a surfaceless EGL display (is Mesa's EGL installed?)");
    return nullptr;
  }
  if (!eglBindAPI(request.api == ContextRequest::Api::kEs ? EGL_OPENGL_ES_API : EGL_OPENGL_API)) {
    eglTerminate(display);
    SetError(error, "EGL cannot bind the OpenGL API");
    return nullptr;
  }
  EGLContext context = CreateContext(display, EGL_NO_CONTEXT, request);
  if (context == EGL_NO_CONTEXT) {
    eglTerminate(display);
    SetError(error, "cannot create an OpenGL " + std::to_string(request.major) + "." +
                        std::to_string(request.minor) + " context of the kind asked for");
    return nullptr;
  }
  if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
    eglDestroyContext(display, context);
    eglTerminate(display);
    SetError(error, "cannot make the OpenGL context current");
    return nullptr;
  }
  // Mesa unloads its driver when the display closes; keeping it loaded makes
  // leak checkers see the driver's allocations as what they are.
  dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);

  std::unique_ptr<GLContext> result(new GLContext());
  result->display = display;
  result->context = context;
  return result;
}

std::unique_ptr<GLContext> GLContext::CreateSibling(bool shareObjects, std::string* error) const {
  EGLContext sibling = CreateContext(display, shareObjects ? context : EGL_NO_CONTEXT, ContextRequest{});
  if (sibling == EGL_NO_CONTEXT) {
    SetError(error, "cannot create a second OpenGL 4.1 core context");
    return nullptr;
  }
  if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, sibling)) {
    eglDestroyContext(display, sibling);
    SetError(error, "cannot make the second OpenGL context current");
    return nullptr;
  }
  std::unique_ptr<GLContext> result(new GLContext());
  result->display = display;
  result->context = sibling;
  // One display for both: terminating it would end this context too.
  result->ownsDisplay = false;
  return result;
}

GLContext::~GLContext() {
  if (display == nullptr) return;
  eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context);
  target.Release();
  eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  eglDestroyContext(display, context);
  if (ownsDisplay) eglTerminate(display);
}

bool GLContext::MakeCurrent() {
  return eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context) == EGL_TRUE;
}

void GLContext::ReleaseCurrent() {
  EGLDisplay display = eglGetCurrentDisplay();
  if (display != EGL_NO_DISPLAY)
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

std::string GLContext::Renderer() const { return GLText(GL_RENDERER); }

std::string GLContext::Version() const { return GLText(GL_VERSION); }

std::vector<float> GetUniformFloats(unsigned program, const char* name, int components) {
  std::vector<float> values(static_cast<size_t>(components > 0 ? components : 1), 0.0f);
  const GLint location = glGetUniformLocation(program, name);
  if (location >= 0) glGetUniformfv(program, location, values.data());
  return values;
}

unsigned TakeGLError() { return glGetError(); }

// ------------------------------------------------------------ PluginLibrary

std::unique_ptr<PluginLibrary> PluginLibrary::Load(const std::string& path, std::string* error) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    SetError(error, "cannot load '" + path + "': " + (reason != nullptr ? reason : "unknown"));
    return nullptr;
  }
  auto entry = reinterpret_cast<PlugMainFunc>(dlsym(handle, "plugMain"));
  if (entry == nullptr) {
    dlclose(handle);
    SetError(error, "'" + path + "' is not an FFGL plug-in: it has no plugMain");
    return nullptr;
  }
  return std::unique_ptr<PluginLibrary>(new PluginLibrary(handle, entry));
}

PluginLibrary::~PluginLibrary() {
  if (handle != nullptr) dlclose(handle);
}

}  // namespace host
