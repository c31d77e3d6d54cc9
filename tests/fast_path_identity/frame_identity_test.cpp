// SPDX-License-Identifier: GPL-3.0-or-later
// Speed work must not change a single pixel. The Classic hands program works
// out each hand's rotation once per corner instead of once per pixel; these
// tests draw the same frames with the straightforward per-pixel formulation
// (every hand rotated in the fragment stage, as the face is defined) and
// demand byte-identical framebuffers, across sizes, hand lengths, widths,
// corner rounding, odd host values and times of day.
#include "ffglex/FullScreenQuad.h"
#include "host/Ink.h"
#include "ffglex/ShaderProgram.h"
#include "ffgl/platform/GLProcAddress.h"
#include "tests/support/GLTestContext.h"
#include "tickora/Tickora.h"
#include "tickora/TimeSource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace ffgl::gl;

namespace {

// The face as defined, with nothing moved out of the fragment stage.
const char* const kReferenceVertex = R"(#version 410 core
layout( location = 0 ) in vec4 vPosition;
layout( location = 1 ) in vec2 vUV;
out vec2 uv;
void main()
{
    gl_Position = vPosition;
    uv = vUV;
}
)";

const char* const kReferenceFragment = R"(#version 410 core
uniform vec2 resolution;
uniform float lengt;
uniform float lengt2;
uniform float lengt3;
uniform float width;
uniform float w3;
uniform float cornerRound;
uniform float cR;
uniform float cG;
uniform float cB;
uniform float angle;
uniform float angle2;
uniform float angle3;
in vec2 uv;
out vec4 fragColor;

const float PI = 3.14159265359;

vec2 rotate(vec2 p, float turns)
{
    float phi = -2.0 * PI * turns;
    float c = cos(phi);
    float s = sin(phi);
    return vec2(p.x * c + p.y * s, -p.x * s + p.y * c);
}

float roundedBox(vec2 p, vec2 b, float r)
{
    return length(max(abs(p) - b + r, 0.0)) - r;
}

void main()
{
    vec2 st = uv - 0.5;
    st.y = st.y * resolution.y / resolution.x;
    st = st * 10.0;
    vec2 o = st;

    float r = cornerRound * 0.3 - 0.1;
    float w = width * 0.3 - 0.1;

    vec2 p = rotate(o, angle);
    float d1 = roundedBox(p - vec2(0.0, 2.0 * lengt - 0.5 * w), vec2(w, 2.0 * lengt), r);
    p = rotate(o, angle2);
    float d2 = roundedBox(p - vec2(0.0, 2.0 * lengt2 - 0.5 * w), vec2(w, 2.0 * lengt2), r);

    w = (w + 0.1) * w3 - 0.1;
    r = cornerRound * 0.3 * w3 - 0.1;
    p = rotate(o, angle3);
    float d3 = roundedBox(p - vec2(0.0, 2.0 * lengt3 - 0.5 * w), vec2(w, 2.0 * lengt3), r);

    float d = min(min(d1, d2), d3);
    float coverage = 1.0 - smoothstep(0.1, 0.105, d);
    fragColor = vec4(cR, cG, cB, coverage);
}
)";

const char* const kFloatUniforms[] = {"lengt", "lengt2", "lengt3", "width", "w3",
                                      "cornerRound", "cR", "cG", "cB",
                                      "angle", "angle2", "angle3"};

int64_t frozenNow = 0;
int64_t FrozenClock() { return frozenNow; }

// Wall-clock milliseconds of a time of day on 2026-12-08 (UTC).
int64_t At(int h, int m, int s, int ms) {
  const int64_t day = 1796688000000;  // 2026-12-08 00:00 UTC
  return day + ((static_cast<int64_t>(h) * 60 + m) * 60 + s) * 1000 + ms;
}

struct Setting {
  const char* name;
  std::vector<std::pair<std::string, float>> params;  // display name, value
};

class ClassicFrameIdentity : public testing_support::GLTest {
 protected:
  // The host's glViewport (the plug-in's table holds no call to set one).
  using ViewportFn = void (*)(GLint, GLint, GLsizei, GLsizei);
  static ViewportFn HostViewportCall() {
    return reinterpret_cast<ViewportFn>(ffgl::platform::GetGLProcAddress("glViewport"));
  }

  void SetUp() override {
    GLTest::SetUp();
    if (HasFatalFailure()) return;
    tickora::SetTimeSource(&FrozenClock);
    ASSERT_TRUE(reference.Compile(kReferenceVertex, kReferenceFragment));
    ASSERT_TRUE(referenceQuad.Create());
  }

