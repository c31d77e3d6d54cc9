// SPDX-License-Identifier: GPL-3.0-or-later
// A small FFGL host without a display: a surfaceless EGL OpenGL 4.1 core
// context on Mesa with an RGBA8 FrameTarget to draw into, and a plug-in library
// loaded with dlopen and driven only through its plugMain, as a video host
// would. Tests and tools use it; nothing in it knows about Tickora.
#pragma once

#include "ffgl/FFGL.h"
#include "host/FrameTarget.h"
#include "host/Pixels.h"
#include "host/PlugMainCalls.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace host {

// The context a host asks for. Hosts are meant to give 4.1 core; others
// give older versions, compatibility profiles or even OpenGL ES.
struct ContextRequest {
  enum class Api { kDesktop, kEs };
  enum class Profile { kCore, kCompatibility };
  Api api = Api::kDesktop;
  Profile profile = Profile::kCore;
  int major = 4, minor = 1;
};

class GLContext {
 public:
  // Null, with the reason in `error`, when no 4.1 core context can be made.
  static std::unique_ptr<GLContext> Create(std::string* error = nullptr);
  static std::unique_ptr<GLContext> Create(const ContextRequest& request,
                                           std::string* error = nullptr);
  // A second context on the same display, sharing this one's objects or
  // not, as hosts with several render threads make them. It must be
  // destroyed before this one; it is current when returned.
  std::unique_ptr<GLContext> CreateSibling(bool shareObjects, std::string* error = nullptr) const;
  ~GLContext();
  GLContext(const GLContext&) = delete;
  GLContext& operator=(const GLContext&) = delete;

  bool MakeCurrent();
  // Leaves the calling thread with no context current (a context can only
  // be current on one thread).
  static void ReleaseCurrent();

  // The framebuffer the host draws into; see FrameTarget for what each does.
  bool SetFramebufferSize(int width, int height) { return target.Resize(width, height); }
  int Width() const { return target.Width(); }
  int Height() const { return target.Height(); }
  unsigned Framebuffer() const { return target.Framebuffer(); }
  int MaxRenderSize() const { return MaxFramebufferSize(); }
  void Clear(float r, float g, float b, float a) { target.Clear(r, g, b, a); }
  Pixels ReadPixels() const { return target.ReadPixels(); }
  void BindFramebuffer() { target.Bind(); }

  std::string Renderer() const;
  std::string Version() const;

 private:
  GLContext() = default;
  void* display = nullptr;
  void* context = nullptr;
  bool ownsDisplay = true;
  FrameTarget target;
};

// A plug-in library loaded with dlopen; the typed plugMain calls are PlugMainCalls'.
class PluginLibrary : public PlugMainCalls {
 public:
  static std::unique_ptr<PluginLibrary> Load(const std::string& path, std::string* error = nullptr);
  ~PluginLibrary();

 private:
  PluginLibrary(void* library, PlugMainFunc entry) : PlugMainCalls(entry), handle(library) {}
  void* handle = nullptr;
};

// Reads a float uniform of a program (the context must be current).
std::vector<float> GetUniformFloats(unsigned program, const char* name, int components);
// The current GL error, clearing it.
unsigned TakeGLError();

}  // namespace host
