#include "bench/FloorPass.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

namespace bench {
namespace {

const char* const kVertex = R"(#version 410 core
layout( location = 0 ) in vec4 vPosition;
void main() { gl_Position = vPosition; }
)";

// Half-transparent, so that blending does real work on every pixel.
const char* const kFragment = R"(#version 410 core
out vec4 fragColor;
void main() { fragColor = vec4(0.9, 0.6, 0.3, 0.5); }
)";

const char* const kBoundFragment = R"(#version 410 core
in vec2 box;
out vec4 fragColor;
void main() { fragColor = vec4(0.9, 0.6, 0.3, max(abs(box.x), abs(box.y)) <= 0.5 ? 0.5 : 0.0); }
)";

// The same two triangles as the plug-in's quad, in its layout: (u, v) at
// location 1, then (x, y, z) at location 0.
const float kCorners[6][5] = {
    {0, 1, -1, 1, 0}, {1, 1, 1, 1, 0},  {0, 0, -1, -1, 0},
    {0, 0, -1, -1, 0}, {1, 1, 1, 1, 0}, {1, 0, 1, -1, 0},
};

GLuint CompileStage(GLenum type, const char* source) {
  const GLuint shader = glCreateShader(type);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok != GL_TRUE) {
    glDeleteShader(shader);
    return 0;
  }
  return shader;
}

GLuint Link(const char* vertex, const char* fragment) {
  const GLuint vs = CompileStage(GL_VERTEX_SHADER, vertex);
  const GLuint fs = CompileStage(GL_FRAGMENT_SHADER, fragment);
  GLuint linked = 0;
  if (vs != 0 && fs != 0) {
    linked = glCreateProgram();
    glAttachShader(linked, vs);
    glAttachShader(linked, fs);
    glLinkProgram(linked);
    GLint ok = 0;
    glGetProgramiv(linked, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) {
      glDeleteProgram(linked);
      linked = 0;
    }
  }
  if (vs != 0) glDeleteShader(vs);
  if (fs != 0) glDeleteShader(fs);
  return linked;
}

}  // namespace

bool FloorPass::Create() {
  program = Link(kVertex, kFragment);
  if (program == 0) return false;

  glGenVertexArrays(1, &vertexArray);
  glGenBuffers(1, &vertexBuffer);
  glBindVertexArray(vertexArray);
  glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
  glBufferData(GL_ARRAY_BUFFER, sizeof(kCorners), kCorners, GL_STATIC_DRAW);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 5 * sizeof(float),
                        reinterpret_cast<const void*>(2 * sizeof(float)));
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 5 * sizeof(float), nullptr);
  glBindVertexArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  return true;
}

void FloorPass::Release() {
  glDeleteBuffers(1, &vertexBuffer);
  glDeleteVertexArrays(1, &vertexArray);
  glDeleteProgram(program);
  if (boundProgram != 0) glDeleteProgram(boundProgram);
  program = boundProgram = vertexArray = vertexBuffer = 0;
}

bool FloorPass::CreateGlyphBound(const char* digitalVertexSource) {
  boundProgram = Link(digitalVertexSource, kBoundFragment);
  return boundProgram != 0;
}

void FloorPass::DrawGlyphBound(int passes) const {
  glUseProgram(boundProgram);
  glBindVertexArray(vertexArray);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  for (int i = 0; i < passes; ++i) glDrawArrays(GL_TRIANGLES, 0, 6);
  glDisable(GL_BLEND);
  glBindVertexArray(0);
  glUseProgram(0);
}

void FloorPass::Draw() const {
  glUseProgram(program);
  glBindVertexArray(vertexArray);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDrawArrays(GL_TRIANGLES, 0, 6);
  glDisable(GL_BLEND);
  glBindVertexArray(0);
  glUseProgram(0);
}

void FinishGL() { glFinish(); }

}  // namespace bench
