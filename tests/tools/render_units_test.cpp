// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of tickora-render a child process cannot show: the progress
// bar's text (drawn only on a terminal), the shortening of long lists, what
// the window's keys do to "Type", --start in other zones, the text the fake
// clock reads, names FFGL cut short, and frames written on worker threads.
#include "render/Background.h"
#include "render/ClockMoment.h"
#include "render/FrameSize.h"
#include "render/FrameWriters.h"
#include "render/OutputPath.h"
#include "render/ParameterSettings.h"
#include "render/ProgressBar.h"
#include "render/TextList.h"
#include "render/ToolError.h"
#include "render/WindowKeys.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>
#include <juce_graphics/juce_graphics.h>

#include <cstdlib>
#include <ctime>
#include <unistd.h>

using namespace render;

TEST(RenderUnits, ProgressBarFillsInProportionAndPadsTheCount) {
  EXPECT_EQ(ProgressBar::Render(0, 120, 10), "[          ]   0/120");
  EXPECT_EQ(ProgressBar::Render(60, 120, 10), "[#####     ]  60/120");
  EXPECT_EQ(ProgressBar::Render(119, 120, 10), "[######### ] 119/120");
  EXPECT_EQ(ProgressBar::Render(120, 120, 10), "[##########] 120/120");
  EXPECT_EQ(ProgressBar::Render(500, 120, 10), "[##########] 120/120");
}

TEST(RenderUnits, LongListsKeepTheirEndsAndCount) {
  EXPECT_EQ(JoinShortened({"a", "b", "c"}, 3), "a, b, c");
  EXPECT_EQ(JoinShortened({"a", "b", "c", "d"}, 3), "a, b, ..., d (4)");
  EXPECT_EQ(JoinShortened({}, 3), "");
}

TEST(RenderUnits, KeysStepThroughTypesAndWrapAround) {
  const KeyCommand next = InterpretKey(GLFW_KEY_T, 0);
  const KeyCommand previous = InterpretKey(GLFW_KEY_T, GLFW_MOD_SHIFT);
  EXPECT_EQ(next.action, KeyAction::NextType);
  EXPECT_EQ(previous.action, KeyAction::PreviousType);
  EXPECT_EQ(InterpretKey(GLFW_KEY_SPACE, 0).action, KeyAction::NextType);
  EXPECT_EQ(InterpretKey(GLFW_KEY_ESCAPE, 0).action, KeyAction::Quit);
  EXPECT_EQ(InterpretKey(GLFW_KEY_Q, 0).action, KeyAction::Quit);
  EXPECT_EQ(InterpretKey(GLFW_KEY_X, 0).action, KeyAction::None);
  EXPECT_EQ(NextElement(next, 2, 3), 0);
  EXPECT_EQ(NextElement(previous, 0, 3), 2);
  EXPECT_EQ(NextElement(InterpretKey(GLFW_KEY_3, 0), 0, 3), 2);
  EXPECT_EQ(NextElement(InterpretKey(GLFW_KEY_4, 0), 1, 3), 1);  // no fourth type
  EXPECT_EQ(NextElement(next, 0, 0), 0);
  EXPECT_EQ(KeyCodeForName("Q"), GLFW_KEY_Q);
  EXPECT_EQ(KeyCodeForName("7"), GLFW_KEY_7);
  EXPECT_EQ(KeyCodeForName("tab"), -1);
}

TEST(RenderUnits, SizesAndBackgroundsAreReadStrictly) {
  EXPECT_EQ(ParseFrameSize("640x360").width, 640);
  EXPECT_EQ(ParseFrameSize("640X360").height, 360);
  for (const char* bad : {"640x", "x360", "640x360x2", "64 0x360", "+640x360", "99999999x1"})
    EXPECT_THROW(ParseFrameSize(bad), ToolError) << bad;
  const Background navy = ParseBackground("navy");
  EXPECT_EQ(navy.kind, Background::Kind::Colour);
  EXPECT_EQ(navy.blue, 0x80);
  const Background shortHex = ParseBackground("#f80");
  EXPECT_EQ(shortHex.red, 0xff);
  EXPECT_EQ(shortHex.green, 0x88);
  EXPECT_THROW(ParseBackground("#12345"), ToolError);
  // Names ignore case, like every other name the tool reads.
  EXPECT_EQ(ParseBackground("NONE").kind, Background::Kind::None);
  EXPECT_EQ(ParseBackground("Checker").kind, Background::Kind::Checker);
  EXPECT_EQ(ParseBackground("NAVY").blue, 0x80);
  EXPECT_EQ(ParseBackground("#F80").green, 0x88);
}

