// SPDX-License-Identifier: GPL-3.0-or-later
// The Plugin framework with a real program: parameter values reach their
// uniforms (colour groups as red, green, blue), resolution follows the
// viewport, and an instance's GL objects live exactly from InitGL to DeInitGL.
#include "framework/Plugin.h"
#include "tests/support/GLCallRecorder.h"
#include "tests/support/GLTestContext.h"
#include "tests/support/StandInEffect.h"
#include "tickora/Tickora.h"
#include "tickora/DisplayTypes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

using namespace ffgl::gl;

namespace {

using testing_support::GLCallRecorder;
using testing_support::kQuadVertexShader;
using testing_support::kStandInFragmentShader;
using testing_support::StandInEffect;

std::vector<float> Rgb(GLuint program) {
  return {host::GetUniformFloats(program, "cR", 1)[0], host::GetUniformFloats(program, "cG", 1)[0],
          host::GetUniformFloats(program, "cB", 1)[0]};
}

float Uniform(GLuint program, const char* name) {
  return host::GetUniformFloats(program, name, 1)[0];
}

GLint CurrentProgram() {
  GLint program = -1;
  glGetIntegerv(GL_CURRENT_PROGRAM, &program);
  return program;
}

class Framework : public testing_support::GLTest {
 protected:
  std::unique_ptr<StandInEffect> MakeEffect(uint32_t width = 320, uint32_t height = 180) {
    auto effect = std::make_unique<StandInEffect>(kQuadVertexShader, kStandInFragmentShader);
    const FFGLViewportStruct viewport{0, 0, width, height};
    EXPECT_EQ(effect->InitGL(&viewport), FF_SUCCESS);
    return effect;
  }
};

TEST_F(Framework, SendParamsFeedsEveryBoundUniform) {
  auto effect = MakeEffect();
  const GLuint program = effect->mainShader.Id();
  ASSERT_NE(program, 0u);
  ASSERT_EQ(effect->uniformLocations.size(), static_cast<size_t>(StandInEffect::kCount));
  EXPECT_EQ(effect->uniformLocations[StandInEffect::kAlpha], -1);
  EXPECT_EQ(effect->uniformLocations[StandInEffect::kLoose], -1);

  GLCallRecorder recorder;
  glUseProgram(program);
  effect->SendParams();
  glUseProgram(0);
  EXPECT_EQ(Uniform(program, "level"), 0.25f);
  EXPECT_EQ(Uniform(program, "flag"), 1.0f);
  // Hue 0.5 is 180 degrees; saturation and brightness default to 2.
  EXPECT_EQ(Rgb(program), (std::vector<float>{-2.0f, 2.0f, 2.0f}));
  EXPECT_EQ(recorder.Count("Uniform1f"), 7) << "one per parameter, three per colour group";
  EXPECT_EQ(recorder.Count("GetUniformLocation"), 0) << "locations come from InitGL";

  effect->SetFloatParameter(StandInEffect::kLevel, 0.75f);
  effect->SetFloatParameter(StandInEffect::kFlag, 0.0f);
  effect->SetFloatParameter(StandInEffect::kHue, 1.0f / 6.0f);
  effect->SetFloatParameter(StandInEffect::kSaturation, 1.0f);
  effect->SetFloatParameter(StandInEffect::kBrightness, 1.0f);
  glUseProgram(program);
  effect->SendParams();
  glUseProgram(0);
  EXPECT_EQ(Uniform(program, "level"), 0.75f);
  EXPECT_EQ(Uniform(program, "flag"), 0.0f);
  EXPECT_EQ(Rgb(program), (std::vector<float>{1.0f, 1.0f, 0.0f})) << "yellow";

  effect->SetFloatParameter(StandInEffect::kHue, 0.999f);
  glUseProgram(program);
  effect->SendParams();
  glUseProgram(0);
  EXPECT_EQ(Rgb(program), (std::vector<float>{1.0f, 0.0f, 0.016666668f}));
  effect->DeInitGL();
}

TEST_F(Framework, SendParamsByNameLooksEveryNameUp) {
  auto effect = MakeEffect();
  ffglex::ShaderProgram other;
  ASSERT_TRUE(other.Compile(kQuadVertexShader, kStandInFragmentShader));
  effect->SetFloatParameter(StandInEffect::kLevel, 0.5f);
  effect->SetFloatParameter(StandInEffect::kHue, 0.0f);

  GLCallRecorder recorder;
  glUseProgram(other.Id());
  effect->SendParamsByName(other);
  glUseProgram(0);
  EXPECT_EQ(recorder.Count("GetUniformLocation"), 7) << "empty names included";
  EXPECT_EQ(recorder.Count("Uniform1f"), 7);
  EXPECT_EQ(Uniform(other.Id(), "level"), 0.5f);
  // Hue 0 with saturation and brightness 2: c = 4, m = -2.
  EXPECT_EQ(Rgb(other.Id()), (std::vector<float>{2.0f, -2.0f, -2.0f}));
  EXPECT_EQ(Uniform(effect->mainShader.Id(), "level"), 0.0f) << "the main program is untouched";
  other.Release();
  effect->DeInitGL();
}

TEST_F(Framework, ResolutionFollowsTheViewport) {
  auto effect = MakeEffect(320, 180);
  const GLuint program = effect->mainShader.Id();
  EXPECT_EQ(host::GetUniformFloats(program, "resolution", 2), (std::vector<float>{320, 180}));
  EXPECT_NE(effect->maxstLocation, -1);
  EXPECT_EQ(CurrentProgram(), 0);

  const FFGLViewportStruct resized{0, 0, 640, 360};
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(effect->Resize(&resized), FF_SUCCESS);
    EXPECT_EQ(host::GetUniformFloats(program, "resolution", 2), (std::vector<float>{640, 360}));
    EXPECT_EQ(effect->viewportWidth, 640u);
    EXPECT_EQ(effect->viewportHeight, 360u);
    EXPECT_EQ(CurrentProgram(), 0);
  }
  effect->DeInitGL();
}

