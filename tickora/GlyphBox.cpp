// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/GlyphBox.h"

#include "tickora/ShapeConstants.h"

#include <algorithm>
#include <cmath>

namespace tickora {

using namespace glyph_box;

bool GlyphBoxBounds(const GlyphBoxInputs& in, int marginPixels, PixelRect& rect) {
  const double resX = std::max(static_cast<double>(in.width), 1.0);
  const double resY = std::max(static_cast<double>(in.height), 1.0);
  const double grow = std::clamp(static_cast<double>(in.scale), 0.0, kLargestScale) / kNaturalScale;
  const double narrow =
      1.0 / (1.0 + kSpacingNarrowing *
                       (std::clamp(static_cast<double>(in.spacing), 0.0, 1.0) - kNaturalSpacing));
  const double stretch = std::exp2(2.0 * std::clamp(static_cast<double>(in.aspect), 0.0, 1.0) - 1.0);
  double side = kCellSidePitches * in.pitch * resX * grow;
  side *= std::min(1.0, kFitHeight * resY / std::max(side * stretch, kSmallestBoxSide));
  const double sizeX = std::max(side * narrow, kSmallestBoxSide);
  const double sizeY = std::max(side * stretch, kSmallestBoxSide);
  const double centreX = (in.left * 0.5 + 0.5) * resX;
  const double centreY = 0.5 * resY + in.addH * sizeY;

  const double x0 = std::floor(centreX - 0.5 * sizeX) - marginPixels;
  const double x1 = std::ceil(centreX + 0.5 * sizeX) + marginPixels;
  const double y0 = std::floor(centreY - 0.5 * sizeY) - marginPixels;
  const double y1 = std::ceil(centreY + 0.5 * sizeY) + marginPixels;
  return ClampedPixelRect(x0, y0, x1, y1, resX, resY, rect);
}

}  // namespace tickora
