// SPDX-License-Identifier: GPL-3.0-or-later
// The scissor rectangle of a full-screen pass that can only put ink inside a
// known box: the renderer then shades that box instead of the whole output.
// Boxes are given in pixels of the output size the programs are told
// ("resolution") and placed in the host's viewport, within the host's own
// scissor rectangle when it has one. Restore puts the host's scissor state
// back.
#pragma once

#include "ffgl/GLEntryPoints.h"
#include "tickora/PixelRect.h"

#include <cstdint>

namespace tickora {

class PassScissor {
 public:
  // Reads the host's viewport and scissor state and enables the test.
  PassScissor(uint32_t outputWidth, uint32_t outputHeight);

  // `box` in viewport pixels. The same box when the viewport has the output's
  // size; otherwise scaled to the viewport (the quad spans the viewport
  // whatever its size) and widened by a pixel for the rounding.
  PixelRect InViewport(const PixelRect& box) const;
  int ViewportX() const { return viewport[0]; }
  int ViewportY() const { return viewport[1]; }
  int ViewportWidth() const { return viewport[2]; }
  int ViewportHeight() const { return viewport[3]; }

  // Limits the next draw to `box` (viewport pixels), or to the host's area
  // when `box` is null (it could not be worked out). False when nothing of
  // the box is visible, so the draw can be skipped.
  bool Limit(const PixelRect* box);

  void Restore();

 private:
  uint32_t outputWidth, outputHeight;
  GLint viewport[4] = {0, 0, 0, 0};
  GLint hostBox[4] = {0, 0, 0, 0};
  GLboolean hostScissor = GL_FALSE;
};

}  // namespace tickora