TEST_F(Framework, HsvToRgbIsUnclamped) {
  struct Case {
    int32_t hue;
    double saturation, value;
    framework::RGB expected;
  } cases[] = {
      {360, 2.0, 2.0, {2.0f, -2.0f, -2.0f}},
      {180, 1.0, 1.0, {0.0f, 1.0f, 1.0f}},
      {60, 1.0, 1.0, {1.0f, 1.0f, 0.0f}},
      {359, 1.0, 1.0, {1.0f, 0.0f, 0.016666668f}},
      {0, 1.0, 1.0, {1.0f, 0.0f, 0.0f}},
      {240, 1.0, 0.5, {0.0f, 0.0f, 0.5f}},
      {-30, 1.0, 1.0, {1.0f, 0.0f, -0.5f}},
  };
  for (const Case& c : cases) {
    const framework::RGB rgb = framework::Plugin::HsvToRgb(c.hue, c.saturation, c.value);
    EXPECT_EQ(rgb.red, c.expected.red) << c.hue;
    EXPECT_EQ(rgb.green, c.expected.green) << c.hue;
    EXPECT_EQ(rgb.blue, c.expected.blue) << c.hue;
  }
}

TEST(FrameworkDefinitions, ColourGroupAndSlots) {
  StandInEffect effect(nullptr, nullptr);
  ASSERT_EQ(effect.GetNumParams(), static_cast<uint32_t>(StandInEffect::kCount));
  EXPECT_EQ(effect.paramValues.size(), static_cast<size_t>(StandInEffect::kCount));
  EXPECT_EQ(effect.colourGroups, (std::vector<int32_t>{StandInEffect::kHue}));
  EXPECT_EQ(effect.uniformNames,
            (std::vector<std::string>{"level", "cR", "cG", "cB", "", "flag", "", ""}));

  struct Member {
    uint32_t index;
    const char name[17];
    uint32_t type;
    float defaultValue;
  } members[] = {{StandInEffect::kHue, "Color", FF_TYPE_HUE, 0.5f},
                 {StandInEffect::kSaturation, "Color_saturation", FF_TYPE_SATURATION, 2.0f},
                 {StandInEffect::kBrightness, "Color_brighthnes", FF_TYPE_BRIGHTNESS, 2.0f},
                 {StandInEffect::kAlpha, "Color_alpha", FF_TYPE_ALPHA, 1.0f}};
  for (const Member& member : members) {
    const ffgl::ParamInfo* record = effect.FindParam(member.index);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(std::memcmp(record->name, member.name, 16), 0) << member.name;
    EXPECT_EQ(record->type, member.type);
    EXPECT_EQ(record->defaultValue, member.defaultValue);
    EXPECT_EQ(effect.GetFloatParameter(member.index), member.defaultValue);
  }

  // The option's registry default reaches the value only when it is set.
  EXPECT_EQ(effect.FindParam(StandInEffect::kChoice)->defaultValue, 5.0f);
  EXPECT_EQ(effect.GetFloatParameter(StandInEffect::kChoice), 0.0f);
  EXPECT_EQ(effect.SetFloatParameter(StandInEffect::kChoice, 3.0f), FF_SUCCESS);
  EXPECT_EQ(effect.GetFloatParameter(StandInEffect::kChoice), 3.0f);

  for (uint32_t outside : {static_cast<uint32_t>(StandInEffect::kCount), 0xFFFFFFFFu}) {
    EXPECT_EQ(effect.SetFloatParameter(outside, 9.0f), FF_SUCCESS);
    EXPECT_EQ(effect.GetFloatParameter(outside), 0.0f);
  }
  EXPECT_EQ(effect.paramValues.size(), static_cast<size_t>(StandInEffect::kCount));
}

