// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/GlyphBox.h"

#include "tickora/ShapeConstants.h"

#include <algorithm>
#include <cmath>

namespace tickora {

using namespace glyph_box;

namespace {

struct Placement {
  double resX, resY, sizeX, sizeY, centreX, centreY;
};

Placement Place(const GlyphBoxInputs& in) {
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
  return Placement{resX, resY, sizeX, sizeY, centreX, centreY};
}

}  // namespace

bool GlyphBoxBounds(const GlyphBoxInputs& in, int marginPixels, PixelRect& rect) {
  const Placement p = Place(in);
  const double resX = p.resX, resY = p.resY, sizeX = p.sizeX, sizeY = p.sizeY;
  const double centreX = p.centreX, centreY = p.centreY;
  const double x0 = std::floor(centreX - 0.5 * sizeX) - marginPixels;
  const double x1 = std::ceil(centreX + 0.5 * sizeX) + marginPixels;
  const double y0 = std::floor(centreY - 0.5 * sizeY) - marginPixels;
  const double y1 = std::ceil(centreY + 0.5 * sizeY) + marginPixels;
  return ClampedPixelRect(x0, y0, x1, y1, resX, resY, rect);
}

bool GlyphInkBounds(const GlyphBoxInputs& in, const InkTexels& ink, int marginPixels,
                    PixelRect& rect) {
  if (ink.side <= 0) return false;
  const Placement p = Place(in);
  // A sample at texel coordinate t reads texels floor(t - 0.5) and the next
  // one, so ink in [x0, x1) is reached from [x0 - 0.5, x1 + 0.5]; samples
  // beyond the image's edge are clamped onto its outermost texels.
  const double far = 1e9;
  const auto reach = [&](int first, int end, double& low, double& high) {
    low = first <= 0 ? -far : first - 0.5;
    high = end >= ink.side ? far : end + 0.5;
  };
  double tx0, tx1, ty0, ty1;
  reach(ink.x0, ink.x1, tx0, tx1);
  reach(ink.y0, ink.y1, ty0, ty1);
  // The vertex stage: texel = (cell + (box.x + 0.5, 0.5 - box.y)) * side / 4,
  // box = (pixel centre - centre) / size.
  const double cell = 0.25 * ink.side;
  const double x0 = p.centreX + (tx0 / cell - ink.column - 0.5) * p.sizeX;
  const double x1 = p.centreX + (tx1 / cell - ink.column - 0.5) * p.sizeX;
  const double y0 = p.centreY + (ink.row + 0.5 - ty1 / cell) * p.sizeY;
  const double y1 = p.centreY + (ink.row + 0.5 - ty0 / cell) * p.sizeY;
  return ClampedPixelRect(std::floor(std::max(x0, -far)) - marginPixels,
                          std::floor(std::max(y0, -far)) - marginPixels,
                          std::ceil(std::min(x1, far)) + marginPixels,
                          std::ceil(std::min(y1, far)) + marginPixels, p.resX, p.resY, rect);
}

}  // namespace tickora
