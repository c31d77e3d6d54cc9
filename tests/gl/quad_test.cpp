// SPDX-License-Identifier: GPL-3.0-or-later
// The full-screen quad: its corners in pixels and the bindings it leaves
// behind (none).
#include "ffglex/FullScreenQuad.h"
#include "ffglex/ShaderProgram.h"
#include "tests/support/GLCallRecorder.h"
#include "tests/support/GLTestContext.h"

#include <gtest/gtest.h>

using namespace ffgl::gl;

namespace {

using testing_support::GLCallRecorder;

GLint Bound(GLenum what) {
  GLint name = -1;
  glGetIntegerv(what, &name);
  return name;
}

// A vertex array and an array buffer of the host's own, bound.
struct ForeignBindings {
  GLuint vertexArray = 0, buffer = 0;
  ForeignBindings() {
    glGenVertexArrays(1, &vertexArray);
    glGenBuffers(1, &buffer);
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
  }
  ~ForeignBindings() {
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glDeleteBuffers(1, &buffer);
    glDeleteVertexArrays(1, &vertexArray);
  }
};

class Quad : public testing_support::GLTest {};

TEST_F(Quad, UvShaderShowsBlackRedGreenYellowCorners) {
  ffglex::ShaderProgram program;
  ASSERT_TRUE(program.Compile(testing_support::kQuadVertexShader,
                              testing_support::kUvFragmentShader));
  ffglex::FullScreenQuad quad;
  ASSERT_TRUE(quad.Create());
  context->Clear(0.5f, 0.5f, 0.5f, 0.0f);
  glUseProgram(program.Id());
  quad.Draw();
  glUseProgram(0);

  const host::Pixels pixels = context->ReadPixels();
  const int last = pixels.width - 1;
  struct Corner {
    int x, y;
    bool red, green;
  } corners[] = {{0, last, false, false}, {last, last, true, false},
                 {0, 0, false, true},     {last, 0, true, true}};
  for (const Corner& corner : corners) {
    const uint8_t* p = pixels.At(corner.x, corner.y);
    SCOPED_TRACE(testing::Message() << "corner " << corner.x << "," << corner.y);
    EXPECT_NEAR(p[0], corner.red ? 255 : 0, 6);
    EXPECT_NEAR(p[1], corner.green ? 255 : 0, 6);
    EXPECT_EQ(p[2], 0);
    EXPECT_EQ(p[3], 255) << "the quad covers every pixel";
  }
  quad.Release();
  program.Release();
}

TEST_F(Quad, NothingStaysBound) {
  ffglex::FullScreenQuad quad;
  {
    ForeignBindings host;
    ASSERT_TRUE(quad.Create());
    EXPECT_EQ(Bound(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_EQ(Bound(GL_ARRAY_BUFFER_BINDING), 0);
  }
  {
    ForeignBindings host;
    quad.Draw();
    EXPECT_EQ(Bound(GL_VERTEX_ARRAY_BINDING), 0) << "0, not what was bound before";
  }
  quad.Release();
}

TEST_F(Quad, EmptyQuadDrawsNothingAndReleasesByName) {
  GLCallRecorder recorder;
  ffglex::FullScreenQuad quad;
  quad.Draw();
  EXPECT_EQ(recorder.TotalCalls(), 0);
  quad.Release();
  EXPECT_EQ(recorder.Count("DeleteBuffers"), 1);
  EXPECT_EQ(recorder.Count("DeleteVertexArrays"), 1);
  EXPECT_EQ(recorder.TotalCalls(), 2);

  ASSERT_TRUE(quad.Create());
  EXPECT_EQ(recorder.LiveObjects(), 2);
  quad.Release();
  EXPECT_EQ(quad.VertexArray(), 0u);
  EXPECT_EQ(quad.VertexBuffer(), 0u);
  EXPECT_EQ(recorder.LiveObjects(), 0);
  recorder.Reset();
  quad.Draw();
  EXPECT_EQ(recorder.TotalCalls(), 0) << "a released quad is empty again";
}

}  // namespace
