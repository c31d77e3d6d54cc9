// SPDX-License-Identifier: GPL-3.0-or-later
// The 2D textures the plug-in uploads coverage into: linear minification,
// the given magnification, edges clamped so that sampling near a border
// never wraps to the other side.
#pragma once

#include "ffgl/GLEntryPoints.h"

namespace ffglex {

// Binds `texture` to GL_TEXTURE_2D of the active unit, first creating it
// with those parameters when it is 0.
inline void BindClampedTexture(GLuint& texture, GLenum magnify) {
  if (texture != 0) {
    ffgl::gl::glBindTexture(GL_TEXTURE_2D, texture);
    return;
  }
  ffgl::gl::glGenTextures(1, &texture);
  ffgl::gl::glBindTexture(GL_TEXTURE_2D, texture);
  ffgl::gl::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  ffgl::gl::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(magnify));
  ffgl::gl::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  ffgl::gl::glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

}  // namespace ffglex
