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
  // Three rectangles give at most 7 × 7 cells.
  static constexpr int kMaxPieces = 49;
  std::array<PixelRect, kMaxPieces> inside;
  std::array<PixelRect, kMaxPieces> outside;
  int insideCount = 0;
  int outsideCount = 0;
};

// Splits the width × height area by up to three rectangles (parts beyond
// the area are ignored). Adjacent cells of the same kind are merged, along
// rows and then down columns, to keep the pieces few.
void SplitByRects(const PixelRect* rects, int count, int width, int height, RectSplit& split);

}  // namespace tickora
