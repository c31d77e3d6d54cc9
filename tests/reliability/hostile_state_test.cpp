// SPDX-License-Identifier: GPL-3.0-or-later
// Tickora called by a host that left its own GL state behind: for each
// piece of such state (and all of them at once) every display type is
// created, set up, drawn, resized, redrawn, given another font and drawn
// again, then deleted, all through plugMain. Every picture must equal the
// one drawn from OpenGL's default state into the same kind of framebuffer,
// every call must leave the host's whole state as it was, and no call may
// leave a GL error behind.
#include "host/HeadlessHost.h"
#include "host/Ink.h"
#include "tests/reliability/GLStateSnapshot.h"
#include "tests/reliability/HostileState.h"
#include "tests/support/FontChoice.h"
#include "tickora/DisplayTypes.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using reliability::ApplyHostState;
using reliability::CaptureGLState;
using reliability::DescribeDifferences;
using reliability::GLStateSnapshot;
using reliability::HostileState;
using reliability::HostTarget;
using reliability::TakeGLErrors;

constexpr int kWidth = 160, kHeight = 96;


class HostileStateTest : public ::testing::TestWithParam<HostileState> {
 protected:
  void SetUp() override {
    context = host::GLContext::Create();
    ASSERT_TRUE(context);
    plugin = host::PluginLibrary::Load(std::getenv("TICKORA_PLUGIN"));
    ASSERT_TRUE(plugin);
    ASSERT_TRUE(reliability::CreateHostileObjects());
    ASSERT_TRUE(target.Create(GetParam().target, kWidth, kHeight));
  }
  void TearDown() override {
    if (plugin) plugin->Deinitialise();
    reliability::ResetGLState();
    target.Release();
    reliability::ReleaseHostileObjects();
  }

  // The pictures of one display type's life, each drawn from `state`, with
  // the host's state checked around every call.
  std::vector<host::Pixels> Life(int type, const HostileState* state) {
    const std::string where = std::string(tickora::kDisplayTypes[type].name) + " in " +
                              (state != nullptr ? state->name : std::string("the default state"));
    std::vector<host::Pixels> pictures;
    ApplyHostState(target, state);
    const GLStateSnapshot host = CaptureGLState();
    EXPECT_EQ(TakeGLErrors(), 0u) << "the host's own state is faulty: " << where;
    auto check = [&](const char* step) {
      EXPECT_EQ(DescribeDifferences(host, CaptureGLState()), "") << step << ", " << where;
      EXPECT_EQ(TakeGLErrors(), 0u) << step << ", " << where;
    };
    auto frame = [&](const char* step) {
      reliability::ResetGLState();
      target.Clear();
      ApplyHostState(target, state);
      EXPECT_EQ(plugin->ProcessFrame(instance, target.framebuffer), FF_SUCCESS) << where;
      check(step);
      reliability::ResetGLState();
      pictures.push_back(target.Read());
      ApplyHostState(target, state);
    };

    instance = plugin->Instantiate(kWidth, kHeight);
    EXPECT_NE(instance, nullptr) << where;
    if (instance == nullptr) return pictures;
    check("creation");
    plugin->SetParameter(instance, "Type", static_cast<float>(type));
    plugin->SetParameter(instance, "Date", 9.0f);  // a countdown with digits to show
    check("parameters");
    frame("the first frame");
    EXPECT_EQ(plugin->Resize(instance, kWidth - 32, kHeight), FF_SUCCESS);
    check("resize");
    frame("a frame after a resize");
    plugin->SetParameter(instance, "Font",
                         testing_support::FontValue(*plugin, testing_support::kSerifFamily));
    plugin->SetParameter(instance, "Style", 1.0f);
    frame("a frame after a font change");
    EXPECT_EQ(plugin->Deinstantiate(instance), FF_SUCCESS);
    instance = nullptr;
    check("deletion");
    return pictures;
  }

  std::unique_ptr<host::GLContext> context;
  std::unique_ptr<host::PluginLibrary> plugin;
  HostTarget target;
  FFInstanceID instance = nullptr;
};

int DifferentPixels(const host::Pixels& a, const host::Pixels& b) {
  if (a.rgba.size() != b.rgba.size()) return -1;
  int different = 0;
  for (size_t i = 0; i < a.rgba.size(); i += 4)
    different += a.rgba[i] != b.rgba[i] || a.rgba[i + 1] != b.rgba[i + 1] ||
                 a.rgba[i + 2] != b.rgba[i + 2] || a.rgba[i + 3] != b.rgba[i + 3];
  return different;
}

TEST_P(HostileStateTest, EveryCallDrawsAsInTheDefaultStateAndLeavesTheHostsState) {
  for (int type = 0; type < tickora::kDisplayTypeCount; ++type) {
    const std::vector<host::Pixels> expected = Life(type, nullptr);
    const std::vector<host::Pixels> drawn = Life(type, &GetParam());
    ASSERT_EQ(expected.size(), 3u);
    ASSERT_EQ(drawn.size(), expected.size()) << tickora::kDisplayTypes[type].name;
    for (size_t i = 0; i < expected.size(); ++i) {
      // Otherwise an empty picture would equal an erased one.
      EXPECT_GT(host::CountInk(expected[i], 0), 100) << tickora::kDisplayTypes[type].name << ", picture " << i;
      EXPECT_EQ(DifferentPixels(expected[i], drawn[i]), 0) << tickora::kDisplayTypes[type].name << ", picture " << i;
    }
  }
}

// An sRGB output with GL_FRAMEBUFFER_SRGB on is the host asking for encoded
// output: the read-out's glyph edges blend in linear light and are stored
// encoded, so its picture differs from the one drawn with the switch off,
// and the switch is still on after every call.
TEST(SRGBOutput, TheHostsEncodingIsHonoured) {
  std::unique_ptr<host::GLContext> context = host::GLContext::Create();
  ASSERT_TRUE(context);
  std::unique_ptr<host::PluginLibrary> plugin =
      host::PluginLibrary::Load(std::getenv("TICKORA_PLUGIN"));
  ASSERT_TRUE(plugin);
  HostTarget target;
  ASSERT_TRUE(target.Create(reliability::TargetKind::kSRGB, kWidth, kHeight));
  host::Pixels pictures[2];
  for (int encoded = 0; encoded < 2; ++encoded) {
    reliability::ResetGLState();
    target.Clear();
    ApplyHostState(target, nullptr);
    if (encoded == 1) glEnable(GL_FRAMEBUFFER_SRGB);
    const GLStateSnapshot host = CaptureGLState();
    FFInstanceID instance = plugin->Instantiate(kWidth, kHeight);
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(plugin->ProcessFrame(instance, target.framebuffer), FF_SUCCESS);
    EXPECT_EQ(DescribeDifferences(host, CaptureGLState()), "");
    EXPECT_EQ(plugin->Deinstantiate(instance), FF_SUCCESS);
    EXPECT_EQ(TakeGLErrors(), 0u);
    reliability::ResetGLState();
    pictures[encoded] = target.Read();
  }
  EXPECT_GT(host::CountInk(pictures[0], 0), 200);
  EXPECT_GT(DifferentPixels(pictures[0], pictures[1]), 50);
  plugin->Deinitialise();
  target.Release();
}

INSTANTIATE_TEST_SUITE_P(HostState, HostileStateTest,
                         ::testing::ValuesIn(reliability::AllHostileStates()),
                         [](const ::testing::TestParamInfo<HostileState>& info) {
                           return info.param.name;
                         });

}  // namespace