  void TearDown() override {
    if (clock) {
      clock->DeInitGL();
      clock.reset();
    }
    reference.Release();
    referenceQuad.Release();
    tickora::SetTimeSource(nullptr);
  }

  void Make(uint32_t width, uint32_t height) {
    ASSERT_TRUE(context->SetFramebufferSize(static_cast<int>(width), static_cast<int>(height)));
    clock = std::make_unique<tickora::Tickora>();
    for (uint32_t i = 0; i < clock->GetNumParams(); ++i)
      clock->SetFloatParameter(i, clock->FindParam(i)->defaultValue);
    clock->SetFloatParameter(tickora::IndexOf(tickora::ParamId::kType), 1.0f);
    const FFGLViewportStruct viewport{0, 0, width, height};
    ASSERT_EQ(clock->InitGL(&viewport), FF_SUCCESS);
  }

  void Set(const std::string& name, float value) {
    for (uint32_t i = 0; i < clock->GetNumParams(); ++i) {
      if (std::string(clock->FindParam(i)->name, strnlen(clock->FindParam(i)->name, 16)) ==
          name.substr(0, 16)) {
        clock->SetFloatParameter(i, value);
        return;
      }
    }
    FAIL() << "no parameter " << name;
  }

  // The plug-in's frame, then the reference drawn with the very uniform
  // values the plug-in's program holds, each over the same cleared target.
  void ExpectSameFrame(const std::string& what) {
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_BLEND);
    context->Clear(0.25f, 0.5f, 0.75f, 0.5f);
    if (hostState) hostState();
    ProcessOpenGLStruct frame{};
    ASSERT_EQ(clock->ProcessOpenGL(&frame), FF_SUCCESS);
    const host::Pixels drawn = context->ReadPixels();

    const GLuint hands = clock->HandsProgram();
    ASSERT_NE(hands, 0u);
    glUseProgram(reference.Id());
    const std::vector<float> resolution = host::GetUniformFloats(hands, "resolution", 2);
    ASSERT_EQ(resolution.size(), 2u);
    reference.SetVec2("resolution", resolution[0], resolution[1]);
    for (const char* name : kFloatUniforms) {
      const std::vector<float> value = host::GetUniformFloats(hands, name, 1);
      ASSERT_EQ(value.size(), 1u) << name;
      reference.SetFloat(name, value[0]);
    }
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_BLEND);
    context->Clear(0.25f, 0.5f, 0.75f, 0.5f);
    if (hostState) hostState();
    referenceQuad.Draw();
    glUseProgram(0);
    const host::Pixels expected = context->ReadPixels();

    ASSERT_EQ(drawn.rgba.size(), expected.rgba.size());
    size_t differing = 0, first = 0;
    for (size_t i = 0; i < drawn.rgba.size(); i += 4) {
      if (std::memcmp(&drawn.rgba[i], &expected.rgba[i], 4) != 0) {
        if (differing == 0) first = i / 4;
        ++differing;
      }
    }
    const int inked = host::CountInk(expected, 0);
    EXPECT_EQ(differing, 0u) << what << ": " << differing << " pixels differ, the first at ("
                             << first % static_cast<size_t>(drawn.width) << ", "
                             << first / static_cast<size_t>(drawn.width) << ")";
    // A frame without hands would compare equal for the wrong reason.
    EXPECT_GT(inked, 0) << what;
  }

  ffglex::ShaderProgram reference;
  ffglex::FullScreenQuad referenceQuad;
  std::unique_ptr<tickora::Tickora> clock;
  // Applied by the host before both frames, over the cleared target.
  std::function<void()> hostState;
};

const std::vector<Setting>& Settings() {
  static const std::vector<Setting> settings = {
      {"defaults", {}},
      {"stepped", {{"Smooth time", 0.0f}}},
      {"long, wide, round",
       {{"Hour length", 0.9f}, {"Minute length", 1.0f}, {"Sec length", 0.8f}, {"Width", 1.0f},
        {"Sec Width", 1.0f}, {"Round corner", 1.0f}}},
      {"square corners, no width", {{"Round corner", 0.0f}, {"Width", 0.2f}, {"Sec Width", 1.0f}}},
      {"thin, square",
       {{"Hour length", 0.1f}, {"Width", 0.4f}, {"Sec Width", 0.05f}, {"Round corner", 0.35f}}},
      {"out-of-range host values",
       {{"Hour length", 3.5f}, {"Minute length", -0.4f}, {"Width", 2.0f}, {"Round corner", 1.7f},
        {"Color", 0.77f}, {"Color_saturation", 0.5f}}},
  };
  return settings;
}

