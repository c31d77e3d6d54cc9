// SPDX-License-Identifier: GPL-3.0-or-later
// The glyph atlas: the glyphs of tickora/GlyphSet.h rasterised by JUCE into a
// grid of square cells of a square image as wide as the output, uploaded as
// coverage, one byte per texel. The picture is defined as JUCE's drawing of
// all glyphs into one image ("whole-atlas drawing"); a rebuild gets the same
// bytes by drawing each glyph alone into an image the size of its cell, and
// falls back to the whole drawing when a glyph's ink leaves its cell (only
// then can a neighbour's ink or the image's edge matter). Each cell is
// uploaded as soon as it is drawn; the scratch memory it is drawn into is
// one per process, kept for the next rebuild, and no whole image is kept
// unless RecreateImage asks for one. Each glyph's ink box is
// recorded for the read-out's scissor. The texture is created at the first
// rebuild and deleted by Release, both with the host's context current.
// Move-only, so that exactly one atlas ever deletes the texture.
#pragma once

#include "ffgl/GLEntryPoints.h"
#include "tickora/GlyphSet.h"

#include <juce_graphics/juce_graphics.h>

#include <array>
#include <cassert>
#include <cstdint>
#include <utility>
#include <vector>

namespace tickora {

class GlyphAtlas {
 public:
  // Widest atlas image drawn. Wider outputs show the glyphs of a 4096-pixel
  // atlas scaled up rather than allocating hundreds of megabytes per instance.
  static constexpr int kMaxSide = 4096;

  // Texels of the uploaded image holding a glyph's ink: [x0, x1) x [y0, y1),
  // image rows running down.
  struct InkBox {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool Empty() const { return x1 <= x0 || y1 <= y0; }
  };

  GlyphAtlas() = default;
  GlyphAtlas(const GlyphAtlas&) = delete;
  GlyphAtlas& operator=(const GlyphAtlas&) = delete;
  // The source is left owning nothing. The target of an assignment must own
  // no texture either (released or never rebuilt): it would be lost.
  GlyphAtlas(GlyphAtlas&& other) noexcept { TakeFrom(other); }
  GlyphAtlas& operator=(GlyphAtlas&& other) noexcept {
    assert(atlasTexture == 0 && "release before assigning over an atlas");
    if (this != &other) TakeFrom(other);
    return *this;
  }
  ~GlyphAtlas() = default;

  // Sizes the next Rebuild for an output `width` pixels wide (the height
  // plays no part); allocates nothing. The texture keeps its size and
  // content until then.
  void SetWidth(uint32_t width, int maxTextureSize);
  // The same, and keeps a new, uncleared whole-atlas image that every
  // Rebuild draws all glyphs into (the reference drawing).
  void RecreateImage(uint32_t width, int maxTextureSize);

  // Draws the glyphs in the family and style and uploads them, whatever
  // pixel-store state the host left. Returns false when there is nothing to
  // draw (zero width) or the upload raised a GL error (the glyphs are then
  // not in the texture).
  bool Rebuild(const juce::String& family, int styleFlags);

  void Release();

  GLuint Texture() const { return atlasTexture; }
  int ImageSide() const { return atlasImage.isValid() ? atlasImage.getWidth() : 0; }
  int TextureSide() const { return atlasTextureSide; }
  // Part of the texture the image covered at the last upload, per axis.
  float UploadedFill() const { return uploadedFill; }
  // Side of the image last uploaded, and where each glyph inked in it.
  int UploadedSide() const { return uploadedSide; }
  const InkBox& Ink(int glyph) const { return uploadedInk[static_cast<size_t>(glyph)]; }
  // Whether the last Rebuild had to draw the whole atlas.
  bool DrewWholeAtlas() const { return drewWhole; }
  const juce::Image& Image() const { return atlasImage; }

  // Side of the texture storage: the width rounded up to a multiple of 16.
  static int TextureSideFor(int width);
  // Cell `index` of an image `side` wide, with the cells tiling the image.
  static juce::Rectangle<int> CellArea(int side, int index);
  // The font the glyphs are drawn in, for an image `side` wide.
  static juce::Font FontFor(const juce::String& family, int styleFlags, int side);
  // Glyph `glyph` drawn alone: its cell's coverage, row by row, as the whole
  // drawing of an image `side` wide leaves that cell. False when its ink
  // leaves the cell; `coverage` is then of no use.
  static bool DrawCell(const juce::Font& font, int side, int glyph, juce::Image& scratch,
                       std::vector<uint8_t>& coverage);
  // The same into `coverage` (the cell's bytes, all zero on entry), whose
  // non-zero bytes then lie within `ink` (texels of the image; empty when
  // none). Leaves `scratch` as clear as it found it.
  static bool DrawCellInto(const juce::Font& font, int side, int glyph, juce::Image& scratch,
                           uint8_t* coverage, InkBox& ink);
  // The whole drawing: every glyph into `image` (cleared, `side` square).
  static void DrawWhole(juce::Image& image, const juce::Font& font, int side);

 private:
  void TakeFrom(GlyphAtlas& other);
  void ClearToTransparent();

  juce::Image atlasImage;
  int side = 0;
  int atlasTextureSide = 0;
  int allocatedSide = 0;  // storage the texture holds, 0 before (or after a failed) allocation
  GLuint atlasTexture = 0;
  float uploadedFill = 1.0f;
  int uploadedSide = 0;
  bool drewWhole = false;
  std::array<InkBox, kGlyphCount> uploadedInk{};
  // Where each glyph's cell of the texture holds non-zero bytes (exactly).
  std::array<InkBox, kGlyphCount> cellInk{};
};

}  // namespace tickora
