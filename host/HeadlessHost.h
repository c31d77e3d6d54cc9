// A small FFGL host without a display: a surfaceless EGL OpenGL 4.1 core
// context on Mesa with an RGBA8 framebuffer object, and a plug-in library
// loaded with dlopen and driven only through its plugMain, as a video host
// would. Tests and tools use it; nothing in it knows about Tickora.
#pragma once

#include "ffgl/FFGL.h"
#include "host/PlugMainCalls.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace host {

// RGBA8 pixels, top row first.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;

  const uint8_t* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

class GLContext {
 public:
  // Null, with the reason in `error`, when no 4.1 core context can be made.
  static std::unique_ptr<GLContext> Create(std::string* error = nullptr);
  // A second context on the same display, sharing this one's objects or
  // not, as hosts with several render threads make them. It must be
  // destroyed before this one; it is current when returned.
  std::unique_ptr<GLContext> CreateSibling(bool shareObjects, std::string* error = nullptr) const;
  ~GLContext();
  GLContext(const GLContext&) = delete;
  GLContext& operator=(const GLContext&) = delete;

  bool MakeCurrent();

  // (Re)creates the framebuffer at that size, binds it and sets the viewport.
  bool SetFramebufferSize(int width, int height);
  int Width() const { return width; }
  int Height() const { return height; }
  unsigned Framebuffer() const { return framebuffer; }
  int MaxRenderSize() const;
  std::string Renderer() const;
  std::string Version() const;

  void Clear(float r, float g, float b, float a);
  Pixels ReadPixels() const;
  // Rebinds the framebuffer and viewport, as a host does before each frame.
  void BindFramebuffer();

 private:
  GLContext() = default;
  void* display = nullptr;
  void* context = nullptr;
  bool ownsDisplay = true;
  unsigned framebuffer = 0;
  unsigned colour = 0;
  int width = 0;
  int height = 0;
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
