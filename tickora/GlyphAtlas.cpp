// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/GlyphAtlas.h"

#include "ffglex/ClampedTexture.h"
#include "ffglex/ScopedUnpackState.h"
#include "tickora/FontServiceLock.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define TICKORA_COPY_SSE2 1
#endif

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

// How far beyond its cell a glyph drawn alone is looked at for ink that
// would leave the cell: the whole drawing would put it in a neighbour.
constexpr int kSpillMargin = 4;

juce::String GlyphText(int glyph) {
  return juce::String::charToString(static_cast<juce::juce_wchar>(kGlyphs[glyph].character));
}

// The glyph in its cell, as the whole drawing places it: the same call with
// the same numbers, whichever image the graphics draws into.
void DrawGlyph(juce::Graphics& graphics, int side, int glyph) {
  const float cell = static_cast<float>(side) * 0.25f;
  const int x = static_cast<int>(static_cast<float>(glyph % kAtlasColumns) * cell);
  const int y = static_cast<int>(static_cast<float>(glyph / kAtlasColumns) * cell);
  const int size = static_cast<int>(cell);
  graphics.drawFittedText(GlyphText(glyph), x, y, size, size, juce::Justification::centred, 1,
                          0.0f);
}

// Component 0 of each pixel of `area` of `pixels`, row by row into `to`
// (rows `stride` bytes apart).
void CopyRows(const juce::Image::BitmapData& pixels, juce::Rectangle<int> area, uint8_t* to,
              size_t stride) {
  const int width = area.getWidth(), step = pixels.pixelStride;
  for (int y = area.getY(); y < area.getBottom(); ++y, to += stride) {
    const uint8_t* from = pixels.getPixelPointer(area.getX(), y);
    int x = 0;
#if defined(TICKORA_COPY_SSE2)
    // Sixteen four-byte pixels a step, their low bytes packed: the copy is
    // most of a rebuild's own work.
    if (step == 4) {
      const __m128i low = _mm_set1_epi32(0xFF);
      for (; x + 16 <= width; x += 16) {
        const __m128i* p = reinterpret_cast<const __m128i*>(from + x * 4);
        const __m128i a = _mm_and_si128(_mm_loadu_si128(p), low);
        const __m128i b = _mm_and_si128(_mm_loadu_si128(p + 1), low);
        const __m128i c = _mm_and_si128(_mm_loadu_si128(p + 2), low);
        const __m128i d = _mm_and_si128(_mm_loadu_si128(p + 3), low);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + x),
                         _mm_packus_epi16(_mm_packs_epi32(a, b), _mm_packs_epi32(c, d)));
      }
    }
#endif
    for (; x + 8 <= width; x += 8) {
      const uint8_t* p = from + x * step;
      to[x] = p[0];
      to[x + 1] = p[step];
      to[x + 2] = p[2 * step];
      to[x + 3] = p[3 * step];
      to[x + 4] = p[4 * step];
      to[x + 5] = p[5 * step];
      to[x + 6] = p[6 * step];
      to[x + 7] = p[7 * step];
    }
    for (; x < width; ++x) to[x] = from[x * step];
  }
}

// Whether the 32 bytes at p are all zero.
bool Zero32(const uint8_t* p) {
  uint64_t words[4];
  std::memcpy(words, p, sizeof(words));
  return (words[0] | words[1] | words[2] | words[3]) == 0;
}

// First and last non-zero byte of the n bytes at p, -1 when all are zero;
// 32 and then eight at a time, as most of a cell is empty.
int FirstNonZero(const uint8_t* p, int n) {
  int i = 0;
  while (i + 32 <= n && Zero32(p + i)) i += 32;
  for (uint64_t word = 0; i + 8 <= n; i += 8) {
    std::memcpy(&word, p + i, 8);
    if (word != 0) break;
  }
  for (; i < n; ++i)
    if (p[i] != 0) return i;
  return -1;
}

int LastNonZero(const uint8_t* p, int n) {
  int i = n;
  while (i >= 32 && Zero32(p + i - 32)) i -= 32;
  for (uint64_t word = 0; i >= 8; i -= 8) {
    std::memcpy(&word, p + i - 8, 8);
    if (word != 0) break;
  }
  while (--i >= 0)
    if (p[i] != 0) return i;
  return -1;
}

