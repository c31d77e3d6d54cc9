// A texture-backed RGBA8 framebuffer in whatever OpenGL context is current:
// the EGL context of the headless host or a window's context. A plug-in
// draws into it like into any host framebuffer; its colour texture can then
// be sampled, e.g. to composite the frame into a window.
#pragma once

#include "host/HeadlessHost.h"

namespace host {

class FrameTarget {
 public:
  FrameTarget() = default;
  // GL objects cannot outlive their context: call Release() while it is current.
  ~FrameTarget() = default;
  FrameTarget(const FrameTarget&) = delete;
  FrameTarget& operator=(const FrameTarget&) = delete;

  // (Re)allocates the storage at that size, binds the framebuffer and sets
  // the viewport. False when the size is not positive or the GL refuses it.
  bool Resize(int width, int height);
  void Bind() const;
  void Clear(float r, float g, float b, float a) const;
  Pixels ReadPixels() const;
  void Release();

  unsigned Framebuffer() const { return framebuffer; }
  unsigned Texture() const { return texture; }
  int Width() const { return width; }
  int Height() const { return height; }

 private:
  unsigned framebuffer = 0;
  unsigned texture = 0;
  int width = 0;
  int height = 0;
};

// Reads a framebuffer's colour (0 means the window's back buffer), top row
// first, leaving the read binding and pack alignment as they were.
Pixels ReadFramebufferPixels(unsigned framebuffer, int width, int height);

// The largest width and height the current context can render to.
int MaxFramebufferSize();

}  // namespace host
