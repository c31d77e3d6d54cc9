// SPDX-License-Identifier: GPL-3.0-or-later
// The Classic frame shades only the rectangles its hands can reach and gives
// the rest of the output the empty face's colour. These check the
// rectangles against the face's own distance function, evaluated here in
// doubles for every pixel outside them, and check that the output is cut
// into pieces that cover it exactly once.
#include "tickora/HandsBox.h"
#include "tickora/RectSplit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using tickora::HandsBoxBounds;
using tickora::HandsBoxInputs;
using tickora::PixelRect;
using tickora::RectSplit;
using tickora::SplitByRects;

constexpr double kPi = 3.14159265359;

double RoundedBox(double px, double py, double bx, double by, double r) {
  const double mx = std::max(std::fabs(px) - bx + r, 0.0);
  const double my = std::max(std::fabs(py) - by + r, 0.0);
  return std::hypot(mx, my) - r;
}

// Distance to the nearest hand at face point (x, y), the hands at the given
// angles in turns, as the Classic face defines it.
double FaceDistance(const HandsBoxInputs& in, const double turns[3], double x, double y) {
  double r = in.cornerRound * 0.3 - 0.1;
  double w = in.handWidth * 0.3 - 0.1;
  const double lengths[3] = {in.hourLength, in.minuteLength, in.secondLength};
  double nearest = INFINITY;
  for (int hand = 0; hand < 3; ++hand) {
    if (hand == 2) {
      w = (w + 0.1) * in.secondWidth - 0.1;
      r = in.cornerRound * 0.3 * in.secondWidth - 0.1;
    }
    const double phi = -2.0 * kPi * turns[hand];
    const double c = std::cos(phi), s = std::sin(phi);
    const double px = x * c + y * s;
    const double py = -x * s + y * c - (2.0 * lengths[hand] - 0.5 * w);
    nearest = std::min(nearest, RoundedBox(px, py, w, 2.0 * lengths[hand], r));
  }
  return nearest;
}

bool Inside(const PixelRect& rect, int x, int y) {
  return x >= rect.x && x < static_cast<int64_t>(rect.x) + rect.width && y >= rect.y &&
         y < static_cast<int64_t>(rect.y) + rect.height;
}

HandsBoxInputs Defaults(float width, float height) {
  HandsBoxInputs in;
  in.width = width;
  in.height = height;
  in.hourLength = 0.4f;
  in.minuteLength = 0.6f;
  in.secondLength = 0.55f;
  in.handWidth = 0.3f;
  in.secondWidth = 0.4f;
  in.cornerRound = 0.3f;
  return in;
}

