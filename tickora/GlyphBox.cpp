#include "tickora/GlyphBox.h"

#include <algorithm>
#include <cmath>

namespace tickora {

bool GlyphBoxBounds(const GlyphBoxInputs& in, int marginPixels, PixelRect& rect) {
  const double resX = std::max(static_cast<double>(in.width), 1.0);
  const double resY = std::max(static_cast<double>(in.height), 1.0);
  const double grow = std::clamp(static_cast<double>(in.scale), 0.0, 4.0) / 0.91;
  double spread = (1.0 + 0.25 * (std::clamp(static_cast<double>(in.spacing), 0.0, 1.0) - 0.63)) * grow;
  const double stretch = std::exp2(2.0 * std::clamp(static_cast<double>(in.aspect), 0.0, 1.0) - 1.0);
  double side = 1.15 * in.pitch * resX * grow;
  const double fit = std::min(1.0, 1.5 * resY / std::max(side * stretch, 1e-3));
  side *= fit;
  spread *= fit;
  const double sizeX = std::max(side, 1e-3);
  const double sizeY = std::max(side * stretch, 1e-3);
  const double centreX = (in.left * spread * 0.5 + 0.5) * resX;
  const double centreY = 0.5 * resY + in.addH * sizeY;

  const double x0 = std::floor(centreX - 0.5 * sizeX) - marginPixels;
  const double x1 = std::ceil(centreX + 0.5 * sizeX) + marginPixels;
  const double y0 = std::floor(centreY - 0.5 * sizeY) - marginPixels;
  const double y1 = std::ceil(centreY + 0.5 * sizeY) + marginPixels;
  if (!std::isfinite(x0) || !std::isfinite(x1) || !std::isfinite(y0) || !std::isfinite(y1))
    return false;
  // Clamped to the output and to the int range (NaN cannot reach here), so
  // the conversions are safe.
  const double maxX = std::min(resX, 2147483647.0), maxY = std::min(resY, 2147483647.0);
  const double cx0 = std::clamp(x0, 0.0, maxX), cx1 = std::clamp(x1, 0.0, maxX);
  const double cy0 = std::clamp(y0, 0.0, maxY), cy1 = std::clamp(y1, 0.0, maxY);
  rect.x = static_cast<int>(cx0);
  rect.y = static_cast<int>(cy0);
  rect.width = static_cast<int>(cx1 - cx0);
  rect.height = static_cast<int>(cy1 - cy0);
  return true;
}

}  // namespace tickora
