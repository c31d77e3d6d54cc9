// SPDX-License-Identifier: GPL-3.0-or-later
// Shows a frame in the window: the plug-in's RGBA texture composited over
// the chosen background (the same formula as the PNG writer), drawn as one
// full-window triangle into the window's framebuffer.
#pragma once

#include "render/Background.h"

#include <string>

namespace render {

class WindowCompositor {
 public:
  // Needs the window's context current; false with a reason when the
  // program does not build.
  bool Create(std::string* error);
  // GL objects are released explicitly while the context is current.
  void Release();
  void Draw(unsigned texture, int width, int height, const Background& background) const;

 private:
  unsigned program = 0;
  unsigned vertexArray = 0;
};

}  // namespace render
