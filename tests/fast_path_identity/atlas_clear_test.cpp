// SPDX-License-Identifier: GPL-3.0-or-later
// A glyph-atlas rebuild clears the image with a plain fill of its rows
// instead of JUCE's per-pixel clear. Whatever the image held before, the
// rebuild must end with exactly the pixels it gets from an image that JUCE
// itself cleared to transparent white.
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

class AtlasClear : public testing_support::GLTest {};

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
