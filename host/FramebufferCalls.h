// SPDX-License-Identifier: GPL-3.0-or-later
// The framebuffer-object entry points that FrameTarget needs beyond GL 1.1.
// Linux links them; Windows' OpenGL32.dll does not export them, so there
// they come from the driver once a context is current. Each platform's host
// supplies GetFramebufferCalls (FramebufferCallsLinux.cpp,
// windows/FramebufferCallsWindows.cpp).
#pragma once

#include "host/GLHeaders.h"

namespace host {

struct FramebufferCalls {
  PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
  PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
  PFNGLFRAMEBUFFERTEXTURE2DPROC framebufferTexture2D = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
};

// Null when they cannot be had (on Windows: no context current yet, or a
// driver without framebuffer objects).
const FramebufferCalls* GetFramebufferCalls();

}  // namespace host
