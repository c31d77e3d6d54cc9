// SPDX-License-Identifier: GPL-3.0-or-later
// The coarse pixel measures the smoke hosts and end-to-end tests rely on:
// what counts as ink, the box around it, and counting in a clipped box.
#include "host/Ink.h"

#include <gtest/gtest.h>

namespace {

host::Pixels Blank(int width, int height) {
  host::Pixels pixels;
  pixels.width = width;
  pixels.height = height;
  pixels.rgba.assign(static_cast<size_t>(width) * height * 4, 0);
  return pixels;
}

void Put(host::Pixels& pixels, int x, int y, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  uint8_t* pixel = &pixels.rgba[(static_cast<size_t>(y) * pixels.width + x) * 4];
  pixel[0] = r;
  pixel[1] = g;
  pixel[2] = b;
  pixel[3] = a;
}

TEST(Ink, ThresholdIsAlphaAboveOneHalfUnlessAsked) {
  host::Pixels pixels = Blank(4, 1);
  Put(pixels, 0, 0, 0, 0, 0, 128);
  Put(pixels, 1, 0, 0, 0, 0, 129);
  Put(pixels, 2, 0, 0, 0, 0, 1);
  EXPECT_EQ(host::CountInk(pixels), 1);
  EXPECT_EQ(host::CountInk(pixels, 0), 3) << "any coverage at all";
  EXPECT_EQ(host::MeasureInk(pixels).count, 1);
  EXPECT_EQ(host::CountInk(Blank(0, 0)), 0);
}

TEST(Ink, MeasureFindsBoxAndRedInk) {
  host::Pixels pixels = Blank(10, 8);
  Put(pixels, 2, 5, 255, 0, 0, 255);
  Put(pixels, 7, 1, 255, 0, 0, 255);
  Put(pixels, 4, 3, 255, 255, 255, 255);
  const host::Ink ink = host::MeasureInk(pixels);
  EXPECT_EQ(ink.count, 3);
  EXPECT_EQ(ink.red, 2);
  EXPECT_EQ(ink.left, 2);
  EXPECT_EQ(ink.right, 7);
  EXPECT_EQ(ink.top, 1);
  EXPECT_EQ(ink.bottom, 5);
  EXPECT_EQ(ink.Width(), 6);
  EXPECT_EQ(ink.Height(), 5);

  const host::Ink none = host::MeasureInk(Blank(3, 3));
  EXPECT_EQ(none.count, 0);
  EXPECT_GT(none.left, none.right) << "no ink reads as an empty box";
}

TEST(Ink, BoxIsHalfOpenAndClippedToTheImage) {
  host::Pixels pixels = Blank(5, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) Put(pixels, x, y, 0, 0, 0, 255);
  EXPECT_EQ(host::InkInBox(pixels, 1, 1, 3, 3), 4);
  EXPECT_EQ(host::InkInBox(pixels, -10, -10, 100, 100), 25);
  EXPECT_EQ(host::InkInBox(pixels, 4, 4, 2, 2), 0) << "an inverted box holds nothing";
  EXPECT_EQ(host::InkInBox(pixels, 5, 0, 9, 5), 0);
}

}  // namespace
