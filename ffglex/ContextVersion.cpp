// SPDX-License-Identifier: GPL-3.0-or-later
#include "ffglex/ContextVersion.h"

#include "ffgl/GLEntryPoints.h"

#include <cstring>

using namespace ffgl::gl;

namespace ffglex {
namespace {

// Digits at `text`, at most four of them (no version number is longer, and
// a bound keeps a hostile string from overflowing the int).
const char* ReadNumber(const char* text, int& value) {
  value = 0;
  int digits = 0;
  while (digits < 4 && *text >= '0' && *text <= '9') {
    value = value * 10 + (*text - '0');
    ++text;
    ++digits;
  }
  return digits > 0 ? text : nullptr;
}

bool HasExtension(const char* wanted) {
  GLint count = 0;
  glGetIntegerv(GL_NUM_EXTENSIONS, &count);
  for (GLint i = 0; i < count; ++i) {
    const auto* name = reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, static_cast<GLuint>(i)));
    if (name != nullptr && std::strcmp(name, wanted) == 0) return true;
  }
  return false;
}

}  // namespace

bool ParseVersion(const char* text, int& major, int& minor) {
  major = minor = 0;
  if (text == nullptr) return false;
  const char* rest = ReadNumber(text, major);
  if (rest == nullptr || *rest != '.') return false;
  rest = ReadNumber(rest + 1, minor);
  if (rest == nullptr) return false;
  // "4.10" and "4.1" are the same GLSL version; only the first digit of the
  // minor number counts for a comparison with 4.1.
  while (minor >= 10) minor /= 10;
  return true;
}

bool ContextVersion::RunsTheShaders() const {
  const bool gl = major > 4 || (major == 4 && minor >= 1);
  const bool glsl = glslMajor > 4 || (glslMajor == 4 && glslMinor >= 1);
  return gl && glsl;
}

std::string ContextVersion::Describe() const {
  return "OpenGL " + std::to_string(major) + "." + std::to_string(minor) + ", GLSL " +
         std::to_string(glslMajor) + "." + std::to_string(glslMinor) + "0" +
         (compatibility ? ", compatibility profile" : "");
}

ContextVersion QueryContextVersion() {
  ContextVersion version;
  ParseVersion(reinterpret_cast<const char*>(glGetString(GL_VERSION)), version.major, version.minor);
  ParseVersion(reinterpret_cast<const char*>(glGetString(GL_SHADING_LANGUAGE_VERSION)),
               version.glslMajor, version.glslMinor);
  if (version.major > 3 || (version.major == 3 && version.minor >= 2)) {
    GLint mask = 0;
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &mask);
    version.compatibility = mask != 0 ? (mask & GL_CONTEXT_COMPATIBILITY_PROFILE_BIT) != 0
                                      : HasExtension("GL_ARB_compatibility");
  } else if (version.major == 3 && version.minor == 1) {
    version.compatibility = HasExtension("GL_ARB_compatibility");
  } else {
    // Before 3.1 every context has the fixed-function state.
    version.compatibility = version.major > 0;
  }
  return version;
}

}  // namespace ffglex
