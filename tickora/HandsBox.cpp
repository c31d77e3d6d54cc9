// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/HandsBox.h"

#include "tickora/ShapeConstants.h"

#include <algorithm>
#include <cmath>

namespace tickora {

using namespace hands;

namespace {

struct FaceRect {
  double x0, y0, x1, y1;
};

// The hand's rounded box, centred `offset` along the hand with half sizes
// (halfX, halfY), turned by `turns` clockwise from the top, in face units.
// A pixel gets ink only where the rounded-box distance
// length(max(|q| - half + r, 0)) - r is below kInkEdge; on each axis of
// the hand that keeps |q| below |half| + kInkEdge whatever the corner radius
// r (where the max is positive it follows from the length, where it is 0
// from r > -kInkEdge; below that nothing gets ink).
FaceRect HandRect(double offset, double halfX, double halfY, double turns) {
  const double ex = std::fabs(halfX) + kInkEdge, ey = std::fabs(halfY) + kInkEdge;
  // The program measures q = rotate(p); a point p of the face is q turned back.
  const double phi = -2.0 * kPi * turns;
  const double c = std::cos(phi), s = std::sin(phi);
  FaceRect rect{INFINITY, INFINITY, -INFINITY, -INFINITY};
  for (const double qx : {-ex, ex}) {
    for (const double qy : {offset - ey, offset + ey}) {
      const double px = qx * c - qy * s, py = qx * s + qy * c;
      rect.x0 = std::min(rect.x0, px);
      rect.x1 = std::max(rect.x1, px);
      rect.y0 = std::min(rect.y0, py);
      rect.y1 = std::max(rect.y1, py);
    }
  }
  return rect;
}

}  // namespace

bool HandsBoxBounds(const HandsBoxInputs& in, int marginPixels, PixelRect hands[3]) {
  if (!(in.width >= 1.0f) || !(in.height >= 1.0f)) return false;
  // Non-finite values leave the program's result undefined (the corner
  // radius too, though it does not widen a hand), and a float sine of a huge
  // angle need not agree with a double one: the whole output is drawn then.
  const float values[] = {in.hourLength, in.minuteLength, in.secondLength, in.handWidth,
                          in.secondWidth, in.cornerRound};
  for (float v : values)
    if (!std::isfinite(v)) return false;
  for (float t : in.turns)
    if (!(std::fabs(t) <= 16.0f)) return false;
  const double w = in.handWidth * kHandSizeScale - kHandSizeOffset;
  const double w3 = (w + kHandSizeOffset) * in.secondWidth - kHandSizeOffset;
  const auto hand = [](double length, double halfWidth, float turns) {
    return HandRect(kHandLengthScale * length - kHandTailShift * halfWidth, halfWidth,
                    kHandLengthScale * length, turns);
  };
  const FaceRect rects[3] = {hand(in.hourLength, w, in.turns[0]),
                             hand(in.minuteLength, w, in.turns[1]),
                             hand(in.secondLength, w3, in.turns[2])};

  // Face units: kFaceUnitsAcross across the output's width, the same size
  // upwards, from the output's centre.
  const double width = in.width, height = in.height;
  const double unit = width / kFaceUnitsAcross;
  for (int i = 0; i < 3; ++i) {
    const FaceRect& r = rects[i];
    // The program works in floats (its sines and cosines too); this covers
    // its rounding many times over.
    const double slack = 0.01 + 0.001 * std::max({std::fabs(r.x0), std::fabs(r.x1),
                                                  std::fabs(r.y0), std::fabs(r.y1)});
    const double x0 = std::floor(0.5 * width + (r.x0 - slack) * unit) - marginPixels;
    const double x1 = std::ceil(0.5 * width + (r.x1 + slack) * unit) + marginPixels;
    const double y0 = std::floor(0.5 * height + (r.y0 - slack) * unit) - marginPixels;
    const double y1 = std::ceil(0.5 * height + (r.y1 + slack) * unit) + marginPixels;
    if (!ClampedPixelRect(x0, y0, x1, y1, width, height, hands[i])) return false;
  }
  return true;
}

}  // namespace tickora
