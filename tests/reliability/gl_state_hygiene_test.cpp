// SPDX-License-Identifier: GPL-3.0-or-later
// The host's GL state across every GL-related call of the plug-in, through
// plugMain as a host makes them: creation (InitGL), frames of every display
// type, resizes and deletion must leave bindings, enables, blending, viewport
// and unpack alignment exactly as the host set them, and a frame writes only
// inside the host's viewport of the host's framebuffer.
#include "host/HeadlessHost.h"
#include "tests/reliability/GLStateSnapshot.h"
#include "tests/support/FontChoice.h"
#include "tickora/DisplayTypes.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>

namespace {

using reliability::CaptureGLState;
using reliability::DescribeDifferences;
using reliability::GLStateSnapshot;
using reliability::TakeGLErrors;

constexpr int kFramebufferWidth = 128;
constexpr int kFramebufferHeight = 96;
// The host draws into a part of its framebuffer only.
constexpr int kViewX = 24, kViewY = 16, kViewWidth = 64, kViewHeight = 48;

const char* TypeName(int type) {
  return tickora::kDisplayTypes[type].name;
}

class HygieneHost : public ::testing::Test {
 protected:
  void SetUp() override {
    context = host::GLContext::Create();
    ASSERT_TRUE(context);
    ASSERT_TRUE(context->SetFramebufferSize(kFramebufferWidth, kFramebufferHeight));
    plugin = host::PluginLibrary::Load(std::getenv("TICKORA_PLUGIN"));
    ASSERT_TRUE(plugin);
    type = plugin->FindParameter("Type");
    font = plugin->FindParameter("Font");
    style = plugin->FindParameter("Style");
    date = plugin->FindParameter("Date");
    hour = plugin->FindParameter("Hour");
    ASSERT_TRUE(type >= 0 && font >= 0 && style >= 0 && date >= 0 && hour >= 0);
  }
  void TearDown() override {
    if (plugin) plugin->Deinitialise();
  }
  uint32_t Set(FFInstanceID instance, int index, float value) {
    return plugin->SetParameter(instance, static_cast<uint32_t>(index), value);
  }
  // A countdown with digits to show: 23:00 nine days ahead.
  void ChooseType(FFInstanceID instance, int displayType) {
    Set(instance, type, static_cast<float>(displayType));
    Set(instance, date, 9.0f);
    Set(instance, hour, 23.0f);
  }

  std::unique_ptr<host::GLContext> context;
  std::unique_ptr<host::PluginLibrary> plugin;
  int type = -1, font = -1, style = -1, date = -1, hour = -1;
};

class GLStateHygiene : public HygieneHost,
                       public ::testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(GLStateHygiene, EveryGLCallLeavesTheHostStateAsFound) {
  const int displayType = std::get<0>(GetParam());
  const int activeUnit = std::get<1>(GetParam());
  reliability::HostObjects objects;
  ASSERT_TRUE(objects.Create());
  objects.Bind(context->Framebuffer(), kViewX, kViewY, kViewWidth, kViewHeight, activeUnit);
  const GLStateSnapshot host = CaptureGLState();
  ASSERT_EQ(TakeGLErrors(), 0u);
  // Check that the host state really differs from the defaults it would be
  // mistaken for, or the comparisons below prove nothing.
  ASSERT_NE(host.program, 0);
  ASSERT_NE(host.elementBuffer, 0);
  ASSERT_NE(host.texture2DUnit0, host.texture2DUnit1);
  ASSERT_EQ(host.unpackAlignment, 2);

  auto expectUnchanged = [&](const std::string& step) {
    EXPECT_EQ(DescribeDifferences(host, CaptureGLState()), "") << "after " << step;
    EXPECT_EQ(TakeGLErrors(), 0u) << "after " << step;
  };

  FFInstanceID instance = plugin->Instantiate(kViewWidth, kViewHeight);
  ASSERT_NE(instance, nullptr);
  expectUnchanged("creation (InitGL)");

  ChooseType(instance, displayType);
  ASSERT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
  expectUnchanged("the first frame");
  ASSERT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
  expectUnchanged("a second frame");

  // A new font and style rebuild the atlas into the existing texture.
  Set(instance, font, testing_support::FontValue(*plugin, testing_support::kSerifFamily));
  Set(instance, style, 2.0f);
  ASSERT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
  expectUnchanged("a frame after a font change");

  ASSERT_EQ(plugin->Resize(instance, 200, 30), FF_SUCCESS);
  expectUnchanged("Resize");
  Set(instance, style, 0.0f);
  ASSERT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
  expectUnchanged("a frame after Resize");

  ASSERT_EQ(plugin->Resize(instance, 0, 0), FF_SUCCESS);
  expectUnchanged("Resize to 0x0");
  ASSERT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
  expectUnchanged("a frame at 0x0");

  ASSERT_EQ(plugin->Deinstantiate(instance), FF_SUCCESS);
  expectUnchanged("deletion");
  objects.Release();
}

INSTANTIATE_TEST_SUITE_P(
    TypesAndUnits, GLStateHygiene, ::testing::Combine(::testing::Values(0, 1, 2), ::testing::Values(0, 1)),
    [](const ::testing::TestParamInfo<std::tuple<int, int>>& info) {
      return std::string(TypeName(std::get<0>(info.param))) + "_ActiveUnit" +
             std::to_string(std::get<1>(info.param));
    });

// Frames land in the host's viewport of the host's framebuffer and nowhere
// else: every pixel outside keeps the host's clear colour exactly.
TEST_F(HygieneHost, FramesWriteOnlyInsideTheHostViewport) {
  FFInstanceID instance = plugin->Instantiate(kViewWidth, kViewHeight);
  ASSERT_NE(instance, nullptr);
  const uint8_t clear[4] = {64, 128, 191, 255};
  for (int displayType = 0; displayType < 3; ++displayType) {
    ChooseType(instance, displayType);
    context->Clear(clear[0] / 255.0f, clear[1] / 255.0f, clear[2] / 255.0f, clear[3] / 255.0f);
    glViewport(kViewX, kViewY, kViewWidth, kViewHeight);
    ASSERT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
    GLint bound = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &bound);
    EXPECT_EQ(static_cast<unsigned>(bound), context->Framebuffer());

    const host::Pixels pixels = context->ReadPixels();
    int outsideChanged = 0, insideChanged = 0;
    for (int row = 0; row < pixels.height; ++row) {
      const int y = pixels.height - 1 - row;  // GL rows count from the bottom
      for (int x = 0; x < pixels.width; ++x) {
        const uint8_t* p = pixels.At(x, row);
        const bool changed = p[0] != clear[0] || p[1] != clear[1] || p[2] != clear[2] ||
                             p[3] != clear[3];
        const bool inside = x >= kViewX && x < kViewX + kViewWidth && y >= kViewY &&
                            y < kViewY + kViewHeight;
        (inside ? insideChanged : outsideChanged) += changed;
      }
    }
    EXPECT_EQ(outsideChanged, 0) << TypeName(displayType);
    // The frame did draw: otherwise the check above proves nothing.
    EXPECT_GT(insideChanged, 50) << TypeName(displayType);
  }
  EXPECT_EQ(plugin->Deinstantiate(instance), FF_SUCCESS);
}

}  // namespace