// An effect that asks for no program gets none and still draws nothing
// harmful; one whose program does not build is refused, so that no frame
// ever draws with a missing program.
TEST_F(Framework, AProgramThatDoesNotBuildFailsInitGL) {
  GLCallRecorder recorder;
  for (const char* fragment : {static_cast<const char*>(nullptr), "#version 410 core\nnot glsl"}) {
    const bool asked = fragment != nullptr;
    StandInEffect effect(kQuadVertexShader, fragment);
    const FFGLViewportStruct viewport{0, 0, 64, 64};
    testing::internal::CaptureStdout();
    EXPECT_EQ(effect.InitGL(&viewport), asked ? FF_FAIL : FF_SUCCESS);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(effect.mainShader.Id(), 0u);
    EXPECT_TRUE(effect.uniformLocations.empty());
    if (!asked) {
      EXPECT_NE(effect.quad.VertexArray(), 0u) << "the quad is made without a program";
      recorder.Reset();
      ProcessOpenGLStruct frame{};
      EXPECT_EQ(effect.ProcessOpenGL(&frame), FF_SUCCESS);
      EXPECT_EQ(recorder.Count("Uniform1f"), 0);
    }
    effect.DeInitGL();
    EXPECT_EQ(recorder.LiveObjects(), 0);
  }
}

// DeInitGL releases everything; the destructor then never touches GL (it
// may run with no context current).
template <typename Effect>
void ExpectCleanTeardown(std::unique_ptr<Effect> effect, GLCallRecorder& recorder) {
  effect->DeInitGL();
  EXPECT_EQ(recorder.LiveObjects(), 0) << recorder.DescribeLive();
  recorder.Reset();
  effect.reset();
  EXPECT_EQ(recorder.TotalCalls(), 0);
}

TEST_F(Framework, StandInLeavesNothingAndItsDestructorMakesNoCall) {
  GLCallRecorder recorder;
  auto effect = MakeEffect();
  ProcessOpenGLStruct frame{};
  EXPECT_EQ(effect->ProcessOpenGL(&frame), FF_SUCCESS);
  EXPECT_GT(recorder.LiveObjects(), 0);
  ExpectCleanTeardown(std::move(effect), recorder);
}

// What the dispatcher does for one host instance, minus the dispatcher.
std::unique_ptr<tickora::Tickora> RunTickora(host::GLContext& context) {
  auto clock = std::make_unique<tickora::Tickora>();
  for (uint32_t i = 0; i < clock->GetNumParams(); ++i)
    EXPECT_EQ(clock->SetFloatParameter(i, clock->FindParam(i)->defaultValue), FF_SUCCESS);
  const FFGLViewportStruct viewport{0, 0, 96, 54};
  EXPECT_EQ(clock->InitGL(&viewport), FF_SUCCESS);
  ProcessOpenGLStruct frame{};
  frame.HostFBO = context.Framebuffer();
  for (const tickora::DisplayTypeDef& def : tickora::kDisplayTypes) {
    const float type = static_cast<float>(def.type);
    clock->SetFloatParameter(tickora::IndexOf(tickora::ParamId::kType), type);
    EXPECT_EQ(clock->ProcessOpenGL(&frame), FF_SUCCESS);
  }
  return clock;
}

TEST_F(Framework, TickoraLeavesNothingAndItsDestructorMakesNoCall) {
  GLCallRecorder recorder;
  auto clock = RunTickora(*context);
  EXPECT_GE(recorder.LivePrograms(), 2);
  EXPECT_GE(recorder.LiveTextures(), 1);
  ExpectCleanTeardown(std::move(clock), recorder);
}

}  // namespace