TEST(HandsBox, NoInkOutsideTheHandsRectanglesAtAnyAngle) {
  struct Case {
    const char* name;
    HandsBoxInputs in;
  };
  std::vector<Case> cases;
  cases.push_back({"defaults", Defaults(200, 150)});
  HandsBoxInputs wide = Defaults(150, 200);
  wide.hourLength = 1.0f;
  wide.minuteLength = 1.0f;
  wide.secondLength = 1.0f;
  wide.handWidth = 1.0f;
  wide.secondWidth = 1.0f;
  wide.cornerRound = 1.0f;
  cases.push_back({"long, wide, round, portrait", wide});
  // Host values outside the sliders' range: negative lengths point the
  // hands' boxes the other way.
  HandsBoxInputs hostile = Defaults(400, 150);
  hostile.hourLength = -0.4f;
  hostile.minuteLength = 0.9f;
  hostile.secondLength = -0.3f;
  hostile.handWidth = 1.5f;
  hostile.secondWidth = 2.0f;
  hostile.cornerRound = 1.7f;
  cases.push_back({"out-of-range host values", hostile});
  HandsBoxInputs thin = Defaults(300, 100);
  thin.hourLength = 0.05f;
  thin.handWidth = 0.2f;
  thin.cornerRound = 0.0f;
  cases.push_back({"thin, square, flat output", thin});

  for (const Case& c : cases) {
    const int width = static_cast<int>(c.in.width), height = static_cast<int>(c.in.height);
    int inked = 0;
    double shaded = 0.0;
    for (int step = 0; step < 48; ++step) {
      HandsBoxInputs in = c.in;
      in.turns[0] = static_cast<float>(step / 48.0);
      in.turns[1] = static_cast<float>(step * 7 / 48.0 + 0.01);
      in.turns[2] = static_cast<float>(step * 11 / 48.0 + 0.02);
      const double turns[3] = {in.turns[0], in.turns[1], in.turns[2]};
      PixelRect hands[3];
      ASSERT_TRUE(HandsBoxBounds(in, 0, hands)) << c.name;
      for (const PixelRect& hand : hands) shaded += static_cast<double>(hand.width) * hand.height;
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
          // The pixel's centre in face units, as the hands program places it.
          const double u = (x + 0.5) / width, v = (y + 0.5) / height;
          const double fx = (u - 0.5) * 10.0;
          const double fy = (v - 0.5) * c.in.height / c.in.width * 10.0;
          const bool ink = FaceDistance(c.in, turns, fx, fy) < 0.105;
          inked += ink ? 1 : 0;
          if (ink && !Inside(hands[0], x, y) && !Inside(hands[1], x, y) &&
              !Inside(hands[2], x, y)) {
            FAIL() << c.name << ", step " << step << ": ink at (" << x << ", " << y
                   << ") outside every hand's rectangle";
          }
        }
      }
    }
    EXPECT_GT(inked, 0) << c.name;
    // The rectangles must leave most of the output out, or this proves
    // nothing (and the frame saves nothing).
    EXPECT_LT(shaded / 48.0, 0.6 * width * height) << c.name;
  }
}

TEST(HandsBox, UnworkableValuesLeaveTheWholeOutput) {
  const float bad[] = {NAN, INFINITY, -INFINITY};
  for (float value : bad) {
    PixelRect hands[3];
    HandsBoxInputs in = Defaults(640, 360);
    in.minuteLength = value;
    EXPECT_FALSE(HandsBoxBounds(in, 2, hands)) << value;
    in = Defaults(640, 360);
    in.cornerRound = value;
    EXPECT_FALSE(HandsBoxBounds(in, 2, hands)) << value;
    in = Defaults(640, 360);
    in.turns[2] = value;
    EXPECT_FALSE(HandsBoxBounds(in, 2, hands)) << value;
  }
  PixelRect hands[3];
  EXPECT_FALSE(HandsBoxBounds(Defaults(0, 360), 2, hands));
  EXPECT_FALSE(HandsBoxBounds(Defaults(640, NAN), 2, hands));

  // Huge but finite values give the whole output, clamped, not an overflow.
  HandsBoxInputs huge = Defaults(640, 360);
  huge.secondLength = 1e30f;
  huge.turns[2] = 0.1f;
  ASSERT_TRUE(HandsBoxBounds(huge, 2, hands));
  EXPECT_EQ(hands[2].x, 0);
  EXPECT_EQ(hands[2].y, 0);
  EXPECT_EQ(hands[2].width, 640);
  EXPECT_EQ(hands[2].height, 360);
}

