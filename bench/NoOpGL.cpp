// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/NoOpGL.h"

namespace bench {
namespace {

template <typename R>
struct Zero {
  static R Value() { return R{}; }
};
template <>
struct Zero<void> {
  static void Value() {}
};

#define BENCH_NOOP_ENTRY(ret, name, params, args) \
  ret FFGL_APIENTRY NoOp##name params { return Zero<ret>::Value(); }
FFGL_ENTRY_POINTS(BENCH_NOOP_ENTRY)
#undef BENCH_NOOP_ENTRY

const GLubyte* FFGL_APIENTRY NoOpVersion(GLenum) {
  return reinterpret_cast<const GLubyte*>("4.1 no-op");
}

GLint viewport[4] = {0, 0, 0, 0};

void FFGL_APIENTRY NoOpViewportQuery(GLenum name, GLint* data) {
  if (name == GL_VIEWPORT && data != nullptr)
    for (int i = 0; i < 4; ++i) data[i] = viewport[i];
}

}  // namespace

ffgl::GLEntryPoints InstallNoOpGL(int viewportWidth, int viewportHeight) {
  const ffgl::GLEntryPoints previous = ffgl::glEntryPoints;
#define BENCH_INSTALL_NOOP(ret, name, params, args) ffgl::glEntryPoints.name = NoOp##name;
  FFGL_ENTRY_POINTS(BENCH_INSTALL_NOOP)
#undef BENCH_INSTALL_NOOP
  ffgl::glEntryPoints.GetString = NoOpVersion;
  viewport[2] = viewportWidth;
  viewport[3] = viewportHeight;
  ffgl::glEntryPoints.GetIntegerv = NoOpViewportQuery;
  return previous;
}

}  // namespace bench
