// SPDX-License-Identifier: GPL-3.0-or-later
// Shader programs on Mesa: compile and link failures are reported once under
// the right prefix and leave nothing behind; empty sources never reach GL.
#include "ffglex/ShaderProgram.h"
#include "tests/support/GLCallRecorder.h"
#include "tests/support/GLTestContext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ffgl::gl;

namespace {

using ffglex::ShaderProgram;
using testing_support::GLCallRecorder;
using testing_support::kQuadVertexShader;
using testing_support::kUvFragmentShader;

constexpr const char* kBrokenShader = "#version 410 core\nvoid main() { this is not glsl }\n";

int Occurrences(const std::string& text, const std::string& what) {
  int found = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++found;
  return found;
}

// Both stages compile but disagree on the types of the varyings between
// them: every pair is a separate complaint of the linker, so enough of them
// make a long log.
std::string VertexWriting(int count) {
  std::string source =
      "#version 410 core\nlayout( location = 0 ) in vec4 vPosition;\n";
  for (int i = 0; i < count; ++i)
    source += "out vec2 mismatchedVaryingWithAFairlyLongName" + std::to_string(i) + ";\n";
  source += "void main() {\n  gl_Position = vPosition;\n";
  for (int i = 0; i < count; ++i)
    source += "  mismatchedVaryingWithAFairlyLongName" + std::to_string(i) + " = vPosition.xy;\n";
  return source + "}\n";
}

std::string FragmentReading(int count) {
  std::string source = "#version 410 core\nout vec4 fragColor;\n";
  for (int i = 0; i < count; ++i)
    source += "in vec3 mismatchedVaryingWithAFairlyLongName" + std::to_string(i) + ";\n";
  source += "void main() {\n  vec3 sum = vec3(0.0);\n";
  for (int i = 0; i < count; ++i)
    source += "  sum += mismatchedVaryingWithAFairlyLongName" + std::to_string(i) + ";\n";
  return source + "  fragColor = vec4(sum, 1.0);\n}\n";
}

class ShaderPrograms : public testing_support::GLTest {
 protected:
  // Compiles with standard output captured into `report`.
  bool Compile(ShaderProgram& program, const char* vertex, const char* fragment) {
    testing::internal::CaptureStdout();
    const bool ok = program.Compile(vertex, fragment);
    report = testing::internal::GetCapturedStdout();
    return ok;
  }

  // The driver's whole link log for these sources, read without the class.
  static std::string FullLinkLog(const char* vertex, const char* fragment) {
    const GLuint program = glCreateProgram();
    for (auto stage : {std::make_pair(vertex, GL_VERTEX_SHADER),
                       std::make_pair(fragment, GL_FRAGMENT_SHADER)}) {
      const GLuint shader = glCreateShader(stage.second);
      glShaderSource(shader, 1, &stage.first, nullptr);
      glCompileShader(shader);
      glAttachShader(program, shader);
      glDeleteShader(shader);
    }
    glLinkProgram(program);
    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(static_cast<size_t>(length) + 1, '\0');
    glGetProgramInfoLog(program, length, nullptr, log.data());
    glDeleteProgram(program);
    return log.data();
  }

