// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/GLCallRecorder.h"

#include <stdexcept>

namespace testing_support {

GLCallRecorder* GLCallRecorder::active = nullptr;

namespace {

GLCallRecorder& R() { return *GLCallRecorder::active; }

void Track(const char* name) { ++R().counts[name]; }

#define FORWARD_ENTRY(ret, name, params, args)                \
  ret FFGL_APIENTRY Record##name params {                     \
    Track(#name);                                             \
    return R().real.name args;                                \
  }
FFGL_ENTRY_POINTS(FORWARD_ENTRY)
#undef FORWARD_ENTRY

GLuint FFGL_APIENTRY TrackCreateShader(GLenum type) {
  Track("CreateShader");
  const GLuint id = R().real.CreateShader(type);
  if (id != 0) R().shaders.insert(id);
  return id;
}
void FFGL_APIENTRY TrackDeleteShader(GLuint shader) {
  Track("DeleteShader");
  R().real.DeleteShader(shader);
  // A shader attached to a live program lives on until the program goes.
  if (R().attachedTo.count(shader) == 0) R().shaders.erase(shader);
}
void FFGL_APIENTRY TrackAttachShader(GLuint program, GLuint shader) {
  Track("AttachShader");
  R().real.AttachShader(program, shader);
  R().attachedTo[shader] = program;
}
GLuint FFGL_APIENTRY TrackCreateProgram() {
  Track("CreateProgram");
  const GLuint id = R().real.CreateProgram();
  if (id != 0) R().programs.insert(id);
  return id;
}
void FFGL_APIENTRY TrackDeleteProgram(GLuint program) {
  Track("DeleteProgram");
  R().real.DeleteProgram(program);
  R().programs.erase(program);
  for (auto it = R().attachedTo.begin(); it != R().attachedTo.end();) {
    if (it->second == program) {
      R().shaders.erase(it->first);
      it = R().attachedTo.erase(it);
    } else {
      ++it;
    }
  }
}
void FFGL_APIENTRY TrackGenBuffers(GLsizei n, GLuint* ids) {
  Track("GenBuffers");
  R().real.GenBuffers(n, ids);
  for (GLsizei i = 0; i < n; ++i) if (ids[i] != 0) R().buffers.insert(ids[i]);
}
void FFGL_APIENTRY TrackDeleteBuffers(GLsizei n, const GLuint* ids) {
  Track("DeleteBuffers");
  R().real.DeleteBuffers(n, ids);
  for (GLsizei i = 0; i < n; ++i) R().buffers.erase(ids[i]);
}
void FFGL_APIENTRY TrackGenVertexArrays(GLsizei n, GLuint* ids) {
  Track("GenVertexArrays");
  R().real.GenVertexArrays(n, ids);
  for (GLsizei i = 0; i < n; ++i) if (ids[i] != 0) R().vertexArrays.insert(ids[i]);
}
void FFGL_APIENTRY TrackDeleteVertexArrays(GLsizei n, const GLuint* ids) {
  Track("DeleteVertexArrays");
  R().real.DeleteVertexArrays(n, ids);
  for (GLsizei i = 0; i < n; ++i) R().vertexArrays.erase(ids[i]);
}
void FFGL_APIENTRY TrackGenTextures(GLsizei n, GLuint* ids) {
  Track("GenTextures");
  R().real.GenTextures(n, ids);
  for (GLsizei i = 0; i < n; ++i) if (ids[i] != 0) R().textures.insert(ids[i]);
}
void FFGL_APIENTRY TrackDeleteTextures(GLsizei n, const GLuint* ids) {
  Track("DeleteTextures");
  R().real.DeleteTextures(n, ids);
  for (GLsizei i = 0; i < n; ++i) R().textures.erase(ids[i]);
}

}  // namespace

GLCallRecorder::GLCallRecorder() {
  if (active != nullptr) throw std::logic_error("one GLCallRecorder at a time");
  if (ffgl::glEntryPoints.GetString == nullptr) throw std::logic_error("GL entry points not loaded");
  real = ffgl::glEntryPoints;
  active = this;
  ffgl::GLEntryPoints& table = ffgl::glEntryPoints;
#define INSTALL_ENTRY(ret, name, params, args) table.name = Record##name;
  FFGL_ENTRY_POINTS(INSTALL_ENTRY)
#undef INSTALL_ENTRY
  table.CreateShader = TrackCreateShader;
  table.DeleteShader = TrackDeleteShader;
  table.AttachShader = TrackAttachShader;
  table.CreateProgram = TrackCreateProgram;
  table.DeleteProgram = TrackDeleteProgram;
  table.GenBuffers = TrackGenBuffers;
  table.DeleteBuffers = TrackDeleteBuffers;
  table.GenVertexArrays = TrackGenVertexArrays;
  table.DeleteVertexArrays = TrackDeleteVertexArrays;
  table.GenTextures = TrackGenTextures;
  table.DeleteTextures = TrackDeleteTextures;
}

GLCallRecorder::~GLCallRecorder() {
  ffgl::glEntryPoints = real;
  active = nullptr;
}

std::string GLCallRecorder::DescribeLive() const {
  return "programs " + std::to_string(LivePrograms()) + ", shaders " +
         std::to_string(LiveShaders()) + ", buffers " + std::to_string(LiveBuffers()) +
         ", vertex arrays " + std::to_string(LiveVertexArrays()) + ", textures " +
         std::to_string(LiveTextures());
}

int GLCallRecorder::Count(const std::string& name) const {
  auto it = counts.find(name);
  return it == counts.end() ? 0 : it->second;
}

int GLCallRecorder::TotalCalls() const {
  int total = 0;
  for (const auto& entry : counts) total += entry.second;
  return total;
}

void GLCallRecorder::Reset() { counts.clear(); }

namespace {

template <typename R>
struct Zero {
  static R Value() { return R{}; }
};

const GLubyte* FFGL_APIENTRY NoOpVersionString(GLenum) {
  return reinterpret_cast<const GLubyte*>("4.1 no-op");
}

#define NOOP_ENTRY(ret, name, params, args) \
  ret FFGL_APIENTRY NoOp##name params { return Zero<ret>::Value(); }
template <>
struct Zero<void> {
  static void Value() {}
};
FFGL_ENTRY_POINTS(NOOP_ENTRY)
#undef NOOP_ENTRY

}  // namespace

ffgl::GLEntryPoints InstallNoOpGL() {
  ffgl::GLEntryPoints previous = ffgl::glEntryPoints;
  ffgl::GLEntryPoints& table = ffgl::glEntryPoints;
#define INSTALL_NOOP(ret, name, params, args) table.name = NoOp##name;
  FFGL_ENTRY_POINTS(INSTALL_NOOP)
#undef INSTALL_NOOP
  table.GetString = NoOpVersionString;
  return previous;
}

}  // namespace testing_support
