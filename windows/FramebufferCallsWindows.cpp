// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/FramebufferCalls.h"

namespace host {
namespace {

template <typename Fn>
bool Resolve(Fn& fn, const char* name) {
  fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(wglGetProcAddress(name)));
  return fn != nullptr;
}

}  // namespace

// Resolved from the first context current when asked; the smoke host makes
// one context per process, so the addresses stay valid.
const FramebufferCalls* GetFramebufferCalls() {
  static FramebufferCalls calls;
  static bool resolved = false;
  if (!resolved) {
    resolved = Resolve(calls.genFramebuffers, "glGenFramebuffers") &&
               Resolve(calls.deleteFramebuffers, "glDeleteFramebuffers") &&
               Resolve(calls.bindFramebuffer, "glBindFramebuffer") &&
               Resolve(calls.framebufferTexture2D, "glFramebufferTexture2D") &&
               Resolve(calls.checkFramebufferStatus, "glCheckFramebufferStatus");
  }
  return resolved ? &calls : nullptr;
}

}  // namespace host