// The ink of coverage (rows `stride` bytes apart, pixels `pixelStride`
// bytes wide, covering `area`) within `window`, in the texels of the image
// `area` lies in.
GlyphAtlas::InkBox InkOf(const uint8_t* coverage, size_t stride, juce::Rectangle<int> area,
                         juce::Rectangle<int> window, int pixelStride = 1) {
  const juce::Rectangle<int> seen = area.getIntersection(window);
  GlyphAtlas::InkBox ink{seen.getRight(), seen.getBottom(), seen.getX(), seen.getY()};
  const int bytes = seen.getWidth() * pixelStride;
  for (int y = seen.getY(); y < seen.getBottom(); ++y) {
    const uint8_t* row = coverage + static_cast<size_t>(y - area.getY()) * stride +
                         static_cast<size_t>((seen.getX() - area.getX()) * pixelStride);
    const int first = FirstNonZero(row, bytes);
    if (first < 0) continue;
    const int last = LastNonZero(row, bytes);
    ink.x0 = std::min(ink.x0, seen.getX() + first / pixelStride);
    ink.x1 = std::max(ink.x1, seen.getX() + last / pixelStride + 1);
    ink.y0 = std::min(ink.y0, y);
    ink.y1 = std::max(ink.y1, y + 1);
  }
  if (ink.Empty()) ink = GlyphAtlas::InkBox{};
  return ink;
}

GlyphAtlas::InkBox Union(const GlyphAtlas::InkBox& a, const GlyphAtlas::InkBox& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

}  // namespace

void GlyphAtlas::TakeFrom(GlyphAtlas& other) {
  atlasImage = std::exchange(other.atlasImage, juce::Image());
  side = std::exchange(other.side, 0);
  atlasTextureSide = std::exchange(other.atlasTextureSide, 0);
  allocatedSide = std::exchange(other.allocatedSide, 0);
  atlasTexture = std::exchange(other.atlasTexture, 0);
  uploadedFill = std::exchange(other.uploadedFill, 1.0f);
  uploadedSide = std::exchange(other.uploadedSide, 0);
  drewWhole = std::exchange(other.drewWhole, false);
  uploadedInk = other.uploadedInk;
  cellInk = other.cellInk;
}

int GlyphAtlas::TextureSideFor(int width) {
  return static_cast<int>(std::ceil(static_cast<double>(width) * 0.0625) * 16.0);
}

juce::Rectangle<int> GlyphAtlas::CellArea(int side, int index) {
  const float cell = static_cast<float>(side) * 0.25f;
  const auto edge = [&](int k) {
    return k >= kAtlasColumns ? side : static_cast<int>(static_cast<float>(k) * cell);
  };
  const int column = index % kAtlasColumns, row = index / kAtlasColumns;
  return juce::Rectangle<int>::leftTopRightBottom(edge(column), edge(row), edge(column + 1),
                                                  edge(row + 1));
}

juce::Font GlyphAtlas::FontFor(const juce::String& family, int styleFlags, int side) {
  const float cell = static_cast<float>(side) * 0.25f;
  return juce::Font(family, cell * 0.9f, styleFlags);
}

void GlyphAtlas::SetWidth(uint32_t width, int maxTextureSize) {
  side = static_cast<int>(std::min<uint32_t>(width, kMaxSide));
  // The rounded-up storage must still fit the driver's texture limit.
  if (maxTextureSize > 0) side = std::min(side, maxTextureSize - maxTextureSize % 16);
  side = std::max(side, 0);
  atlasTextureSide = side > 0 ? TextureSideFor(side) : 0;
  atlasImage = juce::Image();
}

void GlyphAtlas::RecreateImage(uint32_t width, int maxTextureSize) {
  SetWidth(width, maxTextureSize);
  if (side > 0) atlasImage = juce::Image(juce::Image::ARGB, side, side, false);
}

// What Image::clear to transparent white leaves: premultiplied, every byte of
// every pixel is 0. Written as a plain fill of the rows, which costs a
// fraction of the software renderer's per-pixel loop.
void GlyphAtlas::ClearToTransparent() {
  const juce::Image::BitmapData pixels(atlasImage, juce::Image::BitmapData::writeOnly);
  const size_t rowBytes = static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.pixelStride);
  for (int y = 0; y < pixels.height; ++y) std::memset(pixels.getLinePointer(y), 0, rowBytes);
}

void GlyphAtlas::DrawWhole(juce::Image& image, const juce::Font& font, int side) {
  juce::Graphics graphics(image);
  graphics.setFont(font);
  graphics.setColour(juce::Colours::white);
  for (int i = 0; i < kGlyphCount; ++i) DrawGlyph(graphics, side, i);
}

