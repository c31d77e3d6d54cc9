#include "tickora/GlyphBox.h"

#include <algorithm>
#include <cmath>

namespace tickora {

bool GlyphBoxBounds(const GlyphBoxInputs& in, int marginPixels, PixelRect& rect) {
  const double resX = std::max(static_cast<double>(in.width), 1.0);
  const double resY = std::max(static_cast<double>(in.height), 1.0);
  const double grow = std::clamp(static_cast<double>(in.scale), 0.0, 4.0) / 0.91;
  const double narrow =
      1.0 / (1.0 + 0.25 * (std::clamp(static_cast<double>(in.spacing), 0.0, 1.0) - 0.63));
  const double stretch = std::exp2(2.0 * std::clamp(static_cast<double>(in.aspect), 0.0, 1.0) - 1.0);
  double side = 1.15 * in.pitch * resX * grow;
  side *= std::min(1.0, 1.5 * resY / std::max(side * stretch, 1e-3));
  const double sizeX = std::max(side * narrow, 1e-3);
  const double sizeY = std::max(side * stretch, 1e-3);
  const double centreX = (in.left * 0.5 + 0.5) * resX;
  const double centreY = 0.5 * resY + in.addH * sizeY;

  const double x0 = std::floor(centreX - 0.5 * sizeX) - marginPixels;
  const double x1 = std::ceil(centreX + 0.5 * sizeX) + marginPixels;
  const double y0 = std::floor(centreY - 0.5 * sizeY) - marginPixels;
  const double y1 = std::ceil(centreY + 0.5 * sizeY) + marginPixels;
  return ClampedPixelRect(x0, y0, x1, y1, resX, resY, rect);
}

}  // namespace tickora
