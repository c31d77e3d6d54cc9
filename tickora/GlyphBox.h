// SPDX-License-Identifier: GPL-3.0-or-later
// Where a read-out pass can write, in pixels of the output: the glyph box
// that the Digital vertex stage places (tickora/DigitalShaders.h), worked out
// again on the CPU and widened by a safety margin. Each pass still draws the
// whole full-screen quad; the frame limits the scissor rectangle to this box
// so that the renderer does not shade pixels the pass would discard anyway.
// The constants come from tickora/ShapeConstants.h, shared with the shader;
// keep the formula in step with kDigitalVertexShader: the scissor identity
// test fails when the two disagree.
#pragma once

#include "tickora/PixelRect.h"

namespace tickora {

struct GlyphBoxInputs {
  float width = 0.0f;   // output size in pixels ("resolution")
  float height = 0.0f;
  float scale = 0.0f;   // "scale", "spacing", "h"
  float spacing = 0.0f;
  float aspect = 0.0f;
  float pitch = 0.0f;   // "pitch", "left", "addH" of the pass
  float left = 0.0f;
  float addH = 0.0f;
};

// False when the box cannot be worked out (non-finite input): the pass is
// then left unclipped.
bool GlyphBoxBounds(const GlyphBoxInputs& in, int marginPixels, PixelRect& rect);

// Texels of an atlas image `side` wide that hold ink and that the pass of
// the glyph in cell (column, row) of a 4 x 4 grid can sample: [x0, x1) x
// [y0, y1), image rows running down.
struct InkTexels {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  int side = 0;
  int column = 0, row = 0;
};

// Where the pass can put ink: the pixels whose bilinear footprint (the four
// texels round the sample, the clamp at the image's edge included) reaches
// an ink texel, mapped by the vertex stage's formula and widened by the
// margin. Intersect it with GlyphBoxBounds. False when it cannot be worked
// out: the caller then keeps to the glyph box.
bool GlyphInkBounds(const GlyphBoxInputs& in, const InkTexels& ink, int marginPixels,
                    PixelRect& rect);

}  // namespace tickora
