// SPDX-License-Identifier: GPL-3.0-or-later
// One plug-in instance drawing into the headless host's offscreen
// framebuffer (surfaceless EGL, no display needed): a still or a sequence.
#pragma once

#include "host/HeadlessHost.h"
#include "render/FrameSize.h"
#include "render/ParameterSettings.h"
#include "render/PluginSession.h"

#include <memory>
#include <vector>

namespace render {

class HeadlessRenderer {
 public:
  // Throws a run-time error when no GL context can be made or the plug-in
  // makes no instance, and a usage error when the size is beyond the GL's
  // limit.
  HeadlessRenderer(const PluginSession& session, const FrameSize& size,
                   const std::vector<ParameterSetting>& settings);
  ~HeadlessRenderer();
  HeadlessRenderer(const HeadlessRenderer&) = delete;
  HeadlessRenderer& operator=(const HeadlessRenderer&) = delete;

  // Draws one frame over transparent black at host time `seconds` and reads
  // it back. Throws a run-time error when the plug-in reports failure.
  host::Pixels Draw(double seconds);
  FFInstanceID Instance() const { return instance->Id(); }

 private:
  const host::PluginLibrary& library;
  std::unique_ptr<host::GLContext> context;    // outlives the instance
  std::unique_ptr<PluginInstance> instance;
};

}  // namespace render
