// Two triangles covering the viewport: position at attribute 0, texture
// coordinate at attribute 1, (0, 0) at the bottom-left of the output.
#pragma once

#include "ffgl/GLEntryPoints.h"

namespace ffglex {

class FullScreenQuad {
 public:
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
