// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/WglContext.h"

#include "host/FramebufferCalls.h"
#include "host/GLText.h"

#include <windows.h>

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/wglext.h>

namespace smoke {
namespace {

const char kWindowClass[] = "TickoraSmokeHost";

template <typename Fn>
bool Resolve(Fn& fn, const char* name) {
  fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(wglGetProcAddress(name)));
  return fn != nullptr;
}

void SetError(std::string* error, const std::string& text) {
  if (error != nullptr) *error = text;
}

}  // namespace

std::unique_ptr<WglContext> WglContext::Create(std::string* error) {
  HINSTANCE module = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  windowClass.style = CS_OWNDC;
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = module;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassA(&windowClass);  // fails harmlessly when already registered

  std::unique_ptr<WglContext> self(new WglContext());
  // Never shown: the window only lends its device context to WGL.
  HWND window = CreateWindowExA(0, kWindowClass, "Tickora smoke", WS_OVERLAPPEDWINDOW, 0, 0, 64,
                                64, nullptr, nullptr, module, nullptr);
  if (window == nullptr) return SetError(error, "CreateWindowEx failed"), nullptr;
  self->window = window;
  HDC dc = GetDC(window);
  self->dc = dc;

  PIXELFORMATDESCRIPTOR format{};
  format.nSize = sizeof(format);
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = 32;
  format.cAlphaBits = 8;
  format.cDepthBits = 24;
  format.iLayerType = PFD_MAIN_PLANE;
  const int chosen = ChoosePixelFormat(dc, &format);
  if (chosen == 0 || !SetPixelFormat(dc, chosen, &format))
    return SetError(error, "no OpenGL pixel format"), nullptr;

  // wglCreateContextAttribsARB can only be looked up with some context
  // current: a legacy one serves for that and is thrown away.
  HGLRC legacy = wglCreateContext(dc);
  if (legacy == nullptr || !wglMakeCurrent(dc, legacy))
    return SetError(error, "wglCreateContext failed"), nullptr;
  PFNWGLCREATECONTEXTATTRIBSARBPROC createContextAttribs = nullptr;
  Resolve(createContextAttribs, "wglCreateContextAttribsARB");
  HGLRC core = nullptr;
  if (createContextAttribs != nullptr) {
    const int attributes[] = {WGL_CONTEXT_MAJOR_VERSION_ARB, 4, WGL_CONTEXT_MINOR_VERSION_ARB, 1,
                              WGL_CONTEXT_PROFILE_MASK_ARB, WGL_CONTEXT_CORE_PROFILE_BIT_ARB, 0};
    core = createContextAttribs(dc, nullptr, attributes);
  }
  wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(legacy);
  if (createContextAttribs == nullptr)
    return SetError(error, "wglCreateContextAttribsARB is not available"), nullptr;
  if (core == nullptr || !wglMakeCurrent(dc, core))
    return SetError(error, "no OpenGL 4.1 core context"), nullptr;
  self->context = core;

  if (host::GetFramebufferCalls() == nullptr)
    return SetError(error, "framebuffer-object functions missing"), nullptr;
  return self;
}

WglContext::~WglContext() {
  if (context != nullptr) {
    target.Release();
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(static_cast<HGLRC>(context));
  }
  if (dc != nullptr) ReleaseDC(static_cast<HWND>(window), static_cast<HDC>(dc));
  if (window != nullptr) DestroyWindow(static_cast<HWND>(window));
}

unsigned WglContext::BoundFramebuffer() const {
  GLint bound = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
  return static_cast<unsigned>(bound);
}

std::string WglContext::Renderer() const { return host::GLText(GL_RENDERER); }

std::string WglContext::Version() const { return host::GLText(GL_VERSION); }

bool WglContext::IsCoreProfile() const {
  GLint mask = 0;
  glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &mask);
  return (mask & GL_CONTEXT_CORE_PROFILE_BIT) != 0;
}

void WglContext::Clear(float r, float g, float b, float a) {
  target.Bind();
  target.Clear(r, g, b, a);
}

}  // namespace smoke
