// SPDX-License-Identifier: GPL-3.0-or-later
#include "ffglex/FullScreenQuad.h"

#include "ffglex/ScopedBufferBinding.h"
#include "ffglex/ScopedVAOBinding.h"

#include <cassert>
#include <utility>

using namespace ffgl::gl;

namespace ffglex {
namespace {

// (u, v, x, y, z) per vertex: texture coordinate first, then clip position.
const float kVertices[6][5] = {
    {0.0f, 1.0f, -1.0f, 1.0f, 0.0f},  {1.0f, 1.0f, 1.0f, 1.0f, 0.0f},
    {0.0f, 0.0f, -1.0f, -1.0f, 0.0f}, {0.0f, 0.0f, -1.0f, -1.0f, 0.0f},
    {1.0f, 1.0f, 1.0f, 1.0f, 0.0f},   {1.0f, 0.0f, 1.0f, -1.0f, 0.0f},
};
static_assert(sizeof(kVertices) == 120, "six vertices of five floats");

constexpr GLsizei kStride = 5 * sizeof(float);

}  // namespace

FullScreenQuad::FullScreenQuad(FullScreenQuad&& other) noexcept
    : vertexArray(std::exchange(other.vertexArray, 0)),
      vertexBuffer(std::exchange(other.vertexBuffer, 0)) {}

FullScreenQuad& FullScreenQuad::operator=(FullScreenQuad&& other) noexcept {
  assert(vertexArray == 0 && vertexBuffer == 0 && "release before assigning over a quad");
  if (this != &other) {
    vertexArray = std::exchange(other.vertexArray, 0);
    vertexBuffer = std::exchange(other.vertexBuffer, 0);
  }
  return *this;
}

bool FullScreenQuad::Create() {
  glGenVertexArrays(1, &vertexArray);
  glGenBuffers(1, &vertexBuffer);
  if (vertexArray == 0 || vertexBuffer == 0) {
    Release();
    return false;
  }
  ScopedVAOBinding vaoBinding(vertexArray);
  ScopedVBOBinding vboBinding(vertexBuffer);
  glBufferData(GL_ARRAY_BUFFER, sizeof(kVertices), kVertices, GL_STATIC_DRAW);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, kStride,
                        reinterpret_cast<const void*>(2 * sizeof(float)));
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, kStride, nullptr);
  vboBinding.EndScope();
  vaoBinding.EndScope();
  return true;
}

void FullScreenQuad::Draw() const {
  if (vertexArray == 0 || vertexBuffer == 0) return;
  ScopedVAOBinding vaoBinding(vertexArray);
  glDrawArrays(GL_TRIANGLES, 0, 6);
}

void FullScreenQuad::Release() {
  glDeleteBuffers(1, &vertexBuffer);
  vertexBuffer = 0;
  glDeleteVertexArrays(1, &vertexArray);
  vertexArray = 0;
}

}  // namespace ffglex
