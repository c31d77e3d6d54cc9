// SPDX-License-Identifier: GPL-3.0-or-later
// The one framebuffer every host here draws into: a texture-backed RGBA8
// framebuffer object in whatever OpenGL context is current (the headless
// host's EGL context, a preview window's, the Windows smoke host's WGL
// context). A plug-in draws into it as into any host framebuffer; its pixels
// can be read back top row first, and its texture sampled, e.g. to composite
// the frame into a window. It does not make or own the context.
#pragma once

#include "host/Pixels.h"

namespace host {

class FrameTarget {
 public:
  FrameTarget() = default;
  // GL objects cannot outlive their context: call Release() while it is current.
  ~FrameTarget() = default;
  FrameTarget(const FrameTarget&) = delete;
  FrameTarget& operator=(const FrameTarget&) = delete;

  // (Re)allocates the storage at that size, binds the framebuffer and sets
  // the viewport. False when the size is not positive, beyond the GL's
  // limit, or refused.
  bool Resize(int width, int height);
  // Binds the framebuffer and sets the viewport to all of it, as a host
  // does before each frame.
  void Bind() const;
  // Binds the framebuffer and clears it; the viewport is left alone, so a
  // host viewport set for the next frame survives.
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
// first, leaving the read binding, read buffer and pack alignment as they were.
Pixels ReadFramebufferPixels(unsigned framebuffer, int width, int height);

// The largest width and height the current context can render to.
int MaxFramebufferSize();

}  // namespace host
