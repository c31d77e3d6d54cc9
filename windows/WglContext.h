// SPDX-License-Identifier: GPL-3.0-or-later
// A hidden window with an OpenGL 4.1 core-profile context made through
// wglCreateContextAttribsARB, and the hosts' RGBA8 FrameTarget to draw into:
// what a Windows video host gives a plug-in, and nothing more.
#pragma once

#include "host/FrameTarget.h"
#include "host/Pixels.h"

#include <memory>
#include <string>

namespace smoke {

class WglContext {
 public:
  // Null, with the reason in `error`, when no 4.1 core context can be made.
  static std::unique_ptr<WglContext> Create(std::string* error);
  ~WglContext();
  WglContext(const WglContext&) = delete;
  WglContext& operator=(const WglContext&) = delete;

  // (Re)creates the framebuffer at that size, binds it and sets the viewport.
  bool SetFramebufferSize(int width, int height) { return target.Resize(width, height); }
  unsigned Framebuffer() const { return target.Framebuffer(); }
  // The framebuffer bound now, to see that a plug-in left it as it found it.
  unsigned BoundFramebuffer() const;
  std::string Renderer() const;
  std::string Version() const;
  bool IsCoreProfile() const;

  // Binds the framebuffer with a viewport over all of it, then clears it.
  void Clear(float r, float g, float b, float a);
  host::Pixels ReadPixels() const { return target.ReadPixels(); }

 private:
  WglContext() = default;

  void* window = nullptr;  // HWND
  void* dc = nullptr;      // HDC
  void* context = nullptr; // HGLRC
  host::FrameTarget target;
};

}  // namespace smoke
