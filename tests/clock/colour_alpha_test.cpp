// SPDX-License-Identifier: GPL-3.0-or-later
// The alpha a frame leaves in the host's framebuffer, through plugMain: the
// colour group's alpha scales what every display type draws, and the
// read-out's blending composes alpha as "over" (a transparent output gets
// the coverage, an opaque one stays opaque). The wall clock is frozen at
// 8 December 2026 10:09:59.5 UTC (see CMakeLists.txt).
#include "host/HeadlessHost.h"
#include "host/Ink.h"
#include "tests/support/HostSession.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 180;

class FrameAlpha : public ::testing::Test {
 protected:
  // The process's one context and plug-in, as a host keeps them.
  void SetUp() override {
    testing_support::HostSession& session = testing_support::Session();
    ASSERT_TRUE(session.context) << "no OpenGL 4.1 core context";
    ASSERT_TRUE(session.plugin) << "TICKORA_PLUGIN does not name a loadable plug-in";
    context = session.context.get();
    plugin = session.plugin.get();
    ASSERT_TRUE(context->SetFramebufferSize(kWidth, kHeight));
    instance = plugin->Instantiate(kWidth, kHeight);
    ASSERT_NE(instance, nullptr);
    // A countdown to 00:00 nine days ahead has digits to show.
    Set("Date", 9.0f);
  }
  void TearDown() override {
    if (instance != nullptr) plugin->Deinstantiate(instance);
  }

  void Set(const std::string& name, float value) {
    ASSERT_TRUE(plugin->SetParameter(instance, name, value)) << name;
  }

  // One frame over a framebuffer cleared to (r, g, b, a).
  host::Pixels Frame(float r = 0, float g = 0, float b = 0, float a = 0) {
    context->BindFramebuffer();
    context->Clear(r, g, b, a);
    EXPECT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
    return context->ReadPixels();
  }

  host::GLContext* context = nullptr;
  host::PluginLibrary* plugin = nullptr;
  FFInstanceID instance = nullptr;
};


struct DisplayType {
  const char* name;
  float value;
  bool blended;  // the read-out blends; the Classic face writes as the host has it
};
const DisplayType kTypes[] = {{"Digital", 0, true}, {"Classic", 1, false}, {"Countdown", 2, true}};


// Every channel of `scaled` is `full` times `factor` (colour too where the
// frame blends, since blending multiplies the colour by the alpha).
void ExpectScaled(const host::Pixels& full, const host::Pixels& scaled, double factor,
                  bool colourScales, const char* what) {
  ASSERT_EQ(full.rgba.size(), scaled.rgba.size());
  int wrong = 0;
  for (size_t i = 0; i < full.rgba.size(); ++i) {
    const bool alpha = i % 4 == 3;
    const double expected = alpha || colourScales ? full.rgba[i] * factor : full.rgba[i];
    if (std::fabs(scaled.rgba[i] - expected) > 1.0 && wrong++ < 3)
      ADD_FAILURE() << what << ": byte " << i << " is " << int(scaled.rgba[i]) << ", expected "
                    << expected;
  }
  EXPECT_EQ(wrong, 0) << what;
}

TEST_F(FrameAlpha, ColourAlphaScalesWhatEveryDisplayTypeDraws) {
  for (const DisplayType& type : kTypes) {
    Set("Type", type.value);
    Set("Color_alpha", 1.0f);
    const host::Pixels full = Frame();
    ASSERT_GT(host::CountInk(full, 0), 500) << type.name;

    Set("Color_alpha", 0.5f);
    ExpectScaled(full, Frame(), 0.5, type.blended, type.name);

    // Nothing drawn: no alpha anywhere, and a blended read-out leaves the
    // host's pixels exactly as they were.
    Set("Color_alpha", 0.0f);
    EXPECT_EQ(host::CountInk(Frame(), 0), 0) << type.name;
    if (type.blended) {
      std::vector<uint8_t> blue;
      for (int i = 0; i < kWidth * kHeight; ++i) blue.insert(blue.end(), {0, 0, 255, 255});
      EXPECT_EQ(Frame(0.0f, 0.0f, 1.0f, 1.0f).rgba, blue) << type.name;
    }
  }
}

TEST_F(FrameAlpha, HostileColourAlphaIsClampedAndNaNDrawsAsOne) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  for (const DisplayType& type : kTypes) {
    Set("Type", type.value);
    Set("Color_alpha", 1.0f);
    const host::Pixels full = Frame();
    ASSERT_GT(host::CountInk(full, 0), 500) << type.name;
    for (float alpha : {nan, 7.0f, inf}) {
      Set("Color_alpha", alpha);
      EXPECT_EQ(Frame().rgba, full.rgba) << type.name << " at " << alpha;
    }
    for (float alpha : {-3.0f, -inf}) {
      Set("Color_alpha", alpha);
      EXPECT_EQ(host::CountInk(Frame(), 0), 0) << type.name << " at " << alpha;
    }
  }
}

// Over a transparent output the read-out leaves its coverage as alpha: with
// the colour pure red, red and alpha are the same number at every pixel,
// edges included (alpha blended like colour would leave coverage squared).
TEST_F(FrameAlpha, ReadoutLeavesItsCoverageOverATransparentOutput) {
  for (float type : {0.0f, 2.0f}) {
    Set("Type", type);
    const host::Pixels p = Frame();
    int edges = 0;
    for (size_t i = 0; i < p.rgba.size(); i += 4) {
      ASSERT_NEAR(p.rgba[i], p.rgba[i + 3], 1) << "pixel " << i / 4;
      edges += p.rgba[i + 3] > 20 && p.rgba[i + 3] < 235;
    }
    EXPECT_GT(edges, 100) << "no partly covered pixels to tell the blends apart";
  }
}

TEST_F(FrameAlpha, ReadoutKeepsAnOpaqueOutputOpaque) {
  for (float type : {0.0f, 2.0f}) {
    Set("Type", type);
    const host::Pixels p = Frame(0.0f, 0.0f, 1.0f, 1.0f);
    int mixed = 0;
    for (size_t i = 0; i < p.rgba.size(); i += 4) {
      ASSERT_EQ(p.rgba[i + 3], 255) << "pixel " << i / 4;
      ASSERT_NEAR(p.rgba[i] + p.rgba[i + 2], 255, 1) << "pixel " << i / 4;
      mixed += p.rgba[i] > 20 && p.rgba[i] < 235;
    }
    EXPECT_GT(mixed, 100);
  }
}

// At half a second "Fade" shows the separators at half strength: their
// alpha is half of what "Show" leaves, not a quarter.
TEST_F(FrameAlpha, FadeScalesTheSeparatorsAlphaLinearly) {
  Set("Type", 0.0f);
  Set("Colon animation", 0.0f);
  const host::Pixels shown = Frame();
  Set("Colon animation", 2.0f);
  const host::Pixels faded = Frame();
  int separatorPixels = 0;
  for (size_t i = 3; i < shown.rgba.size(); i += 4) {
    if (shown.rgba[i] == faded.rgba[i]) continue;
    ++separatorPixels;
    ASSERT_NEAR(faded.rgba[i], shown.rgba[i] * 0.5, 1.0) << "pixel " << i / 4;
  }
  EXPECT_GT(separatorPixels, 50);
}

}  // namespace
