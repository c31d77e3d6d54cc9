// SPDX-License-Identifier: GPL-3.0-or-later
// Coarse facts about what a frame drew: how many pixels carry ink (alpha
// above a threshold), where they lie and what colour they are. Checks that
// must hold on any rasteriser (Wine's fonts, another driver) use these
// instead of exact pixels. Nothing here touches GL.
#pragma once

#include "host/Pixels.h"

#include <cstdint>

namespace host {

// Ink is alpha above one half unless a check says otherwise.
constexpr uint8_t kInkAlpha = 128;

struct Ink {
  int count = 0;
  int red = 0;  // ink pixels that read as pure red on 8 bits
  // Bounding box, inclusive; left > right when there is no ink.
  int left = 0;
  int top = 0;
  int right = -1;
  int bottom = -1;

  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
  double CentreX() const { return (left + right) / 2.0; }
  double CentreY() const { return (top + bottom) / 2.0; }
};

Ink MeasureInk(const Pixels& pixels);
// Pixels whose alpha is above `alphaAbove` (0: any coverage at all).
int CountInk(const Pixels& pixels, uint8_t alphaAbove = kInkAlpha);
// Ink pixels in the box [x0, x1) x [y0, y1), clipped to the image.
int InkInBox(const Pixels& pixels, int x0, int y0, int x1, int y1);

}  // namespace host
