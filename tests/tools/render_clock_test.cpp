// SPDX-License-Identifier: GPL-3.0-or-later
// The clock a sequence shows, through the real binary: frame k of --frames N
// --fps F is the picture of the clock at start + k/F, compared pixel for
// pixel with a still drawn under a clock frozen at that moment (hundredths
// shown, so every frame differs from the one before).
#include "RenderTool.h"

#include <gtest/gtest.h>

using render_test::DifferingPixels;
using render_test::LoadPng;
using render_test::RunRender;
using render_test::ToolRun;

namespace {

const std::vector<std::string> kLook = {"--size", "240x135", "--set", "Show Millisecs=on"};

std::vector<std::string> With(std::vector<std::string> args) {
  args.insert(args.begin(), kLook.begin(), kLook.end());
  return args;
}

// A still of the clock frozen at `moment` (UTC); the half microsecond on
// top keeps libfaketime from reading ".85" as ".849999999".
juce::Image FrozenStill(const std::string& moment, const std::string& file) {
  const ToolRun run =
      RunRender(With({"--out", file}), render_test::FrozenClockAt(moment + "0005"));
  EXPECT_EQ(run.status, 0) << run.err;
  return LoadPng(file);
}

}  // namespace

TEST(RenderClock, FrameKShowsTheClockAtStartPlusKOverF) {
  const std::string dir = render_test::MakeTempFolder("clock");
  // Across a second, a minute and an hour boundary, at 10 frames a second.
  const ToolRun run = RunRender(With({"--start", "2026-12-08 10:59:59.75", "--frames", "5",
                                      "--fps", "10", "--out-dir", dir + "/seq"}),
                                {"TZ=UTC"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("clock 2026-12-08 10:59:59.750 to 2026-12-08 11:00:00.150"),
            std::string::npos)
      << run.out;
  const std::vector<std::string> moments = {
      "2026-12-08 10:59:59.750", "2026-12-08 10:59:59.850", "2026-12-08 10:59:59.950",
      "2026-12-08 11:00:00.050", "2026-12-08 11:00:00.150"};
  juce::Image previous;
  for (size_t k = 0; k < moments.size(); ++k) {
    const juce::Image frame = LoadPng(dir + "/seq/" + "frame-0000" + std::to_string(k + 1) + ".png");
    ASSERT_TRUE(frame.isValid()) << k;
    const juce::Image still = FrozenStill(moments[k], dir + "/still-" + std::to_string(k) + ".png");
    ASSERT_TRUE(still.isValid()) << k;
    EXPECT_EQ(DifferingPixels(frame, still), 0) << "frame " << k << " vs " << moments[k];
    if (k > 0) {
      EXPECT_GT(DifferingPixels(frame, previous), 0) << "frame " << k;
    }
    previous = frame;
  }
}

TEST(RenderClock, AStillWithStartShowsThatLocalMoment) {
  const std::string dir = render_test::MakeTempFolder("start-still");
  const ToolRun run = RunRender(
      With({"--start", "2026-12-08 10:09:59.95", "--out", dir + "/start.png"}), {"TZ=UTC"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("(240x135) at 2026-12-08 10:09:59.950"), std::string::npos) << run.out;
  const juce::Image still = FrozenStill("2026-12-08 10:09:59.950", dir + "/frozen.png");
  EXPECT_EQ(DifferingPixels(LoadPng(dir + "/start.png"), still), 0);
  // --start is local time: the same words show the same picture in Berlin
  // (read as UTC they would show 11:09 there).
  const ToolRun berlin = RunRender(
      With({"--start", "2026-12-08 10:09:59.95", "--out", dir + "/berlin.png"}),
      {"TZ=Europe/Berlin"});
  ASSERT_EQ(berlin.status, 0) << berlin.err;
  EXPECT_EQ(DifferingPixels(LoadPng(dir + "/berlin.png"), still), 0);
}

TEST(RenderClock, TheClockFileGoesAwayAndAMissingLibraryIsNamed) {
  const std::string dir = render_test::MakeTempFolder("clock-file");
  const std::string tmp = render_test::MakeTempFolder("clock-tmp");
  const ToolRun done = RunRender({"--size", "32x18", "--frames", "2", "--out-dir", dir + "/seq"},
                                 {"TMPDIR=" + tmp});
  ASSERT_EQ(done.status, 0) << done.err;
  EXPECT_EQ(render_test::FilesIn(dir + "/seq").size(), 2u);
  // A failure inside the process under the fake clock cleans up as well.
  const ToolRun failed = RunRender({"--size", "32x18", "--frames", "2", "--out-dir", "/proc/x"},
                                   {"TMPDIR=" + tmp});
  EXPECT_EQ(failed.status, 1);
  EXPECT_TRUE(render_test::FilesIn(tmp).empty());

  const ToolRun missing =
      RunRender({"--start", "2026-12-08 10:09:59", "--out", dir + "/x.png"},
                {"TICKORA_FAKETIME=" + dir + "/no-libfaketime.so"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "tickora-render: TICKORA_FAKETIME names no library file: '" + dir +
                             "/no-libfaketime.so'\n");
  EXPECT_FALSE(render_test::Exists(dir + "/x.png"));
}

// A running Stopwatch advances exactly one frame period per frame: frame k
// of a 4 fps sequence reads what a stopped Timer set to k/4 s reads.
TEST(RenderClock, RunningStopwatchAdvancesOneFramePeriodPerFrame) {
  const std::string dir = render_test::MakeTempFolder("stopwatch");
  const ToolRun run = RunRender(With({"--set", "Type=Stopwatch", "--set", "Run=on", "--frames",
                                      "3", "--fps", "4", "--out-dir", dir + "/seq"}),
                                {"TZ=UTC"});
  ASSERT_EQ(run.status, 0) << run.err;
  // Durations in minutes: 0.25 s and 0.5 s.
  const char* const durations[] = {"0", "0.0041666667", "0.0083333333"};
  for (int k = 0; k < 3; ++k) {
    const std::string file = dir + "/timer-" + std::to_string(k) + ".png";
    const ToolRun still = RunRender(
        With({"--set", "Type=Timer", "--set", std::string("Duration=") + durations[k], "--out",
              file}),
        render_test::FrozenClockAt("2026-12-08 10:00:00.0005"));
    ASSERT_EQ(still.status, 0) << still.err;
    const juce::Image frame = LoadPng(dir + "/seq/frame-0000" + std::to_string(k + 1) + ".png");
    ASSERT_TRUE(frame.isValid()) << k;
    EXPECT_EQ(DifferingPixels(frame, LoadPng(file)), 0) << "frame " << k;
  }
}