bool GlyphAtlas::DrawCell(const juce::Font& font, int side, int glyph, juce::Image& scratch,
                          std::vector<uint8_t>& coverage) {
  const juce::Rectangle<int> cell = CellArea(side, glyph);
  coverage.assign(static_cast<size_t>(cell.getWidth()) * static_cast<size_t>(cell.getHeight()), 0);
  InkBox ink;
  return DrawCellInto(font, side, glyph, scratch, coverage.data(), ink);
}

bool GlyphAtlas::DrawCellInto(const juce::Font& font, int side, int glyph, juce::Image& scratch,
                              uint8_t* coverage, InkBox& ink) {
  const juce::Rectangle<int> cell = CellArea(side, glyph);
  ink = InkBox{};
  {
    // Fitted text wider than its cell is squeezed by a transform, which
    // JUCE rasterises from the outline at its absolute position: only the
    // whole drawing gives those pixels.
    juce::GlyphArrangement line;
    const float size = static_cast<float>(static_cast<int>(static_cast<float>(side) * 0.25f));
    line.addLineOfText(font, GlyphText(glyph), static_cast<float>(cell.getX()),
                       static_cast<float>(cell.getY()));
    if (line.getNumGlyphs() != 1 || line.getGlyph(0).getRight() - line.getGlyph(0).getLeft() > size)
      return false;
  }
  // The scratch image covers the cell and a margin round it, in the whole
  // image's format (a one-channel image rounds some edge pixels otherwise). JUCE places a
  // glyph at a fraction of a pixel across (shifting by whole pixels keeps
  // it) and at a rounded row (half rows round to even, so the shift down is
  // kept even).
  int left = cell.getX() - kSpillMargin;
  int top = cell.getY() - kSpillMargin;
  top -= top & 1;
  const int width = cell.getRight() + kSpillMargin - left;
  const int height = cell.getBottom() + kSpillMargin - top;
  if (!scratch.isValid() || scratch.getWidth() < width || scratch.getHeight() < height)
    scratch = juce::Image(juce::Image::ARGB, std::max(width, scratch.getWidth()),
                          std::max(height, scratch.getHeight()), true);
  {
    juce::Graphics graphics(scratch);
    graphics.setOrigin(-left, -top);
    graphics.setFont(font);
    graphics.setColour(juce::Colours::white);
    DrawGlyph(graphics, side, glyph);
  }
  // Only the glyph's outline can leave ink (the rasteriser covers the pixels
  // the outline crosses, all within its bounds): the search keeps to them,
  // widened well beyond the rounding of the two placements. The rest of the
  // scratch image is known to be empty.
  juce::Rectangle<int> drawn = scratch.getBounds();
  {
    juce::GlyphArrangement placed;
    const float cellSize = static_cast<float>(side) * 0.25f;
    const int size = static_cast<int>(cellSize);
    placed.addFittedText(font, GlyphText(glyph), static_cast<float>(cell.getX()),
                         static_cast<float>(cell.getY()), static_cast<float>(size),
                         static_cast<float>(size), juce::Justification::centred, 1, 0.0f);
    juce::Path outline;
    placed.createPath(outline);
    const juce::Rectangle<float> bounds = outline.getBounds();
    if (bounds.isFinite())
      drawn = drawn.getIntersection(bounds.getSmallestIntegerContainer().expanded(3).translated(-left, -top));
  }
  juce::Image::BitmapData pixels(scratch, juce::Image::BitmapData::readWrite);
  const juce::Rectangle<int> inCell = cell.translated(-left, -top);
  // Ink outside the cell: only the whole drawing places it right. The scan
  // reads the scratch pixels (four bytes each) only where the window leaves
  // the cell, which it seldom does.
  bool inside = true;
  if (!inCell.contains(drawn)) {
    const InkBox all = InkOf(pixels.getPixelPointer(drawn.getX(), drawn.getY()),
                             static_cast<size_t>(pixels.lineStride), drawn, drawn,
                             pixels.pixelStride);
    inside = all.Empty() || inCell.contains(juce::Rectangle<int>::leftTopRightBottom(
                                all.x0, all.y0, all.x1, all.y1));
  }
  // The window's part in the cell, one byte a pixel (every component of a
  // pixel holds the same coverage), then its ink found in those bytes.
  const juce::Rectangle<int> copied = drawn.getIntersection(inCell);
  const size_t stride = static_cast<size_t>(cell.getWidth());
  if (inside && !copied.isEmpty()) {
    uint8_t* const to = coverage + static_cast<size_t>(copied.getY() - inCell.getY()) * stride +
                        static_cast<size_t>(copied.getX() - inCell.getX());
    CopyRows(pixels, copied, to, stride);
    const juce::Rectangle<int> local = copied.translated(-inCell.getX(), -inCell.getY());
    const InkBox found = InkOf(coverage + static_cast<size_t>(local.getY()) * stride +
                                   static_cast<size_t>(local.getX()),
                               stride, local, local);
    if (!found.Empty())
      ink = InkBox{found.x0 + cell.getX(), found.y0 + cell.getY(), found.x1 + cell.getX(),
                   found.y1 + cell.getY()};
  }
  // Left clear for the next glyph: only where this one can have inked.
  for (int y = drawn.getY(); y < drawn.getBottom(); ++y)
    std::memset(pixels.getPixelPointer(drawn.getX(), y), 0,
                static_cast<size_t>(drawn.getWidth() * pixels.pixelStride));
  return inside;
}

