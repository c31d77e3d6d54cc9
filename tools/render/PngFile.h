// PNG files written whole or not at all: the picture goes to a temporary
// file beside the target and is renamed over it only once complete, so an
// interrupted or failed run never leaves a truncated PNG behind.
#pragma once

#include "host/HeadlessHost.h"

#include <string>

namespace render {

// Throws a run-time error when a file cannot be created at that path (no
// such folder, no permission, a folder in the way), before any work is done.
void CheckWritableFile(const std::string& path);

// Creates the folder (and its parents) when missing; throws a run-time
// error when that fails or it cannot be written to.
void PrepareOutputFolder(const std::string& folder);

// Writes RGBA8 pixels (top row first) with JUCE's PNG writer: with an alpha
// channel unless every pixel is opaque. Throws a run-time error on failure.
void WritePng(const host::Pixels& pixels, const std::string& path);

}  // namespace render
