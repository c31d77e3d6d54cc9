// SPDX-License-Identifier: GPL-3.0-or-later
// What the current context can run: its OpenGL and GLSL versions and
// whether it is a compatibility profile. Hosts promise a 4.1 core context,
// but some give an older one, one whose GLSL stops short of 4.10, or a
// compatibility profile whose fixed-function state reaches our draws.
#pragma once

#include <string>

namespace ffglex {

struct ContextVersion {
  int major = 0, minor = 0;          // GL_VERSION
  int glslMajor = 0, glslMinor = 0;  // GL_SHADING_LANGUAGE_VERSION
  bool compatibility = false;

  // The shaders are written for "#version 410 core".
  bool RunsTheShaders() const;
  // "OpenGL 3.3, GLSL 3.30", for messages.
  std::string Describe() const;
};

// Reads the current context's versions and profile.
ContextVersion QueryContextVersion();

// Parses "4.5 (Core Profile) Mesa ..." or "4.60 <vendor> ..." into its first
// two numbers; false when the text does not start with "major.minor".
bool ParseVersion(const char* text, int& major, int& minor);

}  // namespace ffglex
