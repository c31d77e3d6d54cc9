// Driver-side queries the plug-in's entry-point table has no use for, made
// straight through the system's GL library (kept apart: its header and the
// table's macros do not mix in one file).
#pragma once

#include <cstdint>
#include <vector>

namespace testing_support {

struct AttributeLayout {
  int enabled = 0;
  int size = 0;
  unsigned type = 0;
  int normalized = 0;
  int stride = 0;
  uintptr_t offset = 0;
  unsigned buffer = 0;
};

// Binds the vertex array to read the attribute, then binds 0 again.
AttributeLayout QueryAttribute(unsigned vertexArray, unsigned index);
// Size in bytes and contents (as floats) of a buffer object.
int BufferSize(unsigned buffer);
std::vector<float> BufferFloats(unsigned buffer);
// Makes a vertex array and an array buffer of the test's own and binds them.
void BindForeignVertexArrayAndBuffer(unsigned* vertexArray, unsigned* buffer);
void DeleteForeign(unsigned vertexArray, unsigned buffer);

}  // namespace testing_support
