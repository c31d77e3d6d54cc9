// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/Commands.h"

#include "render/ClockMoment.h"
#include "render/FakeClock.h"
#include "render/FrameSequence.h"
#include "render/FrameWriters.h"
#include "render/HeadlessRenderer.h"
#include "render/Interruption.h"
#include "render/OutputPath.h"
#include "render/ParameterSettings.h"
#include "render/ParameterTable.h"
#include "render/PluginLocator.h"
#include "render/PluginSession.h"
#include "render/PngFile.h"
#include "render/PreviewWindow.h"
#include "render/ToolError.h"

#include <cstdio>
#include <memory>

namespace render {
namespace {

void RunWindow(PluginSession& session, const std::vector<ParameterSetting>& settings,
               const RenderOptions& options) {
  WindowRequest request;
  request.size = options.size;
  request.background = options.background;
  request.screenshotFile = options.screenshotFile;
  request.quitAfterFrames = options.quitAfterFrames;
  request.testKeys = options.testKeys;
  CatchInterruptions();
  RunPreviewWindow(session, settings, request);
}

void RunSequence(HeadlessRenderer& renderer, FakeClock& clock, const RenderOptions& options) {
  SequenceRequest request;
  request.frames = options.frames;
  request.fps = options.fps;
  request.start = clock.Start();
  request.folder = options.outDir;
  request.background = options.background;
  request.writerThreads =
      options.writerThreads >= 0 ? options.writerThreads : FrameWriters::DefaultThreads();
  CatchInterruptions();
  const int written = RenderSequence(renderer, request, [&](int64_t moment) { clock.Set(moment); });
  const int last = written > 0 ? written - 1 : 0;
  std::printf("tickora-render: wrote %d frames to %s (%s ... %s), clock %s to %s\n", written,
              options.outDir.c_str(), SequenceFileName(0, options.frames).c_str(),
              SequenceFileName(last, options.frames).c_str(), LocalText(request.start).c_str(),
              LocalText(FrameMoment(request.start, last, request.fps)).c_str());
  if (written < options.frames) throw RunTimeError("interrupted");
}

}  // namespace

bool NeedsFakeClock(const RenderOptions& options) {
  return options.mode == Mode::Sequence || options.hasStart;
}

void RunCommand(const RenderOptions& options) {
  // In the process that runs under libfaketime: the clock stands at the
  // start until a sequence moves it.
  std::unique_ptr<FakeClock> clock;
  if (UnderFakeClock()) clock = std::make_unique<FakeClock>();
  if (NeedsFakeClock(options) && !clock) throw RunTimeError("the fake clock is not running");

  // Cheap checks of the output first: a wrong path should not cost a render.
  std::string outFile;
  if (options.mode == Mode::SingleFrame) outFile = ResolveOutputFile(options.outFile);
  if (options.mode == Mode::Sequence) PrepareOutputFolder(options.outDir, options.overwrite);

  const std::string path = options.pluginPath.empty() ? DefaultPluginPath() : options.pluginPath;
  PluginSession session(path);
  const host::PluginLibrary& library = session.Library();
  if (options.mode == Mode::List) {
    PrintParameterList(library, path, options.listAll, stdout);
    return;
  }
  const std::vector<ParameterSetting> settings =
      ResolveSettings(options.settings, library.Parameters());
  if (options.mode == Mode::Window) return RunWindow(session, settings, options);

  HeadlessRenderer renderer(session, options.size, settings);
  if (options.mode == Mode::PrintValues) {
    // The first frame is when a plug-in applies what depends on its values
    // (Tickora's parameter visibility follows "Type" there).
    renderer.Draw(0.0);
    PrintInstanceValues(library, renderer.Instance(), stdout);
  } else if (options.mode == Mode::SingleFrame) {
    host::Pixels frame = renderer.Draw(0.0);
    Composite(options.background, frame);
    WritePng(frame, outFile);
    const std::string moment = clock ? " at " + LocalText(clock->Start()) : "";
    std::printf("tickora-render: wrote %s (%dx%d)%s\n", options.outFile.c_str(), frame.width,
                frame.height, moment.c_str());
  } else {
    RunSequence(renderer, *clock, options);
  }
}

}  // namespace render
