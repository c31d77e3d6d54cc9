// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/FramebufferCalls.h"

namespace host {

const FramebufferCalls* GetFramebufferCalls() {
  static const FramebufferCalls calls{glGenFramebuffers, glDeleteFramebuffers, glBindFramebuffer,
                                      glFramebufferTexture2D, glCheckFramebufferStatus};
  return &calls;
}

}  // namespace host
