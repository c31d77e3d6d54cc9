// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the read-out (Digital and Countdown): owns the read-out program and
// draws one blended full-screen pass per character from the glyph atlas,
// each pass limited by the scissor test to the box its glyph can ink when
// asked to. It does not decide what the text says, build the atlas or
// touch the host's state beyond what it sets for its own passes (the caller
// saves and restores that).
#pragma once

#include "ffgl/GLEntryPoints.h"
#include "ffglex/FullScreenQuad.h"
#include "ffglex/ShaderProgram.h"
#include "tickora/DigitalReadout.h"
#include "tickora/GlyphAtlas.h"
#include "tickora/GlyphBox.h"

#include <juce_core/juce_core.h>

#include <array>
#include <cstddef>
#include <cstdint>

namespace tickora {

// One frame of the read-out, as the parameters give it.
struct DigitalFrame {
  uint32_t width = 0;  // output size in pixels
  uint32_t height = 0;
  juce::String text;
  ReadoutStyle style;
  int64_t wallMillis = 0;  // drives the colon animation
  float colour[3] = {0.0f, 0.0f, 0.0f};
  float alpha = 1.0f;  // drawn coverage is multiplied by it
  float scale = 0.0f, spacing = 0.0f, aspect = 0.0f;  // the stored values, unclamped
  GLuint atlasTexture = 0;
  float atlasFill = 0.0f;  // the share of the atlas image holding glyphs
  // Where each glyph inked in the texture; without it a pass keeps to its
  // glyph's box.
  const GlyphAtlas* atlas = nullptr;
  bool clipToGlyphBoxes = true;
};

class DigitalRenderer {
 public:
  DigitalRenderer() = default;
  DigitalRenderer(const DigitalRenderer&) = delete;
  DigitalRenderer& operator=(const DigitalRenderer&) = delete;

  // With the host's context current. `width` and `height` are the output's.
  // False when the program did not build (the driver's message is out).
  bool Create(uint32_t width, uint32_t height);
  void Resize(uint32_t width, uint32_t height);
  void Release();

  void Draw(const DigitalFrame& frame, const ffglex::FullScreenQuad& quad) const;

  GLuint Program() const { return program.Id(); }

 private:
  void SendLook(const DigitalFrame& frame) const;
  void LookUpUniforms();
  bool PassBox(size_t index, const GlyphBoxInputs& box, int glyph, const GlyphAtlas* atlas,
               PixelRect& rect, bool& bounded) const;

  // Each pass's rectangle from the frame before, with what it was worked out
  // from: the boxes follow the parameters and the layout, which seldom
  // change, and working one out (in doubles, twice) costs more than the
  // rest of the pass on the CPU.
  struct PassRect {
    GlyphBoxInputs box;
    int glyph = -1;
    GlyphAtlas::InkBox ink;
    int side = -1;
    bool inked = false;
    bool bounded = false;
    PixelRect rect;
  };
  mutable std::array<PassRect, 16> passRects;

  // Looked up once per program: a lookup by name costs more than the
  // frame's arithmetic.
  enum Uniform {
    kResolution, kScale, kSpacing, kAspect, kColonWidth, kRed, kGreen, kBlue, kMaxst, kW,
    kColourAlpha, kAtlasFill, kPitch, kCount, kSeparator, kBlack, kLeft, kAddH, kUniforms
  };
  GLint location[kUniforms] = {};
  ffglex::ShaderProgram program;
};

}  // namespace tickora
