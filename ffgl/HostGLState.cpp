// SPDX-License-Identifier: GPL-3.0-or-later
#include "ffgl/HostGLState.h"

using namespace ffgl::gl;

namespace ffgl {

HostGLState::HostGLState() {
  if (glEntryPoints.GetIntegerv == nullptr) return;
  active = true;
  glGetIntegerv(GL_CURRENT_PROGRAM, &program);
  glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray);
  glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &arrayBuffer);
  glGetIntegerv(GL_ACTIVE_TEXTURE, &activeTexture);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &textureActiveUnit);
  if (activeTexture == static_cast<GLint>(GL_TEXTURE0)) {
    textureUnit0 = textureActiveUnit;
  } else {
    glActiveTexture(GL_TEXTURE0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &textureUnit0);
    glActiveTexture(static_cast<GLenum>(activeTexture));
  }
  blend = glIsEnabled(GL_BLEND);
  glGetIntegerv(GL_BLEND_SRC_RGB, &blendSrcRGB);
  glGetIntegerv(GL_BLEND_DST_RGB, &blendDstRGB);
  glGetIntegerv(GL_BLEND_SRC_ALPHA, &blendSrcAlpha);
  glGetIntegerv(GL_BLEND_DST_ALPHA, &blendDstAlpha);
  scissorTest = glIsEnabled(GL_SCISSOR_TEST);
  glGetIntegerv(GL_SCISSOR_BOX, scissorBox);
}

HostGLState::~HostGLState() {
  if (!active) return;
  glUseProgram(static_cast<GLuint>(program));
  glBindVertexArray(static_cast<GLuint>(vertexArray));
  glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(arrayBuffer));
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(textureUnit0));
  glActiveTexture(static_cast<GLenum>(activeTexture));
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(textureActiveUnit));
  if (blend) glEnable(GL_BLEND); else glDisable(GL_BLEND);
  glBlendFuncSeparate(static_cast<GLenum>(blendSrcRGB), static_cast<GLenum>(blendDstRGB),
                      static_cast<GLenum>(blendSrcAlpha), static_cast<GLenum>(blendDstAlpha));
  if (scissorTest) glEnable(GL_SCISSOR_TEST); else glDisable(GL_SCISSOR_TEST);
  glScissor(scissorBox[0], scissorBox[1], scissorBox[2], scissorBox[3]);
}

}  // namespace ffgl
