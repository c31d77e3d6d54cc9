// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/TextLine.h"

#include "ffglex/ClampedTexture.h"
#include "ffglex/ScopedUnpackState.h"
#include "tickora/FontServiceLock.h"
#include "tickora/PassScissor.h"

#include <juce_graphics/juce_graphics.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace ffgl::gl;

namespace tickora {
namespace {

// The quad's texture coordinates span the viewport; the fragment stage maps
// them into the line's rectangle (image rows run down, GL's up).
const char* const kTextVertexShader = R"(#version 410 core
layout( location = 0 ) in vec4 vPosition;
layout( location = 1 ) in vec2 vUV;
uniform vec2 lineLow;
uniform vec2 lineHigh;
out vec2 inLine;
void main()
{
    gl_Position = vPosition;
    vec2 size = max(lineHigh - lineLow, vec2(1e-6));
    inLine = vec2((vUV.x - lineLow.x) / size.x, 1.0 - (vUV.y - lineLow.y) / size.y);
}
)";

const char* const kTextFragmentShader = R"(#version 410 core
uniform sampler2D line;
uniform float cR;
uniform float cG;
uniform float cB;
uniform float alpha;
in vec2 inLine;
out vec4 fragColor;
void main()
{
    float coverage = texture(line, inLine).r;
    fragColor = vec4(cR, cG, cB, coverage * alpha);
}
)";

// Hosts send lines, not paragraphs, and some send them every frame: a bound
// keeps a pasted page from costing a huge rasterisation.
constexpr int kLongestSide = 8192;
constexpr juce::juce_wchar kReplacement = 0xFFFD;

// The length of the valid UTF-8 sequence at `s` (at most `left` bytes), or 0.
int SequenceAt(const unsigned char* s, size_t left, juce::juce_wchar& decoded) {
  const unsigned char lead = s[0];
  int length = 0;
  juce::juce_wchar value = 0;
  if (lead < 0x80) {
    decoded = lead;
    return 1;
  }
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
  } else {
    return 0;
  }
  if (static_cast<size_t>(length) > left) return 0;
  for (int i = 1; i < length; ++i) {
    if ((s[i] & 0xC0) != 0x80) return 0;
    value = (value << 6) | (s[i] & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not characters.
  const juce::juce_wchar smallest[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < smallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
    return 0;
  decoded = value;
  return length;
}

}  // namespace

juce::String SanitisedText(const std::string& bytes, int maxCharacters) {
  std::vector<juce::juce_wchar> characters;
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t at = 0;
  while (at < bytes.size() && static_cast<int>(characters.size()) < maxCharacters) {
    juce::juce_wchar c = kReplacement;
    const int length = SequenceAt(s + at, bytes.size() - at, c);
    at += length > 0 ? static_cast<size_t>(length) : 1;
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) c = ' ';
    characters.push_back(c);
  }
  characters.push_back(0);
  return juce::String(juce::CharPointer_UTF32(characters.data()));
}

bool TextLine::Update(const std::string& bytes, const juce::String& family, int styleFlags,
                      int maxWidth, int lineHeight) {
  if (bytes == madeBytes && family == madeFamily && styleFlags == madeStyle &&
      maxWidth == madeMaxWidth && lineHeight == madeHeight)
    return drawable;
  madeBytes = bytes;
  madeFamily = family;
  madeStyle = styleFlags;
  madeMaxWidth = maxWidth;
  madeHeight = lineHeight;
  drawable = false;
  const juce::String text = SanitisedText(bytes).trim();
  maxWidth = std::min(maxWidth, kLongestSide);
  if (text.isEmpty() || maxWidth < 4 || lineHeight < 2) return false;

  std::vector<uint8_t> coverage;
  {
    auto fontService = LockFontService();
    juce::Font font(family, static_cast<float>(std::min(lineHeight, kLongestSide)), styleFlags);
    juce::GlyphArrangement measured;
    measured.addLineOfText(font, text, 0.0f, 0.0f);
    const float natural = measured.getBoundingBox(0, -1, true).getWidth();
    const float room = static_cast<float>(maxWidth - 2);
    if (!(natural > 0.0f)) return false;
    if (natural > room) font.setHeight(std::max(1.0f, font.getHeight() * room / natural));
    juce::GlyphArrangement line;
    line.addLineOfText(font, text, 0.0f, 0.0f);
    const float inkWidth = line.getBoundingBox(0, -1, true).getWidth();
    width = std::clamp(static_cast<int>(std::ceil(inkWidth)) + 2, 1, maxWidth);
    height = static_cast<int>(std::ceil(font.getHeight())) + 2;
    // Centred across, the font's line (ascent and descent) in the middle.
    line.moveRangeOfGlyphs(0, -1, (static_cast<float>(width) - inkWidth) * 0.5f,
                           1.0f + font.getAscent());
    juce::Image image(juce::Image::ARGB, width, height, true);
    {
      juce::Graphics graphics(image);
      graphics.setColour(juce::Colours::white);
      line.draw(graphics);
    }
    const juce::Image::BitmapData pixels(image, juce::Image::BitmapData::readOnly);
    coverage.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        coverage[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
            pixels.getPixelColour(x, y).getAlpha();
  }

  ffglex::BindClampedTexture(texture, GL_LINEAR);
  {
    ffglex::ScopedUnpackState unpack;
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(GL_R8), width, height, 0, GL_RED,
                 GL_UNSIGNED_BYTE, coverage.data());
  }
  glBindTexture(GL_TEXTURE_2D, 0);
  drawable = texture != 0;
  return drawable;
}

void TextLine::Release() {
  if (texture != 0) glDeleteTextures(1, &texture);
  texture = 0;
  drawable = false;
  madeHeight = -1;
}

bool TextLineRenderer::Create() {
  if (!program.Compile(kTextVertexShader, kTextFragmentShader)) return false;
  const char* const names[kUniforms] = {"lineLow", "lineHigh", "cR", "cG", "cB", "alpha"};
  for (int i = 0; i < kUniforms; ++i) location[i] = glGetUniformLocation(program.Id(), names[i]);
  return true;
}

void TextLineRenderer::Release() {
  program.Release();
  for (GLint& each : location) each = -1;
}

void TextLineRenderer::Draw(const TextLine& line, const PixelRect& rect,
                            const float (&colour)[3], float alpha, uint32_t outputWidth,
                            uint32_t outputHeight, const ffglex::FullScreenQuad& quad) const {
  if (program.Id() == 0 || line.Texture() == 0 || outputWidth == 0 || outputHeight == 0) return;
  PassScissor scissor(outputWidth, outputHeight);
  const PixelRect inViewport = scissor.InViewport(rect);
  if (!scissor.Limit(&inViewport)) {
    scissor.Restore();
    return;
  }
  const float w = static_cast<float>(outputWidth), h = static_cast<float>(outputHeight);
  glUseProgram(program.Id());
  glUniform2f(location[kLow], static_cast<float>(rect.x) / w, static_cast<float>(rect.y) / h);
  glUniform2f(location[kHigh], static_cast<float>(rect.x + rect.width) / w,
              static_cast<float>(rect.y + rect.height) / h);
  for (int i = 0; i < 3; ++i) glUniform1f(location[kRed + i], colour[i]);
  glUniform1f(location[kAlpha], alpha);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, line.Texture());
  // The read-out's blend: colour by coverage, alpha as "over".
  glEnable(GL_BLEND);
  glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  quad.Draw();
  glDisable(GL_BLEND);
  glBindTexture(GL_TEXTURE_2D, 0);
  glUseProgram(0);
  scissor.Restore();
}

}  // namespace tickora
