// SPDX-License-Identifier: GPL-3.0-or-later
// Timer and Stopwatch through plugMain, with the monotonic clock and the
// wall clock both driven by the test: each script line moves a clock, sets a
// parameter as a host would (between frames) or draws a frame and says what
// it must read.
#include "ffgl/CFFGLPlugin.h"
#include "host/HeadlessHost.h"
#include "tests/clock/ClockFixture.h"
#include "tickora/Tickora.h"
#include "tickora/TimeSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" FFMixed plugMain(uint32_t functionCode, FFMixed inputValue, FFInstanceID instanceID);

namespace {

const host::LinkedPlugin plugin(&plugMain);
int64_t monotonic = 0;  // microseconds
int64_t Monotonic() { return monotonic; }

// "mono +MS" moves the monotonic clock on, "wall +MS" (or -MS) the wall
// clock alone, "both +MS" both; "set NAME=VALUE", "text NAME=TEXT"; "frame
// TEXT" draws and checks the read-out ("" for nothing drawn).
struct Script {
  const char* what;
  std::vector<std::string> lines;
};

class Timers : public clocktest::ClockFixture {
 protected:
  void SetUp() override {
    ClockFixture::SetUp();
    tickora::SetMonotonicSource(&Monotonic);
  }
  void TearDown() override {
    tickora::SetMonotonicSource(nullptr);
    ClockFixture::TearDown();
  }

