// SPDX-License-Identifier: GPL-3.0-or-later
// A rectangle of whole pixels, x and y from the bottom-left corner as OpenGL
// counts them.
#pragma once

namespace tickora {

struct PixelRect {
  int x = 0, y = 0, width = 0, height = 0;
};

// The rectangle between pixel edges x0..x1 and y0..y1 (x0 <= x1, y0 <= y1),
// clamped to a width × height output. False, and `rect` untouched, when an
// edge is not finite.
// The pixels in both; empty (zero width or height) when they do not meet.
PixelRect Intersection(const PixelRect& a, const PixelRect& b);

bool ClampedPixelRect(double x0, double y0, double x1, double y1, double width, double height,
                      PixelRect& rect);

}  // namespace tickora
