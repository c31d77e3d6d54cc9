// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/GLObjectCount.h"

#include "host/GLHeaders.h"

namespace testing_support {

// GL names are handed out from small integers; this range covers far more
// than a thousand instances' worth.
int DriverGLObjects() {
  int live = 0;
  for (GLuint name = 1; name < 20000; ++name) {
    live += glIsProgram(name) + glIsShader(name) + glIsBuffer(name) + glIsVertexArray(name) +
            glIsTexture(name) + glIsFramebuffer(name) + glIsRenderbuffer(name);
  }
  return live;
}

}  // namespace testing_support
