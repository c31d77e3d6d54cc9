// SPDX-License-Identifier: GPL-3.0-or-later
// PNG files written whole or not at all: the picture goes to a temporary
// file beside the target and is renamed over it only once complete, so an
// interrupted or failed run never leaves a truncated PNG behind.
#pragma once

#include "host/HeadlessHost.h"

#include <string>

namespace render {

// Writes RGBA8 pixels (top row first) with JUCE's PNG writer: with an alpha
// channel unless every pixel is opaque. Throws a run-time error on failure,
// and when what `path` names is no longer a regular file.
void WritePng(const host::Pixels& pixels, const std::string& path);

}  // namespace render
