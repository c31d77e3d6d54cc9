// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile values through the host interface: every parameter set to every
// value a careless or broken host might send, in every display type, each
// followed by a frame. Run in the sanitizer build, a crash, an out-of-bounds
// access or undefined behaviour (a float-to-int cast of NaN, say) fails it.
#include "host/HeadlessHost.h"
#include "host/Ink.h"
#include "tests/support/FontChoice.h"
#include "tickora/DisplayTypes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 96;
constexpr int kHeight = 54;

class HostileValues : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    context = host::GLContext::Create();
    ASSERT_TRUE(context);
    ASSERT_TRUE(context->SetFramebufferSize(kWidth, kHeight));
    const char* path = std::getenv("TICKORA_PLUGIN");
    ASSERT_NE(path, nullptr);
    plugin = host::PluginLibrary::Load(path);
    ASSERT_TRUE(plugin);
    parameters = plugin->Parameters();
    ASSERT_FALSE(parameters.empty());
    typeIndex = plugin->FindParameter("Type");
    ASSERT_GE(typeIndex, 0);
  }
  void TearDown() override {
    if (plugin) plugin->Deinitialise();
  }

  // The values a host must never be able to crash the plug-in with, for a
  // parameter of `elements` elements.
  static std::vector<float> HostileFor(uint32_t elements) {
    const float inf = std::numeric_limits<float>::infinity();
    return {std::numeric_limits<float>::quiet_NaN(), inf, -inf, 1e30f, -1e30f, -1.0f, 0.5f,
            static_cast<float>(elements), static_cast<float>(elements) + 1.0f};
  }

  // Text parameters get text (a host goes by the type), hostile in its own
  // ways: none, bytes that are not UTF-8, too long, out of range, almost a
  // date. As many as there are float values.
  static const char* HostileText(size_t which) {
    static const std::string tooLong(4000, '9');
    static const char* const texts[] = {
        nullptr,          "\xff\xfe\xc0\x80", tooLong.c_str(),   "2027-13-45 99:99",
        "99999-01-01 00:00", "00:00:60",        "2027-01-01 00:00 and more", "-1e30",
        "2027-02-29 00:00"};
    return texts[which % std::size(texts)];
  }

  // Value number `which` of the hostile ones for parameter `p`.
  void SendHostile(FFInstanceID instance, const host::ParameterInfo& p, size_t which) {
    if (IsStringParamType(p.type))
      EXPECT_EQ(plugin->SetText(instance, p.index, HostileText(which)), FF_SUCCESS) << p.name;
    else
      plugin->SetParameter(instance, p.index, HostileFor(plugin->NumElements(p.index))[which]);
  }

  void SendDefault(FFInstanceID instance, const host::ParameterInfo& p) {
    if (IsStringParamType(p.type))
      plugin->SetText(instance, p.index, p.defaultText.c_str());
    else
      plugin->SetParameter(instance, p.index, p.defaultValue);
  }

  // Every display type draws something again with the defaults restored.
  void ExpectInkInEveryType(FFInstanceID instance) {
    for (const host::ParameterInfo& p : parameters) SendDefault(instance, p);
    const int date = plugin->FindParameter("Date");
    const int hour = plugin->FindParameter("Hour");
    for (const tickora::DisplayTypeDef& def : tickora::kDisplayTypes) {
      const float type = static_cast<float>(def.type);
      plugin->SetParameter(instance, static_cast<uint32_t>(typeIndex), type);
      // A countdown to 23:00 nine days ahead always has digits to show.
      plugin->SetParameter(instance, static_cast<uint32_t>(date), 9.0f);
      plugin->SetParameter(instance, static_cast<uint32_t>(hour), 23.0f);
      context->Clear(0, 0, 0, 0);
      ASSERT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
      const host::Pixels pixels = context->ReadPixels();
      EXPECT_GT(host::CountInk(pixels), 20)
          << "type " << type << " no longer draws after hostile values";
    }
  }

  std::unique_ptr<host::GLContext> context;
  std::unique_ptr<host::PluginLibrary> plugin;
  std::vector<host::ParameterInfo> parameters;
  int typeIndex = -1;
};