TEST(RectSplit, EveryPixelInExactlyOnePieceOfTheRightKind) {
  const int width = 37, height = 23;
  const std::vector<std::vector<PixelRect>> sets = {
      {},
      {{10, 5, 12, 8}},
      {{0, 0, 37, 23}},
      {{0, 0, 0, 0}, {5, 5, -3, 4}},
      {{-5, -5, 20, 50}, {30, 20, 40, 40}},
      {{36, 0, 1, 23}, {5, 22, 10, 1}, {40, 30, 3, 3}},
      {{10, 5, 12, 8}, {15, 8, 12, 8}, {12, 2, 4, 20}},
      {{0, 10, 37, 2}, {10, 0, 2, 23}, {2147483000, 0, 2000, 5}},
      {{3, 3, 5, 5}, {3, 3, 5, 5}, {3, 3, 5, 5}}};
  for (const auto& rects : sets) {
    RectSplit split;
    SplitByRects(rects.data(), static_cast<int>(rects.size()), width, height, split);
    ASSERT_LE(split.insideCount, RectSplit::kMaxPieces);
    ASSERT_LE(split.outsideCount, RectSplit::kMaxPieces);
    std::string what;
    for (const PixelRect& r : rects)
      what += std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) +
              "x" + std::to_string(r.height) + "; ";
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        bool wanted = false;
        for (const PixelRect& r : rects) wanted = wanted || Inside(r, x, y);
        int inside = 0, outside = 0;
        for (int i = 0; i < split.insideCount; ++i) inside += Inside(split.inside[i], x, y);
        for (int i = 0; i < split.outsideCount; ++i) outside += Inside(split.outside[i], x, y);
        ASSERT_EQ(inside + outside, 1) << what << "at (" << x << ", " << y << ")";
        ASSERT_EQ(inside, wanted ? 1 : 0) << what << "at (" << x << ", " << y << ")";
      }
    }
    for (int i = 0; i < split.insideCount; ++i) EXPECT_GT(split.inside[i].width, 0) << what;
    for (int i = 0; i < split.outsideCount; ++i) EXPECT_GT(split.outside[i].height, 0) << what;
  }
  // Merging keeps the pieces few: one rectangle in the middle leaves four.
  RectSplit split;
  const PixelRect middle{10, 5, 12, 8};
  SplitByRects(&middle, 1, width, height, split);
  EXPECT_EQ(split.insideCount, 1);
  EXPECT_EQ(split.outsideCount, 4);
}

}  // namespace

namespace {

// A hand's rectangle cut in halves must still hold all of its ink, and over
// twelve hours the halves must leave out more than the whole rectangles; the
// groups the split reports must be those of the rectangles covering each
// piece, as the one-hand program draws only that hand there.
TEST(HandsBox, HalvesHoldTheInkAndPiecesKnowTheirHands) {
  HandsBoxInputs in = Defaults(240, 160);
  in.minuteLength = 1.0f;
  in.secondLength = 0.9f;
  const int width = 240, height = 160;
  double wholeArea = 0.0, halvesArea = 0.0;
  for (int step = 0; step < 24; ++step) {
    in.turns[0] = static_cast<float>(step / 24.0);
    in.turns[1] = static_cast<float>(step * 5 / 24.0 + 0.06);
    in.turns[2] = static_cast<float>(step * 13 / 24.0 + 0.11);
    const double turns[3] = {in.turns[0], in.turns[1], in.turns[2]};
    PixelRect whole[3], rects[tickora::kMaxHandPieces];
    int handOf[tickora::kMaxHandPieces];
    ASSERT_TRUE(HandsBoxBounds(in, 0, whole));
    const int count = tickora::HandsBoxPieces(in, 0, 1, rects, handOf);
    ASSERT_GE(count, 3);
    RectSplit split, wholeSplit;
    SplitByRects(rects, count, width, height, split, handOf);
    SplitByRects(whole, 3, width, height, wholeSplit);
    for (int i = 0; i < split.insideCount; ++i)
      halvesArea += static_cast<double>(split.inside[i].width) * split.inside[i].height;
    for (int i = 0; i < wholeSplit.insideCount; ++i)
      wholeArea += static_cast<double>(wholeSplit.inside[i].width) * wholeSplit.inside[i].height;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const double fx = ((x + 0.5) / width - 0.5) * 10.0;
        const double fy = ((y + 0.5) / height - 0.5) * height / width * 10.0;
        unsigned covering = 0;
        for (int r = 0; r < count; ++r)
          if (Inside(rects[r], x, y)) covering |= 1u << handOf[r];
        if (FaceDistance(in, turns, fx, fy) < 0.105) {
          ASSERT_NE(covering, 0u) << "step " << step << ": ink at (" << x << ", " << y << ")";
        }
        for (int i = 0; i < split.insideCount; ++i) {
          if (Inside(split.inside[i], x, y)) {
            ASSERT_EQ(split.insideGroups[i], covering)
                << "step " << step << " (" << x << ", " << y << ")";
          }
        }
      }
    }
  }
  EXPECT_LT(halvesArea, 0.85 * wholeArea);
}

}  // namespace
