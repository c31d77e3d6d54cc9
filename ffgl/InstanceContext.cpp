// SPDX-License-Identifier: GPL-3.0-or-later
#include "ffgl/InstanceContext.h"

#include "ffgl/platform/CurrentContext.h"

namespace ffgl {

void RememberCreatorContext(CFFGLPlugin& instance) {
  platform::FindContextQuery();
  instance.glContext = platform::CurrentGLContext();
}

bool InCreatorContext(const CFFGLPlugin& instance) {
  return instance.glContext == nullptr || platform::CurrentGLContext() == instance.glContext;
}

}  // namespace ffgl