  void Run(const Script& script) {
    SCOPED_TRACE(script.what);
    clocktest::FrozenNow() = clocktest::Utc(2026, 12, 31, 22, 0);  // 23:00 in Berlin
    monotonic = 5000000000;
    ASSERT_TRUE(context->SetFramebufferSize(160, 90));
    FFInstanceID instance = plugin.Instantiate(160, 90);
    ASSERT_NE(instance, nullptr);
    auto* clock = dynamic_cast<tickora::Tickora*>(static_cast<ffgl::CFFGLPlugin*>(instance));
    ASSERT_NE(clock, nullptr);
    for (const std::string& line : script.lines) {
      SCOPED_TRACE(line);
      const size_t space = line.find(' ');
      const std::string verb = line.substr(0, space);
      const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
      const size_t split = rest.find('=');
      const std::string name = rest.substr(0, split);
      const std::string value = split == std::string::npos ? "" : rest.substr(split + 1);
      if (verb == "mono" || verb == "both") monotonic += std::stoll(rest) * 1000;
      if (verb == "wall" || verb == "both") clocktest::FrozenNow() += std::stoll(rest);
      if (verb == "set") {
        ASSERT_TRUE(plugin.SetParameter(instance, name, std::stof(value)));
      }
      if (verb == "text") {
        ASSERT_EQ(plugin.SetText(instance, static_cast<uint32_t>(plugin.FindParameter(name)),
                                 value.c_str()),
                  FF_SUCCESS);
      }
      if (verb == "frame") {
        context->Clear(0, 0, 0, 0);
        ASSERT_EQ(plugin.ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
        EXPECT_EQ(clock->DisplayText().toStdString() + (clock->Warning() ? " [warn]" : ""), rest);
      }
    }
    plugin.Deinstantiate(instance);
  }
};

TEST_F(Timers, RunPauseResumeResetAndStartAt) {
  const Script scripts[] = {
      {"a Timer stopped shows its Duration",
       {"set Type=3", "frame 00:05:00", "mono +60000", "frame 00:05:00", "text Duration=1:30:00",
        "frame 01:30:00", "text Duration=20", "frame 00:20:00", "text Duration=1.5",
        "frame 00:01:30"}},
      // A pause of 3.000 s moves the end by 3.000 s; the frames come late and
      // unevenly, the moments of Run decide.
      {"run, pause, resume",
       {"set Type=3", "text Duration=00:10", "set Run=1", "mono +2500", "frame 00:00:08",
        "mono +500", "set Run=0", "mono +3000", "frame 00:00:07", "set Run=1", "mono +6999",
        "frame 00:00:01", "mono +1", "frame 00:00:00", "mono +5000", "frame 00:00:00"}},
      {"count up after a Timer ends, warning before",
       {"set Type=3", "text Duration=00:30", "set At zero=1", "set Warn at=1", "set Run=1",
        "mono +19999", "frame 00:00:11", "mono +1", "frame 00:00:10 [warn]", "mono +10000",
        "frame +00:00:00", "mono +83400", "frame +00:01:23"}},
      {"reset while running and while stopped",
       {"set Type=3", "text Duration=00:10", "set Run=1", "mono +4000", "set Reset=1",
        "set Reset=0", "frame 00:00:10", "mono +1500", "frame 00:00:09", "set Run=0",
        "set Reset=1", "frame 00:00:10", "set Reset=1", "mono +5000", "frame 00:00:10"}},
      // The wall clock stepped (an NTP correction, a clock change) while
      // running moves nothing.
      {"wall clock steps", {"set Type=4", "set Run=1", "both +1000", "wall -3600000",
                            "frame 00:00:01", "wall +7200000", "mono +1000", "frame 00:00:02"}},
      {"the Stopwatch past 100 hours",
       {"set Type=4", "set Run=1", "mono +360000000", "frame 100:00:00", "set Long times=1",
        "mono +1999", "frame 4d 04:00:01", "set Show Millisecs=1", "frame 4d 04:00:01:99"}},
      // Start at 23:00:05 local; the frame that notices comes a second late.
      {"Start at crossing its moment between two frames",
       {"set Type=4", "text Start at=2026-12-31 23:00:05", "both +4999", "frame 00:00:00",
        "both +2001", "frame 00:00:02", "set Run=0", "both +5000", "frame 00:00:02"}},
      // Running already when the moment comes: nothing to start, and a pause
      // afterwards still pauses.
      {"Start at while running",
       {"set Type=4", "set Run=1", "text Start at=2026-12-31 23:00:05", "both +10000",
        "frame 00:00:10", "set Run=0", "both +5000", "frame 00:00:10"}},
      {"End text at a Timer's end, any bytes in it",
       {"set Type=3", "text Duration=00:02", "set At zero=4", "text End text=Happy New Year!",
        "set Run=1", "mono +1999", "frame 00:00:01", "mono +1", "frame Happy New Year!",
        "text End text=Bad \xff\xc0\xaf bytes\t",
        "frame Bad \xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd bytes ",
        "set Reset=1", "frame 00:00:02"}},
      {"bad Duration", {"set Type=3", "text Duration=5 minutes", "frame --:--:--",
                        "text Duration=00:75", "frame --:--:--", "text Duration=", "frame --:--:--"}},
  };
  for (const Script& script : scripts) Run(script);
}

// The lines a host writes are drawn whole within the output: shrunk to its
// width (no ink in its first or last column, which a line cut at the edges
// would leave), the label in rows the read-out does not reach, invalid bytes
// drawn as replacements around the valid text.
TEST_F(Timers, LabelAndEndTextFitTheWidthWhateverTheHostSends) {
  struct Case {
    const char* what;
    std::string label, endText;
    int minSpan;  // columns the line's ink spans at least
  };
  const Case cases[] = {
      {"long label", "Doors open in ten minutes: please take your seats and switch off phones",
       "", 200},
      {"invalid UTF-8", "Doors \xff\xfe open \xc0\xaf in \xe2\x82", "", 60},
      {"long end text", "", "Happy New Year to everyone here and everyone watching at home!", 200},
  };
  constexpr int kWidth = 320, kHeight = 180;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    monotonic = 5000000000;
    ASSERT_TRUE(context->SetFramebufferSize(kWidth, kHeight));
    FFInstanceID instance = plugin.Instantiate(kWidth, kHeight);
    ASSERT_NE(instance, nullptr);
    const auto frame = [&] {
      context->Clear(0, 0, 0, 0);
      EXPECT_EQ(plugin.ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
      return context->ReadPixels();
    };
    const auto setText = [&](const char* name, const std::string& text) {
      EXPECT_EQ(plugin.SetText(instance, static_cast<uint32_t>(plugin.FindParameter(name)),
                               text.c_str()),
                FF_SUCCESS);
    };
    ASSERT_TRUE(plugin.SetParameter(instance, "Type", 3.0f));
    ASSERT_TRUE(plugin.SetParameter(instance, "At zero", 4.0f));
    setText("Duration", "00:01");
    // The read-out's rows, from a frame without either line.
    const host::Pixels plain = frame();
    int low = kHeight, high = -1;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        if (clocktest::Ink(plain, x, y)) low = std::min(low, y), high = std::max(high, y);
    ASSERT_LE(low, high);
    setText("Label", c.label);
    setText("End text", c.endText);
    if (!c.endText.empty()) {
      ASSERT_TRUE(plugin.SetParameter(instance, "Run", 1.0f));
      monotonic += 1000000;
    }
    const host::Pixels pixels = frame();
    const std::vector<clocktest::InkRun> runs = clocktest::InkColumns(pixels);
    ASSERT_FALSE(runs.empty());
    EXPECT_GT(runs.front().first, 0);
    EXPECT_LT(runs.back().last, kWidth - 1);
    EXPECT_GE(runs.back().last - runs.front().first, c.minSpan);
    bool outsideReadout = false;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth && (y < low || y > high); ++x)
        outsideReadout = outsideReadout || clocktest::Ink(pixels, x, y);
    EXPECT_EQ(outsideReadout, !c.label.empty());
    plugin.Deinstantiate(instance);
  }
}

}  // namespace
