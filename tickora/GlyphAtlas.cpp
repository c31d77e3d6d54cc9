// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/GlyphAtlas.h"

#include "ffglex/ScopedUnpackState.h"
#include "tickora/DigitalReadout.h"
#include "tickora/FontServiceLock.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace ffgl::gl;

namespace tickora {
namespace {

// Reads every pending GL error; true when there was one.
bool DrainGLErrors() {
  bool any = false;
  // Bounded: a lost context may answer an error for ever.
  for (int i = 0; i < 32 && glGetError() != GL_NO_ERROR; ++i) any = true;
  return any;
}

}  // namespace

int GlyphAtlas::TextureSideFor(int width) {
  return static_cast<int>(std::ceil(static_cast<double>(width) * 0.0625) * 16.0);
}

void GlyphAtlas::RecreateImage(uint32_t width, int maxTextureSize) {
  int side = static_cast<int>(std::min<uint32_t>(width, kMaxSide));
  // The rounded-up storage must still fit the driver's texture limit.
  if (maxTextureSize > 0) side = std::min(side, maxTextureSize - maxTextureSize % 16);
  if (side <= 0) {
    atlasImage = juce::Image();
    atlasTextureSide = 0;
    return;
  }
  atlasImage = juce::Image(juce::Image::ARGB, side, side, false);
  atlasTextureSide = TextureSideFor(side);
}

// What Image::clear to transparent white leaves: premultiplied, every byte of
// every pixel is 0. Written as a plain fill of the rows, which costs a
// fraction of the software renderer's per-pixel loop (half of a rebuild's
// work at 1920 wide otherwise).
void GlyphAtlas::ClearToTransparent() {
  const juce::Image::BitmapData pixels(atlasImage, juce::Image::BitmapData::writeOnly);
  const size_t rowBytes = static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.pixelStride);
  for (int y = 0; y < pixels.height; ++y) std::memset(pixels.getLinePointer(y), 0, rowBytes);
}

bool GlyphAtlas::Rebuild(const juce::String& family, int styleFlags) {
  if (!atlasImage.isValid()) return false;
  const int side = atlasImage.getWidth();

  ClearToTransparent();
  {
    const auto fontService = LockFontService();
    juce::Graphics graphics(atlasImage);
    const float cell = static_cast<float>(side) * 0.25f;
    const float height = cell * 0.9f;
    graphics.setFont(juce::Font(family, height, styleFlags));
    graphics.setColour(juce::Colours::white);
    const juce::StringArray& glyphs = Glyphs();
    for (int i = 0; i < glyphs.size(); ++i) {
      const int x = static_cast<int>(static_cast<float>(i % 4) * cell);
      const int y = static_cast<int>(static_cast<float>(i / 4) * cell);
      const int size = static_cast<int>(cell);
      graphics.drawFittedText(glyphs[i], x, y, size, size, juce::Justification::centred, 1, 0.0f);
    }
  }

  const juce::Image::BitmapData pixels(atlasImage, juce::Image::BitmapData::readOnly);
  if (atlasTexture == 0) {
    glGenTextures(1, &atlasTexture);
    glBindTexture(GL_TEXTURE_2D, atlasTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  } else {
    glBindTexture(GL_TEXTURE_2D, atlasTexture);
  }

  // Errors are flags that reading clears: whatever the host left pending is
  // read (and so consumed) here, or the upload's own could not be told apart.
  DrainGLErrors();
  {
    ffglex::ScopedUnpackState unpack;
    // Every component of a pixel holds the same coverage, so JUCE's BGRA byte
    // order uploads correctly as RGBA.
    if (atlasTextureSide == side) {
      glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(GL_RGBA8), side, side, 0, GL_RGBA,
                   GL_UNSIGNED_BYTE, pixels.data);
    } else {
      glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(GL_RGBA8), atlasTextureSide,
                   atlasTextureSide, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
      glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, side, side, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data);
    }
  }
  // A failed upload (out of memory, say) leaves the glyphs undrawn: the
  // caller keeps the atlas marked and tries again at the next frame.
  if (DrainGLErrors()) return false;
  uploadedFill = static_cast<float>(side) / static_cast<float>(atlasTextureSide);
  return true;
}

void GlyphAtlas::Release() {
  if (atlasTexture != 0) glDeleteTextures(1, &atlasTexture);
  atlasTexture = 0;
}

}  // namespace tickora
