// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/Ink.h"

#include <algorithm>

namespace host {
namespace {
bool IsInk(const uint8_t* pixel, uint8_t alphaAbove = kInkAlpha) { return pixel[3] > alphaAbove; }
}  // namespace

Ink MeasureInk(const Pixels& pixels) {
  Ink ink;
  ink.left = pixels.width;
  ink.top = pixels.height;
  for (int y = 0; y < pixels.height; ++y) {
    for (int x = 0; x < pixels.width; ++x) {
      const uint8_t* pixel = pixels.At(x, y);
      if (!IsInk(pixel)) continue;
      ++ink.count;
      if (pixel[0] > 128 && pixel[1] < 64 && pixel[2] < 64) ++ink.red;
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x);
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y);
    }
  }
  return ink;
}

int CountInk(const Pixels& pixels, uint8_t alphaAbove) {
  int count = 0;
  for (size_t i = 3; i < pixels.rgba.size(); i += 4) count += pixels.rgba[i] > alphaAbove ? 1 : 0;
  return count;
}

int InkInBox(const Pixels& pixels, int x0, int y0, int x1, int y1) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, pixels.width);
  y1 = std::min(y1, pixels.height);
  int count = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) count += IsInk(pixels.At(x, y)) ? 1 : 0;
  return count;
}

}  // namespace host
