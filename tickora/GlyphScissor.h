// The scissor rectangle of the read-out passes: each pass is limited to its
// glyph's box (tickora/GlyphBox.h), within the host's viewport and within the
// host's own scissor rectangle when it has one. Restore puts the host's
// scissor state back.
#pragma once

#include "ffgl/GLEntryPoints.h"
#include "tickora/GlyphBox.h"

namespace tickora {

class GlyphScissor {
 public:
  // Reads the host's viewport and scissor state and enables the test.
  GlyphScissor();

  // Limits the next draw to `box` (viewport-relative pixels), or to the
  // host's area when `box` is null (it could not be worked out). False when
  // nothing of the box is visible, so the draw can be skipped.
  bool Limit(const PixelRect* box);

  void Restore();

 private:
  GLint viewport[4] = {0, 0, 0, 0};
  GLint hostBox[4] = {0, 0, 0, 0};
  GLboolean hostScissor = GL_FALSE;
};

}  // namespace tickora