// Each parameter in turn takes each hostile value, then a frame, then its
// default back, so that a failure names exactly one (parameter, value).
TEST_P(HostileValues, EveryParameterEveryValueFramesSucceed) {
  const float type = static_cast<float>(GetParam());
  FFInstanceID instance = plugin->Instantiate(kWidth, kHeight);
  ASSERT_NE(instance, nullptr);
  for (const host::ParameterInfo& p : parameters) {
    for (size_t which = 0; which < HostileFor(0).size(); ++which) {
      ASSERT_EQ(plugin->SetParameter(instance, static_cast<uint32_t>(typeIndex), type), FF_SUCCESS);
      SendHostile(instance, p, which);
      context->BindFramebuffer();
      EXPECT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS)
          << p.name << " = value #" << which << " in type " << type;
      EXPECT_EQ(host::TakeGLError(), 0u) << p.name << " = value #" << which << " in type " << type;
      SendDefault(instance, p);
    }
  }
  ExpectInkInEveryType(instance);
  EXPECT_EQ(plugin->Deinstantiate(instance), FF_SUCCESS);
}

// The same values left in place, all parameters hostile at once, frame after
// frame, switching types underneath.
TEST_P(HostileValues, AllParametersHostileAtOnce) {
  FFInstanceID instance = plugin->Instantiate(kWidth, kHeight);
  ASSERT_NE(instance, nullptr);
  for (size_t which = 0; which < HostileFor(0).size(); ++which) {
    for (const host::ParameterInfo& p : parameters) SendHostile(instance, p, which);
    plugin->SetParameter(instance, static_cast<uint32_t>(typeIndex),
                         static_cast<float>(GetParam()));
    for (int frame = 0; frame < 2; ++frame) {
      EXPECT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS)
          << "hostile value #" << which;
    }
    EXPECT_EQ(host::TakeGLError(), 0u) << "hostile value #" << which;
  }
  ExpectInkInEveryType(instance);
  EXPECT_EQ(plugin->Deinstantiate(instance), FF_SUCCESS);
}

std::string TypeName(const ::testing::TestParamInfo<int>& info) {
  return tickora::kDisplayTypes[info.param].name;
}

INSTANTIATE_TEST_SUITE_P(DisplayTypes, HostileValues,
                         ::testing::Range(0, tickora::kDisplayTypeCount), TypeName);

// Viewports no real output has: empty, one pixel thick, and the largest
// 32-bit sizes. The glyph atlas must stay bounded and every frame succeed.
TEST(HostileViewports, AbsurdSizesFrameInEveryType) {
  auto context = host::GLContext::Create();
  ASSERT_TRUE(context);
  ASSERT_TRUE(context->SetFramebufferSize(64, 64));
  auto plugin = host::PluginLibrary::Load(std::getenv("TICKORA_PLUGIN"));
  ASSERT_TRUE(plugin);
  const int type = plugin->FindParameter("Type");
  const int font = plugin->FindParameter("Font");
  ASSERT_GE(type, 0);
  ASSERT_GE(font, 0);
  const float families[] = {testing_support::FontValue(*plugin, testing_support::kSansFamily),
                            testing_support::FontValue(*plugin, testing_support::kSerifFamily)};
  int fontChanges = 0;
  const uint32_t huge = 0xFFFFFFFFu;
  struct Size {
    uint32_t width, height;
  };
  for (const Size created : {Size{0, 0}, Size{huge, huge}, Size{1, huge}}) {
    FFInstanceID instance = plugin->Instantiate(created.width, created.height);
    ASSERT_NE(instance, nullptr) << created.width << "x" << created.height;
    for (const Size resized : {Size{huge, 1}, Size{0, 0}, Size{1, 0}, Size{65536, 65536}}) {
      ASSERT_EQ(plugin->Resize(instance, resized.width, resized.height), FF_SUCCESS);
      // A new font forces the atlas to be drawn again at this size.
      plugin->SetParameter(instance, static_cast<uint32_t>(font), families[++fontChanges % 2]);
      for (const tickora::DisplayTypeDef& def : tickora::kDisplayTypes) {
        const float t = static_cast<float>(def.type);
        plugin->SetParameter(instance, static_cast<uint32_t>(type), t);
        context->BindFramebuffer();
        EXPECT_EQ(plugin->ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS)
            << "created " << created.width << "x" << created.height << ", resized to "
            << resized.width << "x" << resized.height << ", type " << t;
        EXPECT_EQ(host::TakeGLError(), 0u);
      }
    }
    EXPECT_EQ(plugin->Deinstantiate(instance), FF_SUCCESS);
  }
  plugin->Deinitialise();
}

}  // namespace
