// SPDX-License-Identifier: GPL-3.0-or-later
// Contexts other than the 4.1 core one hosts promise: programs the driver
// refuses, versions short of the shaders, compatibility profiles with
// fixed-function state left on, and float framebuffers. Links the plug-in
// itself, so that the GL table can be replaced and the clock frozen.
#include "ffgl/FFGL.h"
#include "ffgl/GLEntryPoints.h"
#include "host/HeadlessHost.h"
#include "host/Ink.h"
#include "tests/support/GLCallRecorder.h"
#include "tickora/TimeSource.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

extern "C" FFMixed plugMain(uint32_t functionCode, FFMixed inputValue, FFInstanceID instanceID);

namespace {

using testing_support::GLCallRecorder;

const host::LinkedPlugin plugin(&plugMain);
constexpr int kWidth = 160, kHeight = 90;

int64_t TenPastTen() { return 1796724599500; }  // 2026-12-08 10:09:59.5 UTC

class HostContexts : public ::testing::Test {
 protected:
  void SetUp() override { tickora::SetTimeSource(&TenPastTen); }
  void TearDown() override {
    context.reset();
    tickora::SetTimeSource(nullptr);
  }

  bool MakeContext(const host::ContextRequest& request) {
    context.reset();
    std::string error;
    context = host::GLContext::Create(request, &error);
    if (!context) ADD_FAILURE() << error;
    return context && context->SetFramebufferSize(kWidth, kHeight);
  }

  // One frame of a new instance of `type` (Digital with "Color_alpha" 0.45,
  // so that an alpha test would cut it); `beforeReading` runs after the
  // frame, before the pixels are read.
  host::Pixels Draw(float type, void (*beforeReading)() = nullptr) {
    FFInstanceID instance = plugin.Instantiate(kWidth, kHeight);
    EXPECT_NE(instance, nullptr);
    if (instance == nullptr) return {};
    plugin.SetParameter(instance, "Type", type);
    plugin.SetParameter(instance, "Color_alpha", 0.45f);
    context->Clear(0, 0, 0, 0);
    EXPECT_EQ(plugin.ProcessFrame(instance, context->Framebuffer()), FF_SUCCESS);
    if (beforeReading != nullptr) beforeReading();
    host::Pixels picture = context->ReadPixels();
    plugin.Deinstantiate(instance);
    return picture;
  }

