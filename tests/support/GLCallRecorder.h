// SPDX-License-Identifier: GPL-3.0-or-later
// Test seam: replaces the plug-in's GL entry-point table with wrappers that
// count every call by name and keep track of the GL objects alive, then
// forward to the real driver. Install after the real table is loaded.
#pragma once

#include "ffgl/GLEntryPoints.h"

#include <map>
#include <set>
#include <string>

namespace testing_support {

class GLCallRecorder {
 public:
  // Installs the wrappers over the current table (which must be loaded).
  GLCallRecorder();
  // Puts the real table back.
  ~GLCallRecorder();

  int Count(const std::string& name) const;  // e.g. "UseProgram"
  int TotalCalls() const;
  void Reset();

  // Objects created through the table and not yet deleted.
  int LivePrograms() const { return static_cast<int>(programs.size()); }
  int LiveShaders() const { return static_cast<int>(shaders.size()); }
  int LiveBuffers() const { return static_cast<int>(buffers.size()); }
  int LiveVertexArrays() const { return static_cast<int>(vertexArrays.size()); }
  int LiveTextures() const { return static_cast<int>(textures.size()); }
  int LiveObjects() const {
    return LivePrograms() + LiveShaders() + LiveBuffers() + LiveVertexArrays() + LiveTextures();
  }
  // "programs 1, shaders 0, buffers 2, vertex arrays 0, textures 1", for
  // failure messages.
  std::string DescribeLive() const;

  std::map<std::string, int> counts;
  std::set<GLuint> programs, shaders, buffers, vertexArrays, textures;
  // Shaders flagged for deletion but still attached live with their program.
  std::map<GLuint, GLuint> attachedTo;

  static GLCallRecorder* active;
  ffgl::GLEntryPoints real;
};

// Points every entry of the table at a function that does nothing and
// answers zero (glGetString answers a version string), for measuring the
// plug-in's own work without a driver. Returns the previous table.
ffgl::GLEntryPoints InstallNoOpGL();

}  // namespace testing_support