namespace {

// The scratch memory of rebuilds, shared by every atlas and used only under
// the font service lock: fresh memory for each rebuild cost more than the
// drawing (the kernel zeroes every page at its first touch).
struct RebuildScratch {
  juce::Image image;
  std::vector<uint8_t> cell;  // all zero between uses
};

RebuildScratch& SharedScratch() {
  // Made with an image, so that JUCE's own bookkeeping of images outlives it.
  static RebuildScratch scratch{juce::Image(juce::Image::ARGB, 1, 1, true), {}};
  return scratch;
}

// The ink of coverage `data` (rows `area.getWidth()` bytes, covering `area`)
// within `window`, given that all of it lies in `inkBox`.
GlyphAtlas::InkBox InkWithin(const uint8_t* data, juce::Rectangle<int> area,
                             const GlyphAtlas::InkBox& inkBox, juce::Rectangle<int> window) {
  if (inkBox.Empty()) return {};
  const juce::Rectangle<int> box =
      juce::Rectangle<int>::leftTopRightBottom(inkBox.x0, inkBox.y0, inkBox.x1, inkBox.y1);
  if (window.contains(box)) return inkBox;
  if (!window.intersects(box)) return {};
  return InkOf(data, static_cast<size_t>(area.getWidth()), area, window.getIntersection(box));
}

}  // namespace

