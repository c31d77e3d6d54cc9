// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps an instance to the GL context it was created in. Vertex arrays and
// framebuffers are never shared between contexts, and a context that shares
// nothing gives the same names to its own objects: a frame or a deletion run
// in another context would bind or delete whatever the host has under the
// instance's names there. The dispatcher asks before every GL call.
#pragma once

#include "ffgl/CFFGLPlugin.h"

namespace ffgl {

// Notes the context current now as the instance's own; before InitGL.
void RememberCreatorContext(CFFGLPlugin& instance);

// False only when another context than the instance's own is known to be
// current (no context at all counts as another). True when the platform
// cannot tell contexts apart.
bool InCreatorContext(const CFFGLPlugin& instance);

}  // namespace ffgl
