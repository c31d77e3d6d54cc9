// SPDX-License-Identifier: GPL-3.0-or-later
#include "ffgl/GLEntryPoints.h"

#include "ffgl/platform/GLProcAddress.h"

namespace ffgl {

GLEntryPoints glEntryPoints;

namespace {

// A desktop GL_VERSION opens with the major number ("4.5 (Core Profile) ...");
// none at all means no context is current, and "OpenGL ES ..." is not a
// context the plug-in can draw with.
bool StartsWithVersionNumber(const GLubyte* text) {
  return text != nullptr && text[0] >= '0' && text[0] <= '9';
}

}  // namespace

bool LoadGLEntryPoints() {
  GLEntryPoints table;
  table.GetString = reinterpret_cast<decltype(table.GetString)>(
      platform::GetGLProcAddress("glGetString"));
  if (table.GetString == nullptr) return false;
  if (!StartsWithVersionNumber(table.GetString(GL_VERSION))) return false;

  bool complete = true;
#define FFGL_RESOLVE_ENTRY(ret, name, params, args)                                   \
  table.name = reinterpret_cast<decltype(table.name)>(platform::GetGLProcAddress("gl" #name)); \
  complete = complete && table.name != nullptr;
  FFGL_ENTRY_POINTS(FFGL_RESOLVE_ENTRY)
#undef FFGL_RESOLVE_ENTRY
  if (!complete) return false;

  glEntryPoints = table;
  return true;
}

}  // namespace ffgl
