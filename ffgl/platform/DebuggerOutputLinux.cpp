#include "ffgl/platform/DebuggerOutput.h"

namespace ffgl::platform {
void WriteDebuggerOutput(const char*) {}
}
