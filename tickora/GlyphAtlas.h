// SPDX-License-Identifier: GPL-3.0-or-later
// The glyph atlas: the 13 glyphs rasterised by JUCE into a 4 x 4 grid of
// square cells in one image as wide as the output, uploaded into one texture.
// The texture is created at the first rebuild and deleted by Release, both
// with the host's context current. Move-only, so that exactly one atlas ever
// deletes the texture.
#pragma once

#include "ffgl/GLEntryPoints.h"

#include <juce_graphics/juce_graphics.h>

#include <cassert>
#include <utility>

namespace tickora {

class GlyphAtlas {
 public:
  // Widest atlas image drawn. Wider outputs show the glyphs of a 4096-pixel
  // atlas scaled up rather than allocating hundreds of megabytes per instance.
  static constexpr int kMaxSide = 4096;

  GlyphAtlas() = default;
  GlyphAtlas(const GlyphAtlas&) = delete;
  GlyphAtlas& operator=(const GlyphAtlas&) = delete;
  // The source is left owning nothing. The target of an assignment must own
  // no texture either (released or never rebuilt): it would be lost.
  GlyphAtlas(GlyphAtlas&& other) noexcept
      : atlasImage(std::exchange(other.atlasImage, juce::Image())),
        atlasTextureSide(std::exchange(other.atlasTextureSide, 0)),
        atlasTexture(std::exchange(other.atlasTexture, 0)),
        uploadedFill(std::exchange(other.uploadedFill, 1.0f)) {}
  GlyphAtlas& operator=(GlyphAtlas&& other) noexcept {
    assert(atlasTexture == 0 && "release before assigning over an atlas");
    if (this != &other) {
      atlasImage = std::exchange(other.atlasImage, juce::Image());
      atlasTextureSide = std::exchange(other.atlasTextureSide, 0);
      atlasTexture = std::exchange(other.atlasTexture, 0);
      uploadedFill = std::exchange(other.uploadedFill, 1.0f);
    }
    return *this;
  }
  ~GlyphAtlas() = default;

  // A new, uncleared image for an output `width` pixels wide (the height
  // plays no part). The texture keeps its size and content until the next
  // Rebuild.
  void RecreateImage(uint32_t width, int maxTextureSize);

  // Clears the image, draws the glyphs in the family and style and uploads
  // them, whatever pixel-store state the host left. Returns false when there
  // is no image to draw or the upload raised a GL error (the glyphs are then
  // not in the texture).
  bool Rebuild(const juce::String& family, int styleFlags);

  void Release();

  GLuint Texture() const { return atlasTexture; }
  int ImageSide() const { return atlasImage.isValid() ? atlasImage.getWidth() : 0; }
  int TextureSide() const { return atlasTextureSide; }
  // Part of the texture the image covered at the last upload, per axis.
  float UploadedFill() const { return uploadedFill; }
  const juce::Image& Image() const { return atlasImage; }

  // Side of the texture storage: the width rounded up to a multiple of 16.
  static int TextureSideFor(int width);

 private:
  void ClearToTransparent();

  juce::Image atlasImage;
  int atlasTextureSide = 0;
  GLuint atlasTexture = 0;
  float uploadedFill = 1.0f;
};

}  // namespace tickora