  std::unique_ptr<host::GLContext> context;
};

// --------------------------------------------------- programs that fail

enum class Refused { kVertex, kFragment, kLink };
struct Refusal {
  Refused stage;
  int nth;  // which compile or link of the instance's set-up fails, from 0
};

Refusal refusal;
int seen = 0;

void FFGL_APIENTRY RefusingGetShaderiv(GLuint shader, GLenum name, GLint* value) {
  GLCallRecorder::active->real.GetShaderiv(shader, name, value);
  if (name != GL_COMPILE_STATUS || refusal.stage == Refused::kLink) return;
  GLint type = 0;
  GLCallRecorder::active->real.GetShaderiv(shader, GL_SHADER_TYPE, &type);
  const GLenum wanted = refusal.stage == Refused::kVertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER;
  if (static_cast<GLenum>(type) == wanted && seen++ == refusal.nth) *value = GL_FALSE;
}

void FFGL_APIENTRY RefusingGetProgramiv(GLuint program, GLenum name, GLint* value) {
  GLCallRecorder::active->real.GetProgramiv(program, name, value);
  if (name == GL_LINK_STATUS && refusal.stage == Refused::kLink && seen++ == refusal.nth)
    *value = GL_FALSE;
}

TEST_F(HostContexts, AProgramThatDoesNotBuildFailsTheInstanceCleanly) {
  ASSERT_TRUE(MakeContext({}));
  plugin.Deinstantiate(plugin.Instantiate(kWidth, kHeight));  // loads the GL entry points
  const char* const prefixes[] = {"Vertex Shader error: ", "Fragment Shader error: ",
                                  "Program link error: "};
  // The instance builds three programs: the read-out, the hands, the empty face.
  for (Refused stage : {Refused::kVertex, Refused::kFragment, Refused::kLink}) {
    for (int nth = 0; nth < 3; ++nth) {
      SCOPED_TRACE("stage " + std::to_string(static_cast<int>(stage)) + ", program " +
                   std::to_string(nth));
      GLCallRecorder recorder;
      ffgl::glEntryPoints.GetShaderiv = RefusingGetShaderiv;
      ffgl::glEntryPoints.GetProgramiv = RefusingGetProgramiv;
      refusal = {stage, nth};
      seen = 0;
      testing::internal::CaptureStdout();
      EXPECT_EQ(plugin.Instantiate(kWidth, kHeight), nullptr);
      const std::string messages = testing::internal::GetCapturedStdout();
      EXPECT_NE(messages.find(prefixes[static_cast<int>(stage)]), std::string::npos) << messages;
      EXPECT_EQ(recorder.LiveObjects(), 0) << recorder.DescribeLive();
      EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
  }
}

// ------------------------------------------- contexts short of the shaders

// Each in a process of its own (tests/reliability/context_probe.cpp), with
// Mesa told to report the version a host's older driver would.
TEST(ContextVersions, ContextsShortOfTheShadersAreRefused) {
  const char* probe = std::getenv("CONTEXT_PROBE");
  const char* library = std::getenv("TICKORA_PLUGIN");
  ASSERT_NE(probe, nullptr);
  ASSERT_NE(library, nullptr);
  struct Row {
    const char* glVersion;    // MESA_GL_VERSION_OVERRIDE
    const char* glslVersion;  // MESA_GLSL_VERSION_OVERRIDE
    const char* request;      // major, minor, profile asked for
    const char* answer;
  };
  const Row rows[] = {
      {"3.2", "150", "3 2 core", "refused"},
      {"3.3", "330", "3 3 core", "refused"},
      {"4.0", "400", "4 0 core", "refused"},
      {"4.5COMPAT", "400", "4 5 compatibility", "refused"},
      {"4.5COMPAT", "450", "4 5 compatibility", "accepted"},
      {"4.1", "410", "4 1 core", "accepted"},
  };
  for (const Row& row : rows) {
    const std::string command = std::string("MESA_GL_VERSION_OVERRIDE=") + row.glVersion +
                                " MESA_GLSL_VERSION_OVERRIDE=" + row.glslVersion + " '" + probe +
                                "' '" + library + "' " + row.request + " 2>&1";
    SCOPED_TRACE(command);
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) output += line;
    const int status = pclose(pipe);
    EXPECT_EQ(status, 0) << output << "(no GL error may be left behind)";
    EXPECT_NE(output.find(std::string(row.answer) + "\n"), std::string::npos) << output;
    if (std::string(row.answer) == "refused") {
      EXPECT_NE(output.find("OpenGL context error: "), std::string::npos) << output;
    }
  }
}

// ---------------------------------------------------- compatibility profile

TEST_F(HostContexts, CompatibilityStateLeavesThePicturesAsInCore) {
  ASSERT_TRUE(MakeContext({}));
  const host::Pixels core[2] = {Draw(0.0f), Draw(1.0f)};
  ASSERT_TRUE(MakeContext({host::ContextRequest::Api::kDesktop,
                           host::ContextRequest::Profile::kCompatibility, 4, 5}));
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.5f);
  GLubyte stipple[128];
  for (int i = 0; i < 128; ++i) stipple[i] = (i / 4) % 2 == 0 ? 0xAA : 0x55;
  glPolygonStipple(stipple);
  glEnable(GL_POLYGON_STIPPLE);
  for (int type = 0; type < 2; ++type) {
    // Pixel transfer applies to the host's read-back too: set for the
    // instance's atlas upload, checked, and neutral again for reading.
    glPixelTransferf(GL_RED_SCALE, 0.5f);
    glPixelTransferf(GL_ALPHA_SCALE, 0.25f);
    glPixelTransferf(GL_GREEN_BIAS, 0.3f);
    const host::Pixels picture = Draw(static_cast<float>(type), [] {
      GLfloat scale = 0, bias = 0;
      glGetFloatv(GL_ALPHA_SCALE, &scale);
      glGetFloatv(GL_GREEN_BIAS, &bias);
      EXPECT_EQ(scale, 0.25f);
      EXPECT_EQ(bias, 0.3f);
      glPixelTransferf(GL_RED_SCALE, 1.0f);
      glPixelTransferf(GL_ALPHA_SCALE, 1.0f);
      glPixelTransferf(GL_GREEN_BIAS, 0.0f);
    });
    EXPECT_GT(host::CountInk(core[type], 0), 20);
    EXPECT_TRUE(picture.rgba == core[type].rgba) << "type " << type;
  }
  EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_TRUE(glIsEnabled(GL_POLYGON_STIPPLE));
  glDisable(GL_ALPHA_TEST);
  glDisable(GL_POLYGON_STIPPLE);
}

// --------------------------------------------------------- float outputs

TEST_F(HostContexts, FloatFramebuffersReceiveColoursInRange) {
  ASSERT_TRUE(MakeContext({}));
  for (GLenum format : {GL_RGBA16F, GL_RGBA32F}) {
    GLuint texture = 0, framebuffer = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), kWidth, kHeight, 0, GL_RGBA,
                 GL_FLOAT, nullptr);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    for (float type : {0.0f, 1.0f}) {
      FFInstanceID instance = plugin.Instantiate(kWidth, kHeight);
      ASSERT_NE(instance, nullptr);
      plugin.SetParameter(instance, "Type", type);
      glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
      glClearColor(0, 0, 0, 0);
      glClear(GL_COLOR_BUFFER_BIT);
      EXPECT_EQ(plugin.ProcessFrame(instance, framebuffer), FF_SUCCESS);
      std::vector<float> pixels(static_cast<size_t>(kWidth) * kHeight * 4);
      glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_FLOAT, pixels.data());
      int outside = 0, ink = 0;
      for (float value : pixels) outside += value < 0.0f || value > 1.0f;
      for (size_t i = 3; i < pixels.size(); i += 4) ink += pixels[i] > 0.5f;
      EXPECT_EQ(outside, 0) << "format " << format << ", type " << type;
      EXPECT_GT(ink, 20);
      plugin.Deinstantiate(instance);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &texture);
  }
}

}  // namespace
