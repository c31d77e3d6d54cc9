// SPDX-License-Identifier: GPL-3.0-or-later
// tickora-render's pictures through the real binary, under a frozen clock
// (10:09:59.5 UTC): a still decodes to the asked size with the clock's ink
// where the clock is, backgrounds make it opaque, and a sequence writes
// exactly its N numbered files.
#include "RenderTool.h"

#include <gtest/gtest.h>

using render_test::FrozenClock;
using render_test::InkIn;
using render_test::LoadPng;
using render_test::RunRender;
using render_test::ToolRun;

TEST(RenderOutput, DigitalStillHasInkInTheMiddleBandAndTransparentCorners) {
  const std::string file = render_test::MakeTempFolder("digital") + "/digital.png";
  const ToolRun run = RunRender({"--size", "480x270", "--out", file}, FrozenClock());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("wrote " + file + " (480x270)"), std::string::npos) << run.out;
  const juce::Image image = LoadPng(file);
  ASSERT_TRUE(image.isValid());
  EXPECT_EQ(image.getWidth(), 480);
  EXPECT_EQ(image.getHeight(), 270);
  ASSERT_TRUE(image.hasAlphaChannel());  // no background: the plug-in's alpha is kept
  // "10:09:59" spans the width in a band around the middle.
  EXPECT_GT(InkIn(image, 0, 90, 480, 90), 2000);
  for (int x0 : {0, 160, 320}) EXPECT_GT(InkIn(image, x0, 90, 160, 90), 300) << x0;
  EXPECT_EQ(InkIn(image, 0, 0, 480, 40), 0);
  EXPECT_EQ(InkIn(image, 0, 230, 480, 40), 0);
  EXPECT_EQ(image.getPixelAt(2, 2).getAlpha(), 0);
  // Default colour: hue 1, saturation 2, brightness 2 comes out pure red.
  bool sawRed = false;
  for (int x = 0; x < 480 && !sawRed; ++x) {
    const juce::Colour c = image.getPixelAt(x, 135);
    sawRed = c.getAlpha() == 255 && c.getRed() == 255 && c.getGreen() == 0 && c.getBlue() == 0;
  }
  EXPECT_TRUE(sawRed);
}

TEST(RenderOutput, ClassicHandsMeetInTheCentreOverAColour) {
  const std::string file = render_test::MakeTempFolder("classic") + "/classic.png";
  const ToolRun run = RunRender(
      {"--size", "320x320", "--set", "Type=Classic", "--background", "#102030", "--out", file},
      FrozenClock());
  ASSERT_EQ(run.status, 0) << run.err;
  const juce::Image image = LoadPng(file);
  ASSERT_TRUE(image.isValid());
  EXPECT_EQ(image.getWidth(), 320);
  EXPECT_EQ(image.getHeight(), 320);
  EXPECT_FALSE(image.hasAlphaChannel());  // composited: opaque, written as RGB
  EXPECT_GT(InkIn(image, 140, 140, 40, 40), 100);
  EXPECT_EQ(InkIn(image, 0, 0, 40, 40), 0);
  EXPECT_EQ(image.getPixelAt(3, 3), juce::Colour(0xff102030));
}

TEST(RenderOutput, CheckerBackgroundShowsTwoGreysAroundTheClock) {
  const std::string file = render_test::MakeTempFolder("checker") + "/checker.png";
  const ToolRun run =
      RunRender({"--size", "270x270", "--background", "checker", "--out", file}, FrozenClock());
  ASSERT_EQ(run.status, 0) << run.err;
  const juce::Image image = LoadPng(file);
  ASSERT_TRUE(image.isValid());
  // Squares of 10 pixels (a 27th of the shorter side), light at the origin.
  EXPECT_EQ(image.getPixelAt(1, 1), juce::Colour(0xff9a9a9a));
  EXPECT_EQ(image.getPixelAt(11, 1), juce::Colour(0xff6a6a6a));
  EXPECT_EQ(image.getPixelAt(11, 11), juce::Colour(0xff9a9a9a));
  EXPECT_GT(InkIn(image, 0, 100, 270, 70), 300);
}

TEST(RenderOutput, SequenceWritesExactlyNNumberedFiles) {
  const std::string dir = render_test::MakeTempFolder("sequence") + "/frames/nested";
  const ToolRun run = RunRender(
      {"--size", "96x54", "--frames", "4", "--fps", "50", "--out-dir", dir, "--set", "Show Millisecs=on"});
  ASSERT_EQ(run.status, 0) << run.err;
  // No progress bar when standard error is no terminal.
  EXPECT_EQ(run.err.find('\r'), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("] 4/4"), std::string::npos) << run.err;
  const std::vector<std::string> files = render_test::FilesIn(dir);
  ASSERT_EQ(files, (std::vector<std::string>{"frame-00001.png", "frame-00002.png",
                                             "frame-00003.png", "frame-00004.png"}));
  for (const std::string& name : files) {
    const juce::Image image = LoadPng(dir + "/" + name);
    ASSERT_TRUE(image.isValid()) << name;
    EXPECT_EQ(image.getWidth(), 96);
    EXPECT_EQ(image.getHeight(), 54);
    EXPECT_GT(InkIn(image, 0, 0, 96, 54), 50) << name;
  }
}

TEST(RenderOutput, AFailedWriteAfterDrawingLeavesNoFileBehind) {
  // /proc accepts no new files although its folder looks writable to root,
  // so for root the failure comes only when the drawn PNG is written (for
  // anyone else the check before drawing refuses it).
  const ToolRun run = RunRender({"--size", "32x18", "--out", "/proc/tickora-render-test.png"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err.rfind("tickora-render: cannot write '/proc/tickora-render-test.png'", 0), 0u)
      << run.err;
  EXPECT_FALSE(render_test::Exists("/proc/tickora-render-test.png"));
}
