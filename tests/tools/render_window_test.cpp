// SPDX-License-Identifier: GPL-3.0-or-later
// tickora-render --window under Xvfb (xvfb-run -a): the window opens with a
// GL 4.1 core context, draws, switches "Type" and quits on its keys, and
// follows a resize. Keys and resizes come from the hidden --test-keys hook,
// which calls the same handler GLFW's key callback calls, one step after
// each drawn frame; --screenshot reads the window's own framebuffer back
// after the last frame. --quit-after-frames is only a safety net: a quit
// key that did not work shows in the reason printed.
#include "RenderTool.h"

#include <gtest/gtest.h>

using render_test::InkIn;
using render_test::LoadPng;
using render_test::ToolRun;

namespace {

ToolRun RunInXvfb(const std::vector<std::string>& args) {
  std::vector<std::string> all{"-a", "-s", "-screen 0 1024x768x24", render_test::RenderBinary()};
  all.insert(all.end(), args.begin(), args.end());
  ToolRun run;
  // xvfb-run -a picks a free display, but two picking at the same moment can
  // collide; a server that failed to start is worth another try.
  for (int attempt = 0; attempt < 3; ++attempt) {
    run = render_test::Run("xvfb-run", all);
    if (run.err.find("Xvfb failed to start") == std::string::npos) break;
  }
  return run;
}

}  // namespace

TEST(RenderWindow, DrawsSwitchesTypeAndQuitsOnItsKey) {
  const std::string shot = render_test::MakeTempFolder("window") + "/shot.png";
  const ToolRun run = RunInXvfb({"--window", "--size", "320x180", "--background", "black",
                                 "--screenshot", shot, "--test-keys", "t,q",
                                 "--quit-after-frames", "200"});
  ASSERT_EQ(run.status, 0) << run.err;
  // Digital first; T after frame 1 switched to Classic; Q after frame 2 quit.
  EXPECT_NE(run.out.find("drew 2 frames in the window; Type Classic; key q quit"),
            std::string::npos)
      << run.out;
  const juce::Image image = LoadPng(shot);
  ASSERT_TRUE(image.isValid());
  EXPECT_EQ(image.getWidth(), 320);
  EXPECT_EQ(image.getHeight(), 180);
  // Red hands on black around the centre, nothing in the corners.
  EXPECT_GT(InkIn(image, 120, 50, 80, 80), 100);
  EXPECT_EQ(InkIn(image, 0, 0, 30, 30), 0);
  EXPECT_EQ(image.getPixelAt(1, 1), juce::Colour(0xff000000));
}

TEST(RenderWindow, ResizingTheWindowResizesTheInstance) {
  const std::string shot = render_test::MakeTempFolder("resize") + "/shot.png";
  const ToolRun run = RunInXvfb({"--window", "--size", "320x180", "--set", "Type=Countdown",
                                 "--screenshot", shot, "--test-keys", "200x120,1,escape",
                                 "--quit-after-frames", "200"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("drew 3 frames in the window; Type Digital; key escape quit"),
            std::string::npos)
      << run.out;
  const juce::Image image = LoadPng(shot);
  ASSERT_TRUE(image.isValid());
  EXPECT_EQ(image.getWidth(), 200);
  EXPECT_EQ(image.getHeight(), 120);
  // The read-out fills the new width (drawn for the new size, not cropped).
  EXPECT_GT(InkIn(image, 10, 30, 60, 60), 40);
  EXPECT_GT(InkIn(image, 130, 30, 60, 60), 40);
}

TEST(RenderWindow, NoDisplayIsARunTimeError) {
  const ToolRun run = render_test::Run(render_test::RenderBinary(), {"--window"}, {"-DISPLAY",
                                                                                  "-WAYLAND_DISPLAY"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err.rfind("tickora-render: no GL context available: cannot open a window: ", 0), 0u)
      << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}
