// SPDX-License-Identifier: GPL-3.0-or-later
// The Digital read-out of Tickora.so, through plugMain with the wall clock
// frozen by libfaketime, at each instant of the clock-change table that the
// Windows smoke host also checks Tickora.dll against (host/ClockChanges.h).
#include "host/ClockChanges.h"
#include "tests/support/HostSession.h"

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

class ClockChangeReadout : public testing_support::PluginHostTest {
 protected:
  void SetUp() override {
    PluginHostTest::SetUp();
    ASSERT_TRUE(context->SetFramebufferSize(320, 180));
    instance = NewInstance(320, 180);
    ASSERT_NE(instance, nullptr);
  }
  void TearDown() override {
    UseZone("UTC");
    PluginHostTest::TearDown();
  }

  static void UseZone(const std::string& zone) {
    setenv("TZ", zone.c_str(), 1);
    tzset();
  }

  host::Pixels FrameAt(int64_t utcSeconds) {
    EXPECT_TRUE(host::SetFrozenClock(utcSeconds)) << "FAKETIME_TIMESTAMP_FILE not writable";
    context->BindFramebuffer();
    context->Clear(0, 0, 0, 0);
    EXPECT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
    return context->ReadPixels();
  }

  FFInstanceID instance = nullptr;
};

TEST_F(ClockChangeReadout, EachZoneShowsTheTable) {
  UseZone("UTC");
  host::ReadoutsByHash references;
  const auto frames = host::ReferenceFrames();
  for (const host::ReferenceFrame& frame : frames)
    references[host::FrameHash(FrameAt(frame.utcSeconds))] = frame.readout;
  // Fewer hashes than read-outs: the clock did not follow the file, or two
  // read-outs look alike, and reading back would prove nothing.
  ASSERT_EQ(references.size(), frames.size());
  for (const std::string& zone : host::ClockChangeZones()) {
    UseZone(zone);
    for (const host::ClockChange& change : host::ClockChanges()) {
      if (zone != change.zone) continue;
      EXPECT_EQ(host::ReadBack(references, FrameAt(change.utcSeconds)), change.readout)
          << zone << ", " << change.what << " (" << change.utcSeconds << " UTC)";
    }
  }
}

}  // namespace
