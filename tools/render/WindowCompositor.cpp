// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/WindowCompositor.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

namespace render {
namespace {

// Positions come from gl_VertexID: one triangle that covers the viewport.
constexpr const char* kVertexSource = R"(#version 410 core
out vec2 uv;
void main() {
  vec2 corner = vec2(float((gl_VertexID << 1) & 2), float(gl_VertexID & 2));
  uv = corner;
  gl_Position = vec4(corner * 2.0 - 1.0, 0.0, 1.0);
}
)";

constexpr const char* kFragmentSource = R"(#version 410 core
in vec2 uv;
out vec4 colour;
uniform sampler2D frame;
uniform int kind;          // 0 none (black), 1 colour, 2 checker
uniform vec3 background;
uniform float cell;
uniform vec2 greys;        // light, dark
void main() {
  vec4 drawn = texture(frame, uv);
  vec3 under = kind == 1 ? background : vec3(0.0);
  if (kind == 2) {
    ivec2 square = ivec2(floor(gl_FragCoord.xy / cell));
    under = vec3(((square.x + square.y) & 1) == 0 ? greys.x : greys.y);
  }
  colour = vec4(mix(under, drawn.rgb, drawn.a), 1.0);
}
)";

GLuint Compile(GLenum stage, const char* source, std::string* error) {
  const GLuint shader = glCreateShader(stage);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok == GL_TRUE) return shader;
  char log[512] = {};
  glGetShaderInfoLog(shader, sizeof(log) - 1, nullptr, log);
  *error = std::string("the preview shader does not compile: ") + log;
  glDeleteShader(shader);
  return 0;
}

}  // namespace

bool WindowCompositor::Create(std::string* error) {
  const GLuint vertex = Compile(GL_VERTEX_SHADER, kVertexSource, error);
  const GLuint fragment = vertex != 0 ? Compile(GL_FRAGMENT_SHADER, kFragmentSource, error) : 0;
  if (fragment == 0) {
    if (vertex != 0) glDeleteShader(vertex);
    return false;
  }
  program = glCreateProgram();
  glAttachShader(program, vertex);
  glAttachShader(program, fragment);
  glLinkProgram(program);
  glDeleteShader(vertex);
  glDeleteShader(fragment);
  GLint ok = GL_FALSE;
  glGetProgramiv(program, GL_LINK_STATUS, &ok);
  if (ok != GL_TRUE) {
    *error = "the preview shader does not link";
    Release();
    return false;
  }
  // A core context draws nothing without a vertex array bound, even an empty one.
  glGenVertexArrays(1, &vertexArray);
  return true;
}

void WindowCompositor::Release() {
  if (program != 0) glDeleteProgram(program);
  if (vertexArray != 0) glDeleteVertexArrays(1, &vertexArray);
  program = 0;
  vertexArray = 0;
}

void WindowCompositor::Draw(unsigned texture, int width, int height,
                            const Background& background) const {
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glViewport(0, 0, width, height);
  glDisable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_SCISSOR_TEST);
  glUseProgram(program);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, texture);
  glUniform1i(glGetUniformLocation(program, "frame"), 0);
  const int kind = background.kind == Background::Kind::Colour    ? 1
                   : background.kind == Background::Kind::Checker ? 2
                                                                   : 0;
  glUniform1i(glGetUniformLocation(program, "kind"), kind);
  glUniform3f(glGetUniformLocation(program, "background"), background.red / 255.0f,
              background.green / 255.0f, background.blue / 255.0f);
  glUniform1f(glGetUniformLocation(program, "cell"),
              static_cast<float>(CheckerCell(width, height)));
  glUniform2f(glGetUniformLocation(program, "greys"), kCheckerLight / 255.0f,
              kCheckerDark / 255.0f);
  glBindVertexArray(vertexArray);
  glDrawArrays(GL_TRIANGLES, 0, 3);
  glBindVertexArray(0);
  glBindTexture(GL_TEXTURE_2D, 0);
  glUseProgram(0);
}

}  // namespace render
