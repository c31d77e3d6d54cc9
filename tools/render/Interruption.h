// SPDX-License-Identifier: GPL-3.0-or-later
// Ctrl-C during a long render stops it between two frames, so that no file
// is left half-written and the plug-in is shut down in order.
#pragma once

namespace render {

// Installs the SIGINT/SIGTERM handler for the rest of the process.
void CatchInterruptions();
bool Interrupted();

}  // namespace render
