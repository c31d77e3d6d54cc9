// SPDX-License-Identifier: GPL-3.0-or-later
// The atlas draws each glyph alone into an image the size of its cell. Where
// it does, the cell must hold exactly the bytes the drawing of the whole
// atlas leaves there, for every installed family, several widths and every
// style; and the fallback must stay the exception.
#include "tickora/FontFamilies.h"
#include "tickora/GlyphAtlas.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using tickora::GlyphAtlas;

TEST(AtlasCell, EachGlyphDrawnAloneMatchesTheWholeAtlas) {
  const juce::StringArray families = tickora::InstalledFontFamilies();
  ASSERT_GT(families.size(), 0);
  int cells = 0, alone = 0;
  for (const juce::String& family : families) {
    for (int side : {97, 640, 1003, 1920}) {
      for (int style : {0, 1, 2}) {
        const juce::Font font = GlyphAtlas::FontFor(family, style, side);
        juce::Image whole(juce::Image::ARGB, side, side, true);
        GlyphAtlas::DrawWhole(whole, font, side);
        const juce::Image::BitmapData pixels(whole, juce::Image::BitmapData::readOnly);
        juce::Image scratch;
        std::vector<uint8_t> coverage;
        for (int g = 0; g < tickora::kGlyphCount; ++g) {
          ++cells;
          if (!GlyphAtlas::DrawCell(font, side, g, scratch, coverage)) continue;
          ++alone;
          const juce::Rectangle<int> cell = GlyphAtlas::CellArea(side, g);
          ASSERT_EQ(coverage.size(), static_cast<size_t>(cell.getWidth() * cell.getHeight()));
          int differing = 0;
          for (int y = 0; y < cell.getHeight(); ++y)
            for (int x = 0; x < cell.getWidth(); ++x)
              differing += coverage[static_cast<size_t>(y * cell.getWidth() + x)] !=
                           pixels.getPixelPointer(cell.getX() + x, cell.getY() + y)[0];
          EXPECT_EQ(differing, 0) << family << ", width " << side << ", style " << style
                                  << ", glyph " << g;
        }
      }
    }
  }
  EXPECT_GT(alone, cells * 9 / 10) << "the whole drawing should be the exception";
}

}  // namespace
