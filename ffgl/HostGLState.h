// SPDX-License-Identifier: GPL-3.0-or-later
// Saves the pieces of the host's GL state that the plug-in may touch and puts
// them back when it goes out of scope, so that whatever the host had bound or
// enabled before a call is what it finds after it.
// The unpack pixel store is not among them: the one upload sets and restores
// it itself (ffglex::ScopedUnpackState), so ordinary calls never pay for it.
#pragma once

#include "ffgl/GLEntryPoints.h"

namespace ffgl {

class HostGLState {
 public:
  HostGLState();
  ~HostGLState();
  HostGLState(const HostGLState&) = delete;
  HostGLState& operator=(const HostGLState&) = delete;

 private:
  bool active = false;
  GLint program = 0;
  GLint vertexArray = 0;
  GLint arrayBuffer = 0;
  GLint activeTexture = 0;
  GLint textureUnit0 = 0;
  GLint textureActiveUnit = 0;
  GLboolean blend = GL_FALSE;
  GLint blendSrcRGB = 0, blendDstRGB = 0, blendSrcAlpha = 0, blendDstAlpha = 0;
  GLboolean scissorTest = GL_FALSE;
  GLint scissorBox[4] = {0, 0, 0, 0};
};

}  // namespace ffgl
