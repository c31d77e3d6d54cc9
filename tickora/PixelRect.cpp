// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/PixelRect.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tickora {

PixelRect Intersection(const PixelRect& a, const PixelRect& b) {
  const int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
  // In 64 bits: x + width may pass the int range.
  const int64_t x1 = std::min<int64_t>(static_cast<int64_t>(a.x) + a.width, static_cast<int64_t>(b.x) + b.width);
  const int64_t y1 = std::min<int64_t>(static_cast<int64_t>(a.y) + a.height, static_cast<int64_t>(b.y) + b.height);
  return PixelRect{x0, y0, static_cast<int>(std::max<int64_t>(x1 - x0, 0)),
                   static_cast<int>(std::max<int64_t>(y1 - y0, 0))};
}

bool ClampedPixelRect(double x0, double y0, double x1, double y1, double width, double height,
                      PixelRect& rect) {
  if (!std::isfinite(x0) || !std::isfinite(x1) || !std::isfinite(y0) || !std::isfinite(y1))
    return false;
  // Clamped to the output and to the int range (NaN cannot reach here), so
  // the conversions are safe.
  const double maxX = std::clamp(width, 0.0, 2147483647.0);
  const double maxY = std::clamp(height, 0.0, 2147483647.0);
  const double cx0 = std::clamp(x0, 0.0, maxX), cx1 = std::clamp(x1, cx0, maxX);
  const double cy0 = std::clamp(y0, 0.0, maxY), cy1 = std::clamp(y1, cy0, maxY);
  rect = PixelRect{static_cast<int>(cx0), static_cast<int>(cy0), static_cast<int>(cx1 - cx0),
                   static_cast<int>(cy1 - cy0)};
  return true;
}

}  // namespace tickora
