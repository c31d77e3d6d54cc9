// SPDX-License-Identifier: GPL-3.0-or-later
// Two triangles covering the viewport: position at attribute 0, texture
// coordinate at attribute 1, (0, 0) at the bottom-left of the output.
// Destroying it never touches OpenGL: the owner calls Release with a context
// current. Move-only, so that exactly one object ever deletes its names.
#pragma once

#include "ffgl/GLEntryPoints.h"

namespace ffglex {

class FullScreenQuad {
 public:
  FullScreenQuad() = default;
  FullScreenQuad(const FullScreenQuad&) = delete;
  FullScreenQuad& operator=(const FullScreenQuad&) = delete;
  // The source is left owning nothing. The target of an assignment must own
  // nothing either (released or never created): its names would be lost.
  FullScreenQuad(FullScreenQuad&& other) noexcept;
  FullScreenQuad& operator=(FullScreenQuad&& other) noexcept;
  ~FullScreenQuad() = default;

  bool Create();
  void Draw() const;
  void Release();

  GLuint VertexArray() const { return vertexArray; }
  GLuint VertexBuffer() const { return vertexBuffer; }

 private:
  GLuint vertexArray = 0;
  GLuint vertexBuffer = 0;
};

}  // namespace ffglex
