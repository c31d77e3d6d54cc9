// SPDX-License-Identifier: GPL-3.0-or-later
// The numbers that shape the read-out's glyph boxes and the Classic hands.
// Both are worked out twice: by the shader programs that draw them
// (tickora/DigitalShaders.h, tickora/HandsShaders.h) and on the CPU, to
// limit the shading to where ink can fall (tickora/GlyphBox.h,
// tickora/HandsBox.h). Each number is written here once, as one literal
// that becomes a C++ constexpr double and a GLSL `const float` line, so the
// two sides cannot drift apart; the same decimal text on both sides keeps
// the shaders' floats exactly what a literal in place would give. It does
// not hold the formulas themselves, only their constants.
#pragma once

// name, literal: the box a read-out glyph is drawn in.
#define TICKORA_GLYPH_BOX_CONSTANTS(X)                                               \
  X(kLargestScale, 4.0)      /* "Scale" is clamped to 0..this */                     \
  X(kNaturalScale, 0.91)     /* "Scale" at which glyphs sit at the font's advance */ \
  X(kCellSidePitches, 1.15)  /* a cell's side, in digit pitches of the width */      \
  X(kFitHeight, 1.5)         /* boxes taller than this many outputs shrink */        \
  X(kSpacingNarrowing, 0.25) /* how much "Spacing" narrows a box per unit */         \
  X(kNaturalSpacing, 0.63)   /* "Spacing" that leaves a box as wide as tall */       \
  X(kSmallestBoxSide, 1e-3)  /* in pixels: keeps divisions by the size finite */

// name, literal: the Classic hands, in face units (kFaceUnitsAcross across
// the output's width).
#define TICKORA_HANDS_CONSTANTS(X)                                                   \
  X(kPi, 3.14159265359)                                                              \
  X(kFaceUnitsAcross, 10.0)                                                          \
  X(kHandSizeScale, 0.3)   /* a 0..1 "Width" or "Round corner" times this ... */     \
  X(kHandSizeOffset, 0.1)  /* ... less this, in face units */                        \
  X(kHandLengthScale, 2.0) /* a hand's half length per unit of its length value */   \
  X(kHandTailShift, 0.5)   /* how far a hand's box sits back, in hand widths */      \
  X(kInkEdgeStart, 0.1)    /* distance from the box where coverage starts to fall */ \
  X(kInkEdge, 0.105)       /* distance beyond which a pixel gets no ink at all */

#define TICKORA_CPP_CONSTANT(name, literal) constexpr double name = literal;
#define TICKORA_GLSL_CONSTANT(name, literal) "const float " #name " = " #literal ";\n"

namespace tickora::glyph_box {
TICKORA_GLYPH_BOX_CONSTANTS(TICKORA_CPP_CONSTANT)
}  // namespace tickora::glyph_box

namespace tickora::hands {
TICKORA_HANDS_CONSTANTS(TICKORA_CPP_CONSTANT)
}  // namespace tickora::hands

// The GLSL lines, as one string literal each, to follow a shader's #version.
#define TICKORA_GLYPH_BOX_GLSL TICKORA_GLYPH_BOX_CONSTANTS(TICKORA_GLSL_CONSTANT)
#define TICKORA_HANDS_GLSL TICKORA_HANDS_CONSTANTS(TICKORA_GLSL_CONSTANT)
