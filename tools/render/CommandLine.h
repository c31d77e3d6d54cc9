// SPDX-License-Identifier: GPL-3.0-or-later
// The command line, parsed with CLI11 into RenderOptions.
#pragma once

#include "render/RenderOptions.h"

#include <string>

namespace render {

// Returns false after printing --help (the caller exits with 0). Throws a
// usage error for anything malformed, contradictory or missing.
bool ParseCommandLine(int argc, const char* const* argv, RenderOptions* options);

}  // namespace render
