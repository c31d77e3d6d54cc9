#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include "tests/gl/GLQueries.h"

#include <cstddef>

namespace testing_support {

AttributeLayout QueryAttribute(unsigned vertexArray, unsigned index) {
  AttributeLayout layout;
  glBindVertexArray(vertexArray);
  GLint value = 0;
  glGetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &layout.enabled);
  glGetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_SIZE, &layout.size);
  glGetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_TYPE, &value);
  layout.type = static_cast<unsigned>(value);
  glGetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_NORMALIZED, &layout.normalized);
  glGetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_STRIDE, &layout.stride);
  glGetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &value);
  layout.buffer = static_cast<unsigned>(value);
  void* pointer = nullptr;
  glGetVertexAttribPointerv(index, GL_VERTEX_ATTRIB_ARRAY_POINTER, &pointer);
  layout.offset = reinterpret_cast<uintptr_t>(pointer);
  glBindVertexArray(0);
  return layout;
}

int BufferSize(unsigned buffer) {
  glBindBuffer(GL_COPY_READ_BUFFER, buffer);
  GLint size = 0;
  glGetBufferParameteriv(GL_COPY_READ_BUFFER, GL_BUFFER_SIZE, &size);
  glBindBuffer(GL_COPY_READ_BUFFER, 0);
  return size;
}

std::vector<float> BufferFloats(unsigned buffer) {
  const int size = BufferSize(buffer);
  std::vector<float> values(static_cast<std::size_t>(size) / sizeof(float));
  glBindBuffer(GL_COPY_READ_BUFFER, buffer);
  glGetBufferSubData(GL_COPY_READ_BUFFER, 0, static_cast<GLsizeiptr>(values.size() * sizeof(float)),
                     values.data());
  glBindBuffer(GL_COPY_READ_BUFFER, 0);
  return values;
}

void BindForeignVertexArrayAndBuffer(unsigned* vertexArray, unsigned* buffer) {
  glGenVertexArrays(1, vertexArray);
  glGenBuffers(1, buffer);
  glBindVertexArray(*vertexArray);
  glBindBuffer(GL_ARRAY_BUFFER, *buffer);
}

void DeleteForeign(unsigned vertexArray, unsigned buffer) {
  glBindVertexArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glDeleteBuffers(1, &buffer);
  glDeleteVertexArrays(1, &vertexArray);
}

}  // namespace testing_support
