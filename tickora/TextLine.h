// SPDX-License-Identifier: GPL-3.0-or-later
// One line of whatever text the host sends ("Label", "End text"), drawn in
// the read-out's font. The glyph atlas holds only the read-out's characters,
// so the line is rasterised whole into a one-byte coverage texture and drawn
// as one blended, scissored quad. Host text is untrusted: invalid UTF-8 is
// replaced rather than decoded, control characters become spaces, and the
// font shrinks until the line fits the width it is given.
#pragma once

#include "ffgl/GLEntryPoints.h"
#include "ffglex/FullScreenQuad.h"
#include "ffglex/ShaderProgram.h"
#include "tickora/PixelRect.h"

#include <juce_core/juce_core.h>

#include <string>

namespace tickora {

// `bytes` as text: each byte that does not start a valid UTF-8 sequence reads
// as U+FFFD, control characters as spaces, and only the first `maxCharacters`
// characters are kept.
juce::String SanitisedText(const std::string& bytes, int maxCharacters = 200);

// A line's coverage texture, rebuilt only when its text, font, style or room
// changes.
class TextLine {
 public:
  TextLine() = default;
  TextLine(const TextLine&) = delete;
  TextLine& operator=(const TextLine&) = delete;

  // With the context current. The line in `family` at a text height of
  // `height` pixels, smaller when it would be wider than `maxWidth`. False
  // when there is nothing to draw (no text, no room, a failed upload).
  bool Update(const std::string& bytes, const juce::String& family, int styleFlags, int maxWidth,
              int height);
  void Release();

  GLuint Texture() const { return texture; }
  int Width() const { return width; }
  int Height() const { return height; }

 private:
  GLuint texture = 0;
  int width = 0, height = 0;
  bool drawable = false;
  // What the texture was made from.
  std::string madeBytes;
  juce::String madeFamily;
  int madeStyle = -1, madeMaxWidth = -1, madeHeight = -1;
};

class TextLineRenderer {
 public:
  TextLineRenderer() = default;
  TextLineRenderer(const TextLineRenderer&) = delete;
  TextLineRenderer& operator=(const TextLineRenderer&) = delete;

  // With the host's context current; false when the program did not build.
  bool Create();
  void Release();

  // The line's texture at `rect` (output pixels, rows running up), its
  // coverage times `alpha` in `colour`, over an output of the given size.
  void Draw(const TextLine& line, const PixelRect& rect, const float (&colour)[3], float alpha,
            uint32_t outputWidth, uint32_t outputHeight,
            const ffglex::FullScreenQuad& quad) const;

  GLuint Program() const { return program.Id(); }

 private:
  ffglex::ShaderProgram program;
  enum Uniform { kLow, kHigh, kRed, kGreen, kBlue, kAlpha, kUniforms };
  GLint location[kUniforms] = {-1, -1, -1, -1, -1, -1};
};

}  // namespace tickora
