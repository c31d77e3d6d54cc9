// SPDX-License-Identifier: GPL-3.0-or-later
// Binds a buffer for the length of a block and binds 0 at its end.
#pragma once

#include "ffgl/GLEntryPoints.h"

namespace ffglex {

class ScopedBufferBinding {
 public:
  ScopedBufferBinding(GLenum target, GLuint buffer) : target(target), bound(true) {
    ffgl::gl::glBindBuffer(target, buffer);
  }
  virtual ~ScopedBufferBinding() { EndScope(); }
  ScopedBufferBinding(const ScopedBufferBinding&) = delete;
  ScopedBufferBinding& operator=(const ScopedBufferBinding&) = delete;

  void EndScope() {
    if (!bound) return;
    ffgl::gl::glBindBuffer(target, 0);
    bound = false;
  }

 private:
  GLenum target;
  bool bound;
};

class ScopedVBOBinding : public ScopedBufferBinding {
 public:
  explicit ScopedVBOBinding(GLuint buffer) : ScopedBufferBinding(GL_ARRAY_BUFFER, buffer) {}
};

}  // namespace ffglex
