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

// Where one hand can put ink: its rounded box, centred `offset` along the
// hand with half sizes (halfX, halfY), turned by `turns` clockwise from the
// top, in face units. A pixel gets ink only where the rounded-box distance
// length(max(|q| - half + r, 0)) - r is below kInkEdge; on each axis of the
// hand that keeps |q| below |half| + kInkEdge whatever the corner radius r
// (where the max is positive it follows from the length, where it is 0 from
// r > -kInkEdge; below that nothing gets ink).
struct HandReach {
  double ex = 0.0;  // |q.x| stays below it
  double qy0 = 0.0, qy1 = 0.0;  // q.y stays between them
  double turns = 0.0;
};

HandReach ReachOf(double offset, double halfX, double halfY, double turns) {
  const double ey = std::fabs(halfY) + kInkEdge;
  return HandReach{std::fabs(halfX) + kInkEdge, offset - ey, offset + ey, turns};
}

// The bounding box, in face units, of the part of the reach with q.y in [qy0, qy1].
FaceRect HandRect(const HandReach& reach, double qy0, double qy1) {
  // The program measures q = rotate(p); a point p of the face is q turned back.
  const double phi = -2.0 * kPi * reach.turns;
  const double c = std::cos(phi), s = std::sin(phi);
  FaceRect rect{INFINITY, INFINITY, -INFINITY, -INFINITY};
  for (const double qx : {-reach.ex, reach.ex}) {
    for (const double qy : {qy0, qy1}) {
      const double px = qx * c - qy * s, py = qx * s + qy * c;
      rect.x0 = std::min(rect.x0, px);
      rect.x1 = std::max(rect.x1, px);
      rect.y0 = std::min(rect.y0, py);
      rect.y1 = std::max(rect.y1, py);
    }
  }
  return rect;
}

bool Workable(const HandsBoxInputs& in) {
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
  return true;
}

void Reaches(const HandsBoxInputs& in, HandReach reaches[3]) {
  const double w = in.handWidth * kHandSizeScale - kHandSizeOffset;
  const double w3 = (w + kHandSizeOffset) * in.secondWidth - kHandSizeOffset;
  const auto hand = [](double length, double halfWidth, float turns) {
    return ReachOf(kHandLengthScale * length - kHandTailShift * halfWidth, halfWidth,
                   kHandLengthScale * length, turns);
  };
  reaches[0] = hand(in.hourLength, w, in.turns[0]);
  reaches[1] = hand(in.minuteLength, w, in.turns[1]);
  reaches[2] = hand(in.secondLength, w3, in.turns[2]);
}

// Face units: kFaceUnitsAcross across the output's width, the same size
// upwards, from the output's centre.
bool ToPixels(const FaceRect& r, const HandsBoxInputs& in, int marginPixels, PixelRect& rect) {
  const double width = in.width, height = in.height;
  const double unit = width / kFaceUnitsAcross;
  // The program works in floats (its sines and cosines too); this covers
  // its rounding many times over.
  const double slack = 0.01 + 0.001 * std::max({std::fabs(r.x0), std::fabs(r.x1),
                                                std::fabs(r.y0), std::fabs(r.y1)});
  const double x0 = std::floor(0.5 * width + (r.x0 - slack) * unit) - marginPixels;
  const double x1 = std::ceil(0.5 * width + (r.x1 + slack) * unit) + marginPixels;
  const double y0 = std::floor(0.5 * height + (r.y0 - slack) * unit) - marginPixels;
  const double y1 = std::ceil(0.5 * height + (r.y1 + slack) * unit) + marginPixels;
  return ClampedPixelRect(x0, y0, x1, y1, width, height, rect);
}

double Area(const PixelRect& r) { return static_cast<double>(r.width) * r.height; }

}  // namespace

bool HandsBoxBounds(const HandsBoxInputs& in, int marginPixels, PixelRect hands[3]) {
  if (!Workable(in)) return false;
  HandReach reaches[3];
  Reaches(in, reaches);
  for (int i = 0; i < 3; ++i)
    if (!ToPixels(HandRect(reaches[i], reaches[i].qy0, reaches[i].qy1), in, marginPixels,
                  hands[i]))
      return false;
  return true;
}

int HandsBoxPieces(const HandsBoxInputs& in, int marginPixels, int minSavedPixels,
                   PixelRect pieces[kMaxHandPieces], int handOf[kMaxHandPieces]) {
  if (!Workable(in)) return 0;
  HandReach reaches[3];
  Reaches(in, reaches);
  int count = 0;
  for (int hand = 0; hand < 3; ++hand) {
    const HandReach& reach = reaches[hand];
    PixelRect whole, near, far;
    if (!ToPixels(HandRect(reach, reach.qy0, reach.qy1), in, marginPixels, whole)) return 0;
    // Cut across the hand at its middle: the halves' boxes cover the hand,
    // as each covers its half.
    const double middle = 0.5 * (reach.qy0 + reach.qy1);
    const bool halves = ToPixels(HandRect(reach, reach.qy0, middle), in, marginPixels, near) &&
                        ToPixels(HandRect(reach, middle, reach.qy1), in, marginPixels, far);
    const double kept = Area(near) + Area(far) - Area(Intersection(near, far));
    if (halves && Area(whole) - kept >= minSavedPixels) {
      handOf[count] = hand;
      pieces[count++] = near;
      handOf[count] = hand;
      pieces[count++] = far;
    } else {
      handOf[count] = hand;
      pieces[count++] = whole;
    }
  }
  return count;
}

}  // namespace tickora
