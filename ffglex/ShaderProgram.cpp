// SPDX-License-Identifier: GPL-3.0-or-later
#include "ffglex/ShaderProgram.h"

#include "ffgl/platform/DebuggerOutput.h"

#include <cassert>
#include <cstdio>
#include <utility>
#include <vector>

using namespace ffgl::gl;

namespace ffglex {

void ReportShaderMessage(const char* prefix, const char* log) {
  std::string message = prefix;
  message += log != nullptr ? log : "";
  ffgl::platform::WriteDebuggerOutput(message.c_str());
  ffgl::platform::WriteDebuggerOutput("\n");
  std::fputs(message.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

bool ShaderProgram::Compile(const std::string& vertexSource, const std::string& fragmentSource) {
  return Compile(vertexSource.c_str(), fragmentSource.c_str());
}

bool ShaderProgram::Compile(const char* vertexSource, const char* fragmentSource) {
  if (vertexSource == nullptr || vertexSource[0] == '\0') return false;
  if (fragmentSource == nullptr || fragmentSource[0] == '\0') return false;

  if (CompileAndAttach(vertexSource, GL_VERTEX_SHADER) &&
      CompileAndAttach(fragmentSource, GL_FRAGMENT_SHADER) && Link())
    return true;

  if (id != 0) {
    glDeleteProgram(id);
    id = 0;
  }
  return false;
}

bool ShaderProgram::CompileAndAttach(const char* source, GLenum type) {
  const GLuint shader = glCreateShader(type);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint status = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
  if (status != static_cast<GLint>(GL_TRUE)) {
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    if (length < 0) length = 0;
    std::vector<char> log(static_cast<size_t>(length) + 1, '\0');
    glGetShaderInfoLog(shader, length, nullptr, log.data());
    ReportShaderMessage(type == GL_VERTEX_SHADER ? "Vertex Shader error: " : "Fragment Shader error: ",
                        log.data());
    glDeleteShader(shader);
    return false;
  }
  if (id == 0) id = glCreateProgram();
  glAttachShader(id, shader);
  // Flagged for deletion now; it goes with the program it is attached to.
  glDeleteShader(shader);
  return true;
}

bool ShaderProgram::Link() {
  if (id == 0) id = glCreateProgram();
  glLinkProgram(id);
  GLint status = 0;
  glGetProgramiv(id, GL_LINK_STATUS, &status);
  if (status != static_cast<GLint>(GL_TRUE)) {
    char log[1024] = {};
    GLsizei length = 0;
    // GL counts the terminator in the size it is given: the whole buffer
    // brings up to 1023 characters of the log.
    glGetProgramInfoLog(id, sizeof log, &length, log);
    if (length < 0) length = 0;
    if (length > 1023) length = 1023;
    log[length] = '\0';
    ReportShaderMessage("Program link error: ", log);
    return false;
  }
  return true;
}

void ShaderProgram::SetFloat(const char* name, float value) const {
  glUniform1f(glGetUniformLocation(id, name), value);
}

void ShaderProgram::SetVec2(const char* name, float x, float y) const {
  glUniform2f(glGetUniformLocation(id, name), x, y);
}

ShaderProgram::ShaderProgram(ShaderProgram&& other) noexcept : id(std::exchange(other.id, 0)) {}

ShaderProgram& ShaderProgram::operator=(ShaderProgram&& other) noexcept {
  assert(id == 0 && "release before assigning over a program");
  if (this != &other) id = std::exchange(other.id, 0);
  return *this;
}

void ShaderProgram::Release() {
  if (id == 0) return;
  glDeleteProgram(id);
  id = 0;
}

}  // namespace ffglex
