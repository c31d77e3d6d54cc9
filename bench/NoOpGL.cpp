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

}  // namespace

ffgl::GLEntryPoints InstallNoOpGL() {
  const ffgl::GLEntryPoints previous = ffgl::glEntryPoints;
#define BENCH_INSTALL_NOOP(ret, name, params, args) ffgl::glEntryPoints.name = NoOp##name;
  FFGL_ENTRY_POINTS(BENCH_INSTALL_NOOP)
#undef BENCH_INSTALL_NOOP
  ffgl::glEntryPoints.GetString = NoOpVersion;
  return previous;
}

}  // namespace bench
