// SPDX-License-Identifier: GPL-3.0-or-later
#include "ffgl/GLEntryPoints.h"

#include "ffgl/platform/GLProcAddress.h"

namespace ffgl {

GLEntryPoints glEntryPoints;

namespace {

// A desktop GL_VERSION opens with the major number ("4.5 (Core Profile) ...");
// "OpenGL ES ..." is not a context the plug-in can draw with.
bool StartsWithVersionNumber(const GLubyte* text) {
  return text != nullptr && text[0] >= '0' && text[0] <= '9';
}

}  // namespace

GLLoad TryLoadGLEntryPoints() {
  GLEntryPoints table;
  table.GetString = reinterpret_cast<decltype(table.GetString)>(
      platform::GetGLProcAddress("glGetString"));
  // No GL library loaded in the process yet: no context can be current.
  if (table.GetString == nullptr) return GLLoad::kNoContext;
  const GLubyte* version = table.GetString(GL_VERSION);
  if (version == nullptr) return GLLoad::kNoContext;
  if (!StartsWithVersionNumber(version)) return GLLoad::kUnusable;

  bool complete = true;
#define FFGL_RESOLVE_ENTRY(ret, name, params, args)                                   \
  table.name = reinterpret_cast<decltype(table.name)>(platform::GetGLProcAddress("gl" #name)); \
  complete = complete && table.name != nullptr;
  FFGL_ENTRY_POINTS(FFGL_RESOLVE_ENTRY)
#undef FFGL_RESOLVE_ENTRY
  if (!complete) return GLLoad::kUnusable;
#define FFGL_RESOLVE_OPTIONAL(ret, name, params, args) \
  table.name = reinterpret_cast<decltype(table.name)>(platform::GetGLProcAddress("gl" #name));
  FFGL_COMPATIBILITY_ENTRY_POINTS(FFGL_RESOLVE_OPTIONAL)
#undef FFGL_RESOLVE_OPTIONAL

  glEntryPoints = table;
  return GLLoad::kLoaded;
}

}  // namespace ffgl