bool GlyphAtlas::Rebuild(const juce::String& family, int styleFlags) {
  if (side <= 0) return false;
  // Drawing the glyphs is JUCE's work, serialised across threads, and so is
  // the scratch memory they are drawn into; each cell is uploaded from it
  // as soon as it is drawn.
  auto fontService = LockFontService();
  const juce::Font font = FontFor(family, styleFlags, side);
  RebuildScratch& scratch = SharedScratch();
  size_t largest = 0;
  for (int i = 0; i < kAtlasColumns * kAtlasColumns; ++i) {
    const juce::Rectangle<int> area = CellArea(side, i);
    largest = std::max(largest, static_cast<size_t>(area.getWidth()) *
                                    static_cast<size_t>(area.getHeight()));
  }
  if (scratch.cell.size() < largest) scratch.cell.assign(largest, 0);
  uint8_t* const coverage = scratch.cell.data();

  // Magnified with GL_NEAREST: the read-out program filters by hand.
  ffglex::BindClampedTexture(atlasTexture, GL_NEAREST);

  // Errors are flags that reading clears: whatever the host left pending is
  // read (and so consumed) here, or the upload's own could not be told apart.
  DrainGLErrors();
  std::array<InkBox, kGlyphCount> ink{};
  {
    ffglex::ScopedUnpackState unpack;
    // The unused cells hold zeros for ever: written only when the storage or
    // the cells' places are new (the texture's content is undefined until
    // written).
    const bool fresh = allocatedSide != atlasTextureSide || uploadedSide != side;
    if (allocatedSide != atlasTextureSide) {
      glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(GL_R8), atlasTextureSide,
                   atlasTextureSide, 0, GL_RED, GL_UNSIGNED_BYTE, nullptr);
      allocatedSide = atlasTextureSide;
    }
    // A glyph's cell is written only in the rows where the texture or the
    // new coverage has ink: elsewhere both are zero.
    const auto upload = [&](int i, const InkBox& box) {
      const juce::Rectangle<int> area = CellArea(side, i);
      int y0 = area.getY(), y1 = area.getBottom();
      if (i < kGlyphCount && !fresh) {
        const InkBox& held = cellInk[static_cast<size_t>(i)];
        y0 = std::min(held.Empty() ? y1 : held.y0, box.Empty() ? y1 : box.y0);
        y1 = std::max(held.Empty() ? y0 : held.y1, box.Empty() ? y0 : box.y1);
      }
      if (i < kGlyphCount) cellInk[static_cast<size_t>(i)] = box;
      if (y1 <= y0) return;
      glTexSubImage2D(GL_TEXTURE_2D, 0, area.getX(), y0, area.getWidth(), y1 - y0, GL_RED,
                      GL_UNSIGNED_BYTE,
                      coverage + static_cast<size_t>(y0 - area.getY()) *
                                     static_cast<size_t>(area.getWidth()));
    };
    const auto clearCell = [&](int i, const InkBox& box) {
      const size_t stride = static_cast<size_t>(CellArea(side, i).getWidth());
      const juce::Rectangle<int> area = CellArea(side, i);
      for (int y = box.y0; y < box.y1; ++y)
        std::memset(coverage + static_cast<size_t>(y - area.getY()) * stride +
                        static_cast<size_t>(box.x0 - area.getX()),
                    0, static_cast<size_t>(box.x1 - box.x0));
    };
    // A glyph's pass samples its cell and, through the bilinear footprint and
    // the cells' rounding to whole texels, a texel or two of its neighbours:
    // their ink there counts as its own.
    const double cellSide = 0.25 * side;
    const auto addInk = [&](int j, const InkBox& box) {
      const juce::Rectangle<int> area = CellArea(side, j);
      for (int g = 0; g < kGlyphCount; ++g) {
        const int column = g % kAtlasColumns, row = g / kAtlasColumns;
        const juce::Rectangle<int> window = juce::Rectangle<int>::leftTopRightBottom(
            static_cast<int>(std::floor(column * cellSide)) - 2,
            static_cast<int>(std::floor(row * cellSide)) - 2,
            static_cast<int>(std::ceil((column + 1) * cellSide)) + 2,
            static_cast<int>(std::ceil((row + 1) * cellSide)) + 2);
        if (area.intersects(window))
          ink[static_cast<size_t>(g)] =
              Union(ink[static_cast<size_t>(g)], InkWithin(coverage, area, box, window));
      }
    };

    drewWhole = atlasImage.isValid();
    for (int i = 0; i < kGlyphCount && !drewWhole; ++i) {
      InkBox box;
      drewWhole = !DrawCellInto(font, side, i, scratch.image, coverage, box);
      if (drewWhole) {
        clearCell(i, InkBox{CellArea(side, i).getX(), CellArea(side, i).getY(),
                            CellArea(side, i).getRight(), CellArea(side, i).getBottom()});
        break;
      }
      addInk(i, box);
      upload(i, box);
      clearCell(i, box);
    }
    if (drewWhole) {
      ink = {};
      juce::Image whole = atlasImage;
      if (whole.isValid())
        ClearToTransparent();
      else
        whole = juce::Image(juce::Image::ARGB, side, side, true);
      DrawWhole(whole, font, side);
      const juce::Image::BitmapData pixels(whole, juce::Image::BitmapData::readOnly);
      for (int i = 0; i < kGlyphCount; ++i) {
        const juce::Rectangle<int> area = CellArea(side, i);
        CopyRows(pixels, area, coverage, static_cast<size_t>(area.getWidth()));
        const InkBox box = InkOf(coverage, static_cast<size_t>(area.getWidth()), area, area);
        addInk(i, box);
        upload(i, box);
        clearCell(i, InkBox{area.getX(), area.getY(), area.getRight(), area.getBottom()});
      }
    }
    if (fresh)
      for (int i = kGlyphCount; i < kAtlasColumns * kAtlasColumns; ++i) upload(i, InkBox{});
  }
  fontService.unlock();

  // A failed upload (out of memory, say) leaves the glyphs undrawn: the
  // caller keeps the atlas marked and tries again at the next frame.
  if (DrainGLErrors()) {
    allocatedSide = 0;
    return false;
  }
  uploadedFill = static_cast<float>(side) / static_cast<float>(atlasTextureSide);
  uploadedSide = side;
  uploadedInk = ink;
  return true;
}

void GlyphAtlas::Release() {
  if (atlasTexture != 0) glDeleteTextures(1, &atlasTexture);
  atlasTexture = 0;
  allocatedSide = 0;
}

}  // namespace tickora
