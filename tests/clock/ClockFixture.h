// SPDX-License-Identifier: GPL-3.0-or-later
// A Tickora instance driven directly (not through plugMain, so without the
// dispatcher's GL state guard) in a headless GL context, with the clock set
// by the test.
#pragma once

#include "ffgl/GLEntryPoints.h"
#include "host/HeadlessHost.h"
#include "tickora/Tickora.h"
#include "tickora/TimeSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <memory>
#include <vector>

namespace clocktest {

// Days since 1970-01-01 of a proleptic Gregorian date (month 1-12).
constexpr int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2 ? 1 : 0;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// Wall-clock milliseconds of a UTC date and time.
constexpr int64_t Utc(int y, int mo, int d, int h, int mi, int s = 0, int ms = 0) {
  return ((DaysFromCivil(y, mo, d) * 24 + h) * 60 + mi) * 60000 + s * 1000 + ms;
}

inline int64_t& FrozenNow() {
  static int64_t now = 0;
  return now;
}
inline int64_t FrozenClock() { return FrozenNow(); }

// Whether a pixel carries ink (alpha written by the plug-in over a cleared,
// transparent framebuffer).
inline bool Ink(const host::Pixels& p, int x, int y) { return p.At(x, y)[3] > 127; }

class ClockFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    context = host::GLContext::Create();
    ASSERT_TRUE(context);
    ASSERT_TRUE(ffgl::LoadGLEntryPoints());
    tickora::SetTimeSource(&FrozenClock);
  }

  void TearDown() override {
    if (clock) {
      context->MakeCurrent();
      clock->DeInitGL();
      clock.reset();
    }
    tickora::SetTimeSource(nullptr);
  }

  // A new instance set up the way a host's instantiation does it: every
  // parameter at its default, then InitGL.
  void Make(int width, int height) {
    ASSERT_TRUE(context->SetFramebufferSize(width, height));
    clock = std::make_unique<tickora::Tickora>();
    for (uint32_t i = 0; i < clock->GetNumParams(); ++i)
      clock->SetFloatParameter(i, clock->FindParam(i)->defaultValue);
    const FFGLViewportStruct viewport{0, 0, static_cast<uint32_t>(width),
                                      static_cast<uint32_t>(height)};
    ASSERT_EQ(clock->InitGL(&viewport), FF_SUCCESS);
  }

  void ResizeTo(int width, int height) {
    ASSERT_TRUE(context->SetFramebufferSize(width, height));
    const FFGLViewportStruct viewport{0, 0, static_cast<uint32_t>(width),
                                      static_cast<uint32_t>(height)};
    ASSERT_EQ(clock->Resize(&viewport), FF_SUCCESS);
  }

  void Set(const char* name, float value) {
    for (uint32_t i = 0; i < clock->GetNumParams(); ++i) {
      const ffgl::ParamInfo* info = clock->FindParam(i);
      if (std::string(info->name, strnlen(info->name, sizeof info->name)) == name) {
        clock->SetFloatParameter(i, value);
        return;
      }
    }
    ADD_FAILURE() << "no parameter " << name;
  }

  // One frame over a cleared, transparent framebuffer.
  host::Pixels Frame() {
    context->BindFramebuffer();
    context->Clear(0, 0, 0, 0);
    ProcessOpenGLStruct frame{0, nullptr, context->Framebuffer()};
    EXPECT_EQ(clock->ProcessOpenGL(&frame), FF_SUCCESS);
    return context->ReadPixels();
  }

  std::unique_ptr<host::GLContext> context;
  std::unique_ptr<tickora::Tickora> clock;
};

// Runs of consecutive columns holding ink anywhere in the output.
struct InkRun {
  int first;
  int last;
  double Centre() const { return (first + last) * 0.5 + 0.5; }
};

inline std::vector<InkRun> InkColumns(const host::Pixels& p) {
  std::vector<InkRun> runs;
  bool inside = false;
  for (int x = 0; x < p.width; ++x) {
    bool ink = false;
    for (int y = 0; y < p.height && !ink; ++y) ink = Ink(p, x, y);
    if (ink && !inside) runs.push_back({x, x});
    if (ink) runs.back().last = x;
    inside = ink;
  }
  return runs;
}

// Highest alpha within columns [first, last].
inline int MaxAlpha(const host::Pixels& p, int first, int last) {
  int best = 0;
  for (int x = first; x <= last; ++x)
    for (int y = 0; y < p.height; ++y) best = std::max(best, static_cast<int>(p.At(x, y)[3]));
  return best;
}

}  // namespace clocktest