TEST(RenderUnits, CompositingUsesStraightAlpha) {
  host::Pixels frame;
  frame.width = 2;
  frame.height = 1;
  frame.rgba = {255, 0, 0, 128, 0, 0, 0, 0};
  Background grey;
  grey.kind = Background::Kind::Colour;
  grey.red = grey.green = grey.blue = 100;
  Composite(grey, frame);
  EXPECT_EQ(frame.rgba, (std::vector<uint8_t>{178, 50, 50, 255, 100, 100, 100, 255}));
}

namespace {

// Runs with TZ set to `zone`, restoring the test's own zone afterwards.
struct InZone {
  explicit InZone(const char* zone) {
    const char* old = std::getenv("TZ");
    had = old != nullptr;
    if (had) previous = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~InZone() {
    if (had) setenv("TZ", previous.c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }
  bool had = false;
  std::string previous;
};

constexpr int64_t kSecond = 1000000000;

}  // namespace

TEST(RenderUnits, StartIsReadAsLocalTimeToTheNanosecond) {
  {
    InZone utc("UTC");
    // 2026-12-08 10:09:59 UTC is 1796724599 s after the epoch.
    EXPECT_EQ(ParseLocalMoment("2026-12-08 10:09:59"), 1796724599 * kSecond);
    EXPECT_EQ(ParseLocalMoment("2026-12-08 10:09:59.75"), 1796724599 * kSecond + 750000000);
    EXPECT_EQ(ParseLocalMoment("2026-12-08T10:09:59.000000001"), 1796724599 * kSecond + 1);
    EXPECT_EQ(ParseLocalMoment("2028-02-29 00:00:00") - ParseLocalMoment("2028-02-28 00:00:00"),
              86400 * kSecond);
    EXPECT_EQ(LocalText(1796724599 * kSecond + 750000000), "2026-12-08 10:09:59.750");
    for (const char* bad : {"2026-12-08 10:09", "2026-12-08 10:09:59.", "2026-12-08 10:09:59.1234567890",
                            "2026-12-08  10:09:59", "2026-12-08 10:09:5x", "2026-02-29 10:00:00",
                            "2026-04-31 10:00:00", "2026-12-08 24:00:00", "2026-12-08 10:60:00",
                            "1969-12-31 23:59:59", "2201-01-01 00:00:00", "2026-12-08 10:09:59 "})
      EXPECT_THROW(ParseLocalMoment(bad), ToolError) << bad;
  }
  {
    InZone berlin("Europe/Berlin");
    // Winter: an hour ahead of UTC; summer: two.
    EXPECT_EQ(ParseLocalMoment("2026-12-08 11:09:59"), 1796724599 * kSecond);
    EXPECT_EQ(ParseLocalMoment("2026-07-01 12:00:00"), 1782900000 * kSecond);  // 10:00 UTC
    // 02:30 on 29 March 2026 does not exist there: the clock shows 03:30.
    EXPECT_EQ(LocalText(ParseLocalMoment("2026-03-29 02:30:00")), "2026-03-29 03:30:00.000");
  }
}

TEST(RenderUnits, FrameMomentsAreComputedFromTheStartAndReadBackExactly) {
  const int64_t start = 1796724599 * kSecond + 750000000;
  EXPECT_EQ(FrameMoment(start, 0, 10.0), start);
  EXPECT_EQ(FrameMoment(start, 3, 10.0), start + 300000000);
  // No drift: the millionth frame at 3 fps is 333333.333333333 s on.
  EXPECT_EQ(FrameMoment(start, 1000000, 3.0), start + 333333333333333);
  EXPECT_EQ(FrameMoment(start, 30000, 30000.0 / 1001.0), start + 1001 * kSecond);
  // The fake clock's file: whole seconds, nine digits, half a microsecond on.
  EXPECT_EQ(FakeTimeText(start + 100000000), "1796724599.850000500");
  EXPECT_EQ(FakeTimeText(5 * kSecond), "5.000000500");
  int64_t back = 0;
  ASSERT_TRUE(ParseFakeTimeText("1796724599.850000500", &back));
  EXPECT_EQ(back, start + 100000000);
  for (const char* bad : {"", "1796724599", "1796724599.85", "x.000000500", "1.0000005001"})
    EXPECT_FALSE(ParseFakeTimeText(bad, &back)) << bad;
}

TEST(RenderUnits, ANameLongerThanFFGLKeepsMatchesOnlyInFull) {
  const auto param = [](uint32_t index, const char* name, uint32_t type) {
    host::ParameterInfo p;
    p.index = index;
    p.name = name;
    p.type = type;
    return p;
  };
  const std::vector<host::ParameterInfo> parameters = {
      param(0, "Color", FF_TYPE_HUE),
      param(1, "Color_saturation", FF_TYPE_SATURATION),  // 16: nothing cut
      param(2, "Color_brighthnes", FF_TYPE_BRIGHTNESS),  // "Color_brighthness" cut
      param(3, "Color_alpha", FF_TYPE_ALPHA),
      param(4, "Background_satur", FF_TYPE_SATURATION),
      param(5, "Sixteen_letters_", FF_TYPE_STANDARD)};
  EXPECT_EQ(FindParameterByName(parameters, "Color_brighthnes"), 2);
  EXPECT_EQ(FindParameterByName(parameters, "Color_brighthness"), 2);
  EXPECT_EQ(FindParameterByName(parameters, "COLOR_BRIGHTHNESS"), 2);
  EXPECT_EQ(FindParameterByName(parameters, "Background_saturation"), 4);
  EXPECT_EQ(FindParameterByName(parameters, "color_alpha"), 3);
  for (const char* other : {"Color_brighthnesXYZ", "Color_brighthnesss", "Color_saturationX",
                            "Background_saturate", "Background_saturatio", "Sixteen_letters_x"})
    EXPECT_EQ(FindParameterByName(parameters, other), -1) << other;
}

TEST(RenderUnits, SequenceFrameNamesAreFramePng) {
  EXPECT_TRUE(IsSequenceFrameName("frame-00001.png"));
  EXPECT_TRUE(IsSequenceFrameName("frame-1234567.png"));
  EXPECT_FALSE(IsSequenceFrameName("frame-00001.png.tmp-12"));
  EXPECT_FALSE(IsSequenceFrameName("my-frame-00001.png"));
  EXPECT_FALSE(IsSequenceFrameName("frame-.pn"));
}

TEST(RenderUnits, WorkerThreadsWriteEachFrameToItsOwnFile) {
  char folder[] = "/tmp/tickora-writers-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string dir = folder;
  for (int threads : {0, 3}) {
    FrameWriters writers(threads, Background{});
    for (int i = 0; i < 12; ++i) {
      host::Pixels frame;
      frame.width = 4;
      frame.height = 2;
      frame.rgba.assign(4 * 2 * 4, 255);
      frame.rgba[0] = static_cast<uint8_t>(i * 20);  // which frame this is
      writers.Write(std::move(frame),
                    dir + "/" + std::to_string(threads) + "-" + std::to_string(i) + ".png");
    }
    writers.Finish();
    EXPECT_EQ(writers.Written(), 12);
    for (int i = 0; i < 12; ++i) {
      const juce::File file(dir + "/" + std::to_string(threads) + "-" + std::to_string(i) + ".png");
      juce::FileInputStream in(file);
      ASSERT_TRUE(in.openedOk()) << threads << " " << i;
      const juce::Image image = juce::PNGImageFormat().decodeImage(in);
      EXPECT_EQ(image.getPixelAt(0, 0).getRed(), i * 20) << threads << " " << i;
    }
    // A failed write surfaces in the drawing thread as the tool's error.
    FrameWriters failing(threads, Background{});
    host::Pixels frame;
    frame.width = frame.height = 1;
    frame.rgba.assign(4, 0);
    bool thrown = false;
    try {
      failing.Write(frame, dir + "/no/such/folder.png");
      failing.Finish();
    } catch (const ToolError& e) {
      thrown = true;
      EXPECT_EQ(e.Status(), kExitRunTime);
    }
    EXPECT_TRUE(thrown) << threads;
    EXPECT_EQ(failing.Written(), 0);
  }
  std::system(("rm -rf '" + dir + "'").c_str());
}
