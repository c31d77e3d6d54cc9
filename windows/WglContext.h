// A hidden window with an OpenGL 4.1 core-profile context made through
// wglCreateContextAttribsARB, and one RGBA8 framebuffer object to draw into:
// what a Windows video host gives a plug-in, and nothing more.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace smoke {

// RGBA8 pixels, top row first.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;

  const uint8_t* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

class WglContext {
 public:
  // Null, with the reason in `error`, when no 4.1 core context can be made.
  static std::unique_ptr<WglContext> Create(std::string* error);
  ~WglContext();
  WglContext(const WglContext&) = delete;
  WglContext& operator=(const WglContext&) = delete;

  // (Re)creates the framebuffer at that size, binds it and sets the viewport.
  bool SetFramebufferSize(int width, int height);
  unsigned Framebuffer() const { return framebuffer; }
  // The framebuffer bound now, to see that a plug-in left it as it found it.
  unsigned BoundFramebuffer() const;
  std::string Renderer() const;
  std::string Version() const;
  bool IsCoreProfile() const;

  void Clear(float r, float g, float b, float a);
  Pixels ReadPixels() const;

 private:
  WglContext() = default;
  void DeleteFramebuffer();

  void* window = nullptr;  // HWND
  void* dc = nullptr;      // HDC
  void* context = nullptr; // HGLRC
  unsigned framebuffer = 0;
  unsigned colour = 0;
  int width = 0;
  int height = 0;
};

}  // namespace smoke