TEST_F(ClassicFrameIdentity, MatchesThePerPixelFaceAtEverySize) {
  const uint32_t sizes[][2] = {{320, 180}, {641, 359}, {500, 800}, {1280, 720}};
  const int64_t times[] = {At(10, 9, 59, 500), At(0, 0, 0, 0), At(23, 59, 59, 999),
                           At(6, 30, 15, 250), At(12, 0, 0, 1)};
  for (const auto& size : sizes) {
    Make(size[0], size[1]);
    if (HasFatalFailure()) return;
    for (const Setting& setting : Settings()) {
      for (const auto& param : setting.params) Set(param.first, param.second);
      for (int64_t time : times) {
        frozenNow = time;
        ExpectSameFrame(std::to_string(size[0]) + "x" + std::to_string(size[1]) + ", " +
                        setting.name + ", t=" + std::to_string(time));
        if (HasFatalFailure()) return;
      }
      // Back to the defaults before the next setting.
      for (uint32_t i = 0; i < clock->GetNumParams(); ++i)
        clock->SetFloatParameter(i, clock->FindParam(i)->defaultValue);
      clock->SetFloatParameter(tickora::IndexOf(tickora::ParamId::kType), 1.0f);
    }
    clock->DeInitGL();
    clock.reset();
  }
}

// Only part of the output is shaded by the hands program; the rest is
// written by a program that writes what the hands program writes there. The
// host's blending must treat both alike, and a host viewport other than the
// instance's size must move the square with the face.
TEST_F(ClassicFrameIdentity, MatchesUnderTheHostsBlendingAndViewport) {
  const ViewportFn viewport = HostViewportCall();
  ASSERT_NE(viewport, nullptr);
  frozenNow = At(10, 9, 59, 500);
  Make(640, 360);
  if (HasFatalFailure()) return;
  Set("Color", 0.3f);

  struct HostSetup {
    const char* name;
    GLint x, y;
    GLsizei width, height;
    bool blend;
    bool scissor;
  };
  const HostSetup setups[] = {{"blending", 0, 0, 640, 360, true, false},
                              {"smaller viewport", 37, 11, 500, 300, false, false},
                              {"wider viewport, blending", -40, 20, 700, 320, true, false},
                              {"offset viewport", 100, 60, 640, 360, false, false},
                              {"host scissor, blending", 0, 0, 640, 360, true, true}};
  for (const HostSetup& setup : setups) {
    hostState = [&] {
      viewport(setup.x, setup.y, setup.width, setup.height);
      if (setup.blend) {
        glEnable(GL_BLEND);
        glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA,
                            GL_ONE_MINUS_SRC_ALPHA);
      }
      if (setup.scissor) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(250, 120, 150, 130);
      }
    };
    ExpectSameFrame(setup.name);
    glDisable(GL_BLEND);
    glDisable(GL_SCISSOR_TEST);
    if (HasFatalFailure()) return;
  }
  hostState = nullptr;
}

}  // namespace

// Without the host's blending the empty face is a clear of the target and the
// hands' pieces are drawn over it, one hand alone where only it can reach:
// the clear must store each colour as the draw would (its conversion to
// bytes), at every hue, saturation and brightness, over an offset viewport
// and a host scissor that reaches past it.
TEST_F(ClassicFrameIdentity, ClearedFaceStoresWhatTheDrawWouldForEveryColour) {
  const ViewportFn viewport = HostViewportCall();
  ASSERT_NE(viewport, nullptr);
  frozenNow = At(1, 22, 22, 0);
  Make(160, 90);
  if (HasFatalFailure()) return;
  for (int step = 0; step < 48; ++step) {
    Set("Color", static_cast<float>(step) / 47.0f);
    Set("Color_saturation", static_cast<float>(step % 7) / 3.0f);
    Set("Color_brighthness", static_cast<float>(step % 5) / 2.0f);
    hostState = [&] {
      if (step % 2 == 0) return;
      viewport(7, 3, 160, 90);
      glEnable(GL_SCISSOR_TEST);
      glScissor(100, 0, 200, 60);
    };
    ExpectSameFrame("colour step " + std::to_string(step));
    glDisable(GL_SCISSOR_TEST);
    viewport(0, 0, 160, 90);
    if (HasFatalFailure()) return;
  }
  hostState = nullptr;
}
