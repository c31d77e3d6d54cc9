// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/FloorPass.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <cstddef>
#include <initializer_list>
#include <vector>

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

const char* const kSamplingBoundFragment = R"(#version 410 core
uniform sampler2D atlas;
in vec2 box;
out vec4 fragColor;
void main()
{
    float coverage = texture(atlas, (box + 0.5) * 0.25).r;
    fragColor = vec4(0.9, 0.6, 0.3, max(abs(box.x), abs(box.y)) <= 0.5 ? coverage : 0.0);
}
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
  if (samplingProgram != 0) glDeleteProgram(samplingProgram);
  if (texture != 0) glDeleteTextures(1, &texture);
  program = boundProgram = samplingProgram = texture = vertexArray = vertexBuffer = 0;
}

bool FloorPass::CreateGlyphBound(const char* digitalVertexSource, int width, int height) {
  boundProgram = Link(digitalVertexSource, kBoundFragment);
  samplingProgram = Link(digitalVertexSource, kSamplingBoundFragment);
  if (boundProgram == 0 || samplingProgram == 0) return false;
  // The read-out's defaults, so that the boxes have their usual size.
  for (GLuint p : {boundProgram, samplingProgram}) {
    glUseProgram(p);
    glUniform2f(glGetUniformLocation(p, "resolution"), static_cast<float>(width),
                static_cast<float>(height));
    glUniform1f(glGetUniformLocation(p, "scale"), 0.91f);
    glUniform1f(glGetUniformLocation(p, "spacing"), 0.63f);
    glUniform1f(glGetUniformLocation(p, "h"), 0.5f);
    glUniform1f(glGetUniformLocation(p, "pitch"), 2.0f / 9.0f);
  }
  glUseProgram(0);
  // An atlas as wide as the output, with the atlas's filters.
  if (texture == 0) glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, width, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  return true;
}

void FloorPass::DrawGlyphBound(int passes, bool sampling) const {
  glUseProgram(sampling ? samplingProgram : boundProgram);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, texture);
  glBindVertexArray(vertexArray);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  for (int i = 0; i < passes; ++i) glDrawArrays(GL_TRIANGLES, 0, 6);
  glDisable(GL_BLEND);
  glBindTexture(GL_TEXTURE_2D, 0);
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

void FloorPass::DrawClipped(const std::vector<std::array<int, 4>>& rects) const {
  glUseProgram(program);
  glBindVertexArray(vertexArray);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_SCISSOR_TEST);
  for (const std::array<int, 4>& r : rects) {
    glScissor(r[0], r[1], r[2], r[3]);
    glDrawArrays(GL_TRIANGLES, 0, 6);
  }
  glDisable(GL_SCISSOR_TEST);
  glDisable(GL_BLEND);
  glBindVertexArray(0);
  glUseProgram(0);
}

void FinishGL() { glFinish(); }

double InkedShare(int width, int height) {
  if (width <= 0 || height <= 0) return 0.0;
  std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  std::size_t inked = 0;
  for (std::size_t i = 3; i < rgba.size(); i += 4) inked += rgba[i] != 0 ? 1 : 0;
  return static_cast<double>(inked) / (static_cast<double>(width) * height);
}

}  // namespace bench
