// SPDX-License-Identifier: GPL-3.0-or-later
// A glyph-atlas rebuild clears the image with a plain fill of its rows
// instead of JUCE's per-pixel clear. Whatever the image held before, the
// rebuild must end with exactly the pixels it gets from an image that JUCE
// itself cleared to transparent white.
#include "host/FrameTarget.h"
#include "host/FramebufferCalls.h"
#include "tests/support/GLTestContext.h"
#include "tickora/FontFamilies.h"
#include "tickora/GlyphAtlas.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<uint8_t> Bytes(const juce::Image& image) {
  juce::Image shared = image;
  const juce::Image::BitmapData pixels(shared, juce::Image::BitmapData::readOnly);
  std::vector<uint8_t> bytes;
  for (int y = 0; y < pixels.height; ++y) {
    const uint8_t* row = pixels.getLinePointer(y);
    bytes.insert(bytes.end(), row, row + pixels.width * pixels.pixelStride);
  }
  return bytes;
}

void Fill(const juce::Image& image, uint8_t value) {
  juce::Image shared = image;
  const juce::Image::BitmapData pixels(shared, juce::Image::BitmapData::writeOnly);
  for (int y = 0; y < pixels.height; ++y)
    std::memset(pixels.getLinePointer(y), value, static_cast<size_t>(pixels.width * pixels.pixelStride));
}

// The texels of `atlas`'s texture that its last upload covered.
std::vector<uint8_t> TextureBytes(const tickora::GlyphAtlas& atlas) {
  const host::FramebufferCalls* fbo = host::GetFramebufferCalls();
  if (fbo == nullptr) return {};
  GLuint framebuffer = 0;
  fbo->genFramebuffers(1, &framebuffer);
  GLint previous = 0;
  glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &previous);
  fbo->bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  fbo->framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, atlas.Texture(),
                            0);
  const int side = atlas.UploadedSide();
  const host::Pixels pixels = host::ReadFramebufferPixels(framebuffer, side, side);
  fbo->bindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
  fbo->deleteFramebuffers(1, &framebuffer);
  return pixels.rgba;
}

class AtlasClear : public testing_support::GLTest {};

// Each rebuild writes a glyph's cell only where the old or the new glyph has
// ink: after other families, styles and sizes of the same storage, the
// texture must hold what a fresh atlas's does.
TEST_F(AtlasClear, RebuildOverOtherGlyphsMatchesAFreshTexture) {
  const juce::StringArray families = tickora::InstalledFontFamilies();
  const juce::String family = juce::Font::getDefaultSansSerifFontName();
  const juce::String other = families.isEmpty() ? family : families[families.size() - 1];
  for (int width : {200, 999}) {
    tickora::GlyphAtlas fresh;
    fresh.SetWidth(static_cast<uint32_t>(width), 0);
    ASSERT_TRUE(fresh.Rebuild(family, 0));

    tickora::GlyphAtlas reused;
    reused.SetWidth(static_cast<uint32_t>(width + 1), 0);  // same storage, other cells
    ASSERT_TRUE(reused.Rebuild(other, 1));
    reused.SetWidth(static_cast<uint32_t>(width), 0);
    ASSERT_TRUE(reused.Rebuild(other, 2));
    ASSERT_TRUE(reused.Rebuild(family, 1));
    ASSERT_TRUE(reused.Rebuild(family, 0));

    const std::vector<uint8_t> expected = TextureBytes(fresh);
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(TextureBytes(reused) == expected) << "width " << width;
    fresh.Release();
    reused.Release();
  }
}

TEST_F(AtlasClear, RebuildOverOldContentMatchesAJuceClearedImage) {
  const juce::String family = juce::Font::getDefaultSansSerifFontName();
  for (int width : {15, 200, 1000}) {
    for (int style : {0, 1}) {
      tickora::GlyphAtlas reference;
      reference.RecreateImage(static_cast<uint32_t>(width), 0);
      juce::Image referenceImage = reference.Image();
      referenceImage.clear(referenceImage.getBounds(), juce::Colours::transparentWhite);
      ASSERT_TRUE(reference.Rebuild(family, style));

      // Old glyphs and undefined memory alike: every byte set.
      tickora::GlyphAtlas dirty;
      dirty.RecreateImage(static_cast<uint32_t>(width), 0);
      Fill(dirty.Image(), 0xA5);
      ASSERT_TRUE(dirty.Rebuild(family, style));

      const std::vector<uint8_t> expected = Bytes(reference.Image());
      const std::vector<uint8_t> got = Bytes(dirty.Image());
      ASSERT_EQ(got.size(), expected.size());
      size_t differing = 0;
      for (size_t i = 0; i < got.size(); ++i) differing += got[i] != expected[i] ? 1 : 0;
      EXPECT_EQ(differing, 0u) << "width " << width << ", style " << style;

      size_t ink = 0;
      for (uint8_t b : expected) ink += b != 0 ? 1 : 0;
      if (width >= 200) {
        EXPECT_GT(ink, 0u) << "width " << width << ": no glyph drawn";
      }

      reference.Release();
      dirty.Release();
    }
  }
}

}  // namespace
