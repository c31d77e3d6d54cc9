// SPDX-License-Identifier: GPL-3.0-or-later
// Cuts an area into rectangles that lie either wholly inside a few given
// rectangles or wholly outside them, every pixel in exactly one piece: each
// piece can then be drawn by its own program under the scissor without any
// pixel being drawn twice (which would blend twice) or not at all.
#pragma once

#include "tickora/PixelRect.h"

#include <array>

namespace tickora {

struct RectSplit {
  // Up to six rectangles (three hands, each cut in two), which give at
  // most 13 × 13 cells.
  static constexpr int kMaxRects = 6;
  static constexpr int kMaxPieces = (2 * kMaxRects + 1) * (2 * kMaxRects + 1);
  std::array<PixelRect, kMaxPieces> inside;
  std::array<PixelRect, kMaxPieces> outside;
  // For each inside piece, which groups of rectangles cover it (bit g for
  // group g); every piece lies wholly inside or wholly outside each group.
  std::array<unsigned, kMaxPieces> insideGroups;
  int insideCount = 0;
  int outsideCount = 0;
};

// Splits the width × height area by up to kMaxRects rectangles (parts beyond
// the area are ignored). Adjacent cells of the same kind are merged, along
// rows and then down columns, to keep the pieces few. `groupOf` gives each
// rectangle's group (0 to 7); inside cells are merged only with cells of the
// same groups. Without it all rectangles are one group.
void SplitByRects(const PixelRect* rects, int count, int width, int height, RectSplit& split,
                  const int* groupOf = nullptr);

}  // namespace tickora
