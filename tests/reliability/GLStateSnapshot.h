// SPDX-License-Identifier: GPL-3.0-or-later
// The host's side of the GL state that a plug-in must leave as it found it.
// Read straight from the driver, never through the plug-in's entry-point
// table, so that a test seam over that table cannot hide a change. The host
// objects below put values into that state that a plug-in would never choose
// by itself, so that a missing restore shows as a difference.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace reliability {

struct GLStateSnapshot {
  int program = 0;
  int vertexArray = 0;
  int arrayBuffer = 0;
  int elementBuffer = 0;
  int activeTexture = 0;
  int texture2DUnit0 = 0;
  int texture2DUnit1 = 0;
  int drawFramebuffer = 0;
  int readFramebuffer = 0;
  bool blend = false;
  bool depthTest = false;
  bool scissorTest = false;
  bool cullFace = false;
  int blendSrcRGB = 0, blendDstRGB = 0, blendSrcAlpha = 0, blendDstAlpha = 0;
  int blendEquationRGB = 0, blendEquationAlpha = 0;
  int viewport[4] = {0, 0, 0, 0};
  int unpackAlignment = 0;
  // Everything else a plug-in could disturb, by name: pixel store, buffer
  // bindings per target, texture and sampler bindings per unit, every
  // enable, masks, blend equations and colour, polygon mode, face culling,
  // depth, stencil and logic-op settings, sample mask, scissor box,
  // framebuffer and renderbuffer bindings, draw and read buffers.
  std::vector<std::pair<std::string, std::vector<double>>> wide;
};

// Needs a current context.
GLStateSnapshot CaptureGLState();

// One "name: before -> after" line per field that differs; empty when equal.
std::string DescribeDifferences(const GLStateSnapshot& before, const GLStateSnapshot& after);

// The current GL error, clearing every pending one (0 when none).
unsigned TakeGLErrors();

// Waits for all rendering to finish, as presenting a frame does.
void FinishGL();

// Objects of the host's own, bound the way a busy host might leave them
// before it calls a plug-in: its program and vertex array with an element
// buffer, an array buffer, different 2D textures on units 0 and 1,
// subtractive blending with unusual factors, depth, scissor and cull tests
// on, an unpack alignment of 2.
class HostObjects {
 public:
  bool Create();
  void Release();
  // Binds everything above and `framebuffer` with that viewport; the scissor
  // box is the viewport. `activeUnit` 0 or 1 is the texture unit left active.
  void Bind(unsigned framebuffer, int x, int y, int width, int height, int activeUnit = 1) const;

  unsigned program = 0;
  unsigned vertexArray = 0;
  unsigned arrayBuffer = 0;
  unsigned elementBuffer = 0;
  unsigned texture0 = 0;
  unsigned texture1 = 0;
};

}  // namespace reliability
