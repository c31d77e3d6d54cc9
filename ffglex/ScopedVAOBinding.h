// SPDX-License-Identifier: GPL-3.0-or-later
// Binds a vertex array for the length of a block and binds 0 at its end.
#pragma once

#include "ffgl/GLEntryPoints.h"

namespace ffglex {

class ScopedVAOBinding {
 public:
  explicit ScopedVAOBinding(GLuint vertexArray) : bound(true) { ffgl::gl::glBindVertexArray(vertexArray); }
  ~ScopedVAOBinding() { EndScope(); }
  ScopedVAOBinding(const ScopedVAOBinding&) = delete;
  ScopedVAOBinding& operator=(const ScopedVAOBinding&) = delete;

  void EndScope() {
    if (!bound) return;
    ffgl::gl::glBindVertexArray(0);
    bound = false;
  }

 private:
  bool bound;
};

}  // namespace ffglex
