// SPDX-License-Identifier: GPL-3.0-or-later
// Everything the command line asked for, checked for form but not yet
// against the plug-in or the GL.
#pragma once

#include "render/Background.h"
#include "render/FrameSize.h"

#include <cstdint>
#include <string>
#include <vector>

namespace render {

enum class Mode { List, PrintValues, SingleFrame, Sequence, Window };

struct RenderOptions {
  Mode mode = Mode::SingleFrame;
  std::string pluginPath;                // empty: the Tickora.so next to the executable
  std::vector<std::string> settings;     // NAME=VALUE, in command-line order
  FrameSize size;                        // as given, or the mode's default
  Background background;                 // what the frame is composited over
  std::string outFile;                   // SingleFrame
  int frames = 0;                        // Sequence
  double fps = 30.0;                     // Sequence
  std::string outDir;                    // Sequence
  bool overwrite = false;                // Sequence: remove frame-*.png of an earlier run
  bool listAll = false;                  // List: every element of long option lists
  bool hasStart = false;                 // --start given: the clock stands there first
  int64_t start = 0;                     // see ClockMoment
  int writerThreads = -1;                // -1: FrameWriters::DefaultThreads()
  // Test hooks of the preview window (hidden from --help).
  std::string screenshotFile;
  int quitAfterFrames = 0;               // 0: run until closed
  std::vector<std::string> testKeys;     // key names pressed one per drawn frame
};

}  // namespace render
