#include "ffgl/platform/DebuggerOutput.h"

#include <windows.h>

namespace ffgl::platform {
void WriteDebuggerOutput(const char* text) { OutputDebugStringA(text); }
}
