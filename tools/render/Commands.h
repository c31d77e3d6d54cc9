// SPDX-License-Identifier: GPL-3.0-or-later
// What each mode of the command line does, from a checked RenderOptions to
// files, printed tables or a window.
#pragma once

#include "render/RenderOptions.h"

namespace render {

// Sequences and --start set the plug-in's clock, which needs the process to
// run under libfaketime (see FakeClock).
bool NeedsFakeClock(const RenderOptions& options);

// Throws ToolError for every failure the user can meet.
void RunCommand(const RenderOptions& options);

}  // namespace render
