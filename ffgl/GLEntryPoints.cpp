#include "ffgl/GLEntryPoints.h"

#include "ffgl/platform/GLProcAddress.h"

namespace ffgl {

GLEntryPoints glEntryPoints;

namespace {

// Reads up to 9 decimal digits; false when there are none.
bool ReadNumber(const char*& p, int& out) {
  int digits = 0;
  int value = 0;
  while (*p >= '0' && *p <= '9' && digits < 9) {
    value = value * 10 + (*p - '0');
    ++p;
    ++digits;
  }
  out = value;
  return digits > 0;
}

}  // namespace

bool ParseGLVersion(const char* text, GLVersion& version) {
  if (text == nullptr) return false;
  const char* p = text;
  if (!ReadNumber(p, version.major)) return false;
  version.minor = 0;
  if (*p == '.') {
    ++p;
    ReadNumber(p, version.minor);
  }
  return true;
}

bool LoadGLEntryPoints() {
  GLEntryPoints table;
  table.GetString = reinterpret_cast<decltype(table.GetString)>(
      platform::GetGLProcAddress("glGetString"));
  if (table.GetString == nullptr) return false;
  const auto* versionText = reinterpret_cast<const char*>(table.GetString(GL_VERSION));
  GLVersion version;
  if (!ParseGLVersion(versionText, version)) return false;

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
