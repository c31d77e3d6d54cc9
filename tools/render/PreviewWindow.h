// SPDX-License-Identifier: GPL-3.0-or-later
// --window: the plug-in live in a GLFW window with a GL 4.1 core context,
// redrawn at the display rate. The plug-in draws into an offscreen target
// of the window's size, which is then composited into the window.
#pragma once

#include "render/Background.h"
#include "render/FrameSize.h"
#include "render/ParameterSettings.h"
#include "render/PluginSession.h"

#include <string>
#include <vector>

namespace render {

struct WindowRequest {
  FrameSize size;
  Background background;
  // Test hooks: the window's framebuffer after the last frame, a frame
  // limit, and steps taken one after each frame: a key name pressed through
  // the key handler, or WxH to resize the window.
  std::string screenshotFile;
  int quitAfterFrames = 0;
  std::vector<std::string> testKeys;
};

// Runs until the window is closed or a quit key is pressed; prints a line
// saying how many frames were drawn and why it stopped. Throws a run-time
// error when no window or GL 4.1 core context can be had.
void RunPreviewWindow(const PluginSession& session, const std::vector<ParameterSetting>& settings,
                      const WindowRequest& request);

}  // namespace render
