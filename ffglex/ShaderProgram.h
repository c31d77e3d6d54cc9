// SPDX-License-Identifier: GPL-3.0-or-later
// One OpenGL program built from a vertex and a fragment source. Destroying the
// object never touches OpenGL: the owner calls Release with a context current.
// Move-only, so that exactly one object ever deletes the program.
#pragma once

#include "ffgl/GLEntryPoints.h"

#include <string>
#include <utility>

namespace ffglex {

class ShaderProgram {
 public:
  ShaderProgram() = default;
  ShaderProgram(const ShaderProgram&) = delete;
  ShaderProgram& operator=(const ShaderProgram&) = delete;
  // The source is left owning nothing. The target of an assignment must own
  // nothing either (released or never compiled): its program would be lost.
  ShaderProgram(ShaderProgram&& other) noexcept;
  ShaderProgram& operator=(ShaderProgram&& other) noexcept;
  ~ShaderProgram() = default;

  bool Compile(const std::string& vertexSource, const std::string& fragmentSource);
  bool Compile(const char* vertexSource, const char* fragmentSource);

  GLuint Id() const { return id; }

  // Act on the current program; the caller brackets them with glUseProgram.
  void SetFloat(const char* name, float value) const;
  void SetVec2(const char* name, float x, float y) const;

  void Release();

 private:
  bool CompileAndAttach(const char* source, GLenum type);
  bool Link();

  GLuint id = 0;
};

// Writes a compiler or linker message to the debugger output and to standard
// output.
void ReportShaderMessage(const char* prefix, const char* log);

}  // namespace ffglex