  std::string report;
};

TEST_F(ShaderPrograms, CompilesAndReleasesOnce) {
  GLCallRecorder recorder;
  ShaderProgram program;
  ASSERT_TRUE(Compile(program, kQuadVertexShader, kUvFragmentShader));
  EXPECT_EQ(report, "");
  EXPECT_NE(program.Id(), 0u);
  EXPECT_EQ(recorder.LivePrograms(), 1);
  EXPECT_EQ(recorder.Count("LinkProgram"), 1);

  glUseProgram(program.Id());
  program.SetFloat("notDeclaredAnywhere", 1.0f);
  program.SetVec2("neitherIsThis", 1.0f, 2.0f);
  EXPECT_EQ(glGetError(), GL_NO_ERROR) << "undeclared uniforms are silently ignored";
  glUseProgram(0);

  program.Release();
  program.Release();
  EXPECT_EQ(recorder.Count("DeleteProgram"), 1);
  EXPECT_EQ(program.Id(), 0u);
  EXPECT_EQ(recorder.LiveObjects(), 0) << "the shaders went with the program";
}

TEST_F(ShaderPrograms, VertexCompileErrorStopsThere) {
  GLCallRecorder recorder;
  ShaderProgram program;
  EXPECT_FALSE(Compile(program, kBrokenShader, kUvFragmentShader));
  EXPECT_EQ(report.rfind("Vertex Shader error: ", 0), 0u) << report;
  EXPECT_GT(report.size(), std::string("Vertex Shader error: \n").size()) << "the log follows";
  EXPECT_EQ(Occurrences(report, "Shader error: "), 1);
  EXPECT_EQ(recorder.Count("CompileShader"), 1) << "no fragment compile after a failed vertex";
  EXPECT_EQ(program.Id(), 0u);
  EXPECT_EQ(recorder.LiveObjects(), 0);
}

TEST_F(ShaderPrograms, FragmentCompileErrorNamesItsStage) {
  GLCallRecorder recorder;
  ShaderProgram program;
  EXPECT_FALSE(Compile(program, kQuadVertexShader, kBrokenShader));
  EXPECT_EQ(report.rfind("Fragment Shader error: ", 0), 0u) << report;
  EXPECT_EQ(Occurrences(report, "Shader error: "), 1);
  EXPECT_EQ(recorder.Count("CreateProgram"), 1);
  EXPECT_EQ(recorder.Count("DeleteProgram"), 1) << "the program made for the vertex stage goes";
  EXPECT_EQ(recorder.Count("LinkProgram"), 0);
  EXPECT_EQ(program.Id(), 0u);
  EXPECT_EQ(recorder.LiveObjects(), 0);
}

TEST_F(ShaderPrograms, LinkErrorIsReportedOnceAndCut) {
  const std::string vertex = VertexWriting(40), fragment = FragmentReading(40);
  const std::string full = FullLinkLog(vertex.c_str(), fragment.c_str());
  ASSERT_GT(full.size(), 1023u) << "the driver must produce a long link log for this check";

  GLCallRecorder recorder;
  ShaderProgram program;
  EXPECT_FALSE(Compile(program, vertex.c_str(), fragment.c_str()));
  // A report carries at most 1023 characters of the driver's text.
  EXPECT_EQ(report, "Program link error: " + full.substr(0, 1023) + "\n");
  EXPECT_EQ(Occurrences(report, "Program link error: "), 1);
  EXPECT_EQ(program.Id(), 0u);
  EXPECT_EQ(recorder.LiveObjects(), 0);
}

TEST_F(ShaderPrograms, ShortLinkLogIsWhole) {
  const std::string vertex = VertexWriting(1), fragment = FragmentReading(1);
  const std::string full = FullLinkLog(vertex.c_str(), fragment.c_str());
  ASSERT_FALSE(full.empty());
  ShaderProgram program;
  EXPECT_FALSE(Compile(program, vertex.c_str(), fragment.c_str()));
  EXPECT_EQ(report, "Program link error: " + full + "\n");
}

TEST_F(ShaderPrograms, EmptySourcesMakeNoGLCall) {
  GLCallRecorder recorder;
  ShaderProgram program;
  const char* valid = kQuadVertexShader;
  const char* cases[][2] = {{valid, ""}, {"", valid}, {valid, nullptr}, {nullptr, valid},
                            {nullptr, nullptr}};
  for (const auto& sources : cases) EXPECT_FALSE(Compile(program, sources[0], sources[1]));
  EXPECT_FALSE(program.Compile(std::string(), std::string(kUvFragmentShader)));
  EXPECT_EQ(recorder.TotalCalls(), 0);
  EXPECT_EQ(program.Id(), 0u);
  EXPECT_EQ(report, "");

  ASSERT_TRUE(Compile(program, kQuadVertexShader, kUvFragmentShader));
  const GLuint id = program.Id();
  recorder.Reset();
  EXPECT_FALSE(Compile(program, "", kUvFragmentShader));
  EXPECT_EQ(recorder.TotalCalls(), 0);
  EXPECT_EQ(program.Id(), id) << "a rejected call keeps the program";
  program.Release();
}

}  // namespace
