// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/RectSplit.h"

#include <algorithm>
#include <cstdint>

namespace tickora {

namespace {

// Sorted, distinct cut positions along one axis, from 0 to `size`.
int Cuts(const PixelRect* rects, int count, bool alongX, int size, int cuts[]) {
  int n = 0;
  cuts[n++] = 0;
  cuts[n++] = size;
  for (int i = 0; i < count; ++i) {
    const int64_t start = alongX ? rects[i].x : rects[i].y;
    const int64_t length = std::max(alongX ? rects[i].width : rects[i].height, 0);
    cuts[n++] = static_cast<int>(std::clamp<int64_t>(start, 0, size));
    cuts[n++] = static_cast<int>(std::clamp<int64_t>(start + length, 0, size));
  }
  std::sort(cuts, cuts + n);
  return static_cast<int>(std::unique(cuts, cuts + n) - cuts);
}

bool Covers(const PixelRect& r, int x, int y) {
  return x >= r.x && x < static_cast<int64_t>(r.x) + r.width && y >= r.y &&
         y < static_cast<int64_t>(r.y) + r.height;
}

// Merges pieces of the same groups stacked exactly on top of each other
// (same columns).
int MergeColumns(std::array<PixelRect, RectSplit::kMaxPieces>& pieces,
                 std::array<unsigned, RectSplit::kMaxPieces>* groups, int count) {
  int kept = 0;
  for (int i = 0; i < count; ++i) {
    bool merged = false;
    for (int j = 0; j < kept && !merged; ++j) {
      PixelRect& below = pieces[j];
      if (below.x == pieces[i].x && below.width == pieces[i].width &&
          below.y + below.height == pieces[i].y &&
          (groups == nullptr || (*groups)[j] == (*groups)[i])) {
        below.height += pieces[i].height;
        merged = true;
      }
    }
    if (!merged) {
      if (groups != nullptr) (*groups)[kept] = (*groups)[i];
      pieces[kept++] = pieces[i];
    }
  }
  return kept;
}

}  // namespace

void SplitByRects(const PixelRect* rects, int count, int width, int height, RectSplit& split,
                  const int* groupOf) {
  split.insideCount = 0;
  split.outsideCount = 0;
  count = std::clamp(count, 0, RectSplit::kMaxRects);
  width = std::max(width, 0);
  height = std::max(height, 0);
  int xs[2 * RectSplit::kMaxRects + 2], ys[2 * RectSplit::kMaxRects + 2];
  const int nx = Cuts(rects, count, true, width, xs);
  const int ny = Cuts(rects, count, false, height, ys);
  // Which rectangles each column and each row of cells lies in: a cell lies
  // in the rectangles of both.
  unsigned inColumn[2 * RectSplit::kMaxRects + 1] = {}, inRow[2 * RectSplit::kMaxRects + 1] = {};
  for (int i = 0; i < count; ++i) {
    for (int c = 0; c + 1 < nx; ++c)
      if (Covers(rects[i], xs[c], rects[i].y)) inColumn[c] |= 1u << i;
    for (int r = 0; r + 1 < ny; ++r)
      if (Covers(rects[i], rects[i].x, ys[r])) inRow[r] |= 1u << i;
  }
  // The groups of each set of rectangles, one rectangle added at a time.
  unsigned groupsOf[1u << RectSplit::kMaxRects];
  groupsOf[0] = 0;
  for (int i = 0; i < count; ++i) {
    const unsigned bit = 1u << (groupOf != nullptr ? std::clamp(groupOf[i], 0, 7) : 0);
    for (unsigned set = 1u << i; set < 2u << i; ++set) groupsOf[set] = groupsOf[set - (1u << i)] | bit;
  }
  for (int row = 0; row + 1 < ny; ++row) {
    int col = 0;
    while (col + 1 < nx) {
      // The groups covering a cell, 0 outside every rectangle.
      const auto groups = [&](int c) { return groupsOf[inColumn[c] & inRow[row]]; };
      const unsigned kind = groups(col);
      int end = col + 1;
      while (end + 1 < nx && groups(end) == kind) ++end;
      const PixelRect piece{xs[col], ys[row], xs[end] - xs[col], ys[row + 1] - ys[row]};
      if (kind != 0) {
        split.insideGroups[static_cast<size_t>(split.insideCount)] = kind;
        split.inside[static_cast<size_t>(split.insideCount++)] = piece;
      } else {
        split.outside[static_cast<size_t>(split.outsideCount++)] = piece;
      }
      col = end;
    }
  }
  split.insideCount = MergeColumns(split.inside, &split.insideGroups, split.insideCount);
  split.outsideCount = MergeColumns(split.outside, nullptr, split.outsideCount);
}

}  // namespace tickora
