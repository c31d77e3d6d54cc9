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

// The same two triangles as the plug-in's quad.
const float kCorners[6][3] = {{-1, 1, 0}, {1, 1, 0}, {-1, -1, 0},
                              {-1, -1, 0}, {1, 1, 0}, {1, -1, 0}};

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

}  // namespace

bool FloorPass::Create() {
  const GLuint vs = CompileStage(GL_VERTEX_SHADER, kVertex);
  const GLuint fs = CompileStage(GL_FRAGMENT_SHADER, kFragment);
  if (vs == 0 || fs == 0) return false;
  program = glCreateProgram();
  glAttachShader(program, vs);
  glAttachShader(program, fs);
  glLinkProgram(program);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint ok = 0;
  glGetProgramiv(program, GL_LINK_STATUS, &ok);
  if (ok != GL_TRUE) return false;

  glGenVertexArrays(1, &vertexArray);
  glGenBuffers(1, &vertexBuffer);
  glBindVertexArray(vertexArray);
  glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
  glBufferData(GL_ARRAY_BUFFER, sizeof(kCorners), kCorners, GL_STATIC_DRAW);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 3 * sizeof(float), nullptr);
  glBindVertexArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  return true;
}

void FloorPass::Release() {
  glDeleteBuffers(1, &vertexBuffer);
  glDeleteVertexArrays(1, &vertexArray);
  glDeleteProgram(program);
  program = vertexArray = vertexBuffer = 0;
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
