#include "render/Commands.h"

#include "render/FrameSequence.h"
#include "render/HeadlessRenderer.h"
#include "render/Interruption.h"
#include "render/ParameterSettings.h"
#include "render/ParameterTable.h"
#include "render/PluginLocator.h"
#include "render/PluginSession.h"
#include "render/PngFile.h"
#include "render/PreviewWindow.h"
#include "render/ToolError.h"

#include <cstdio>

namespace render {

void RunCommand(const RenderOptions& options) {
  // Cheap checks of the output first: a wrong path should not cost a render.
  if (options.mode == Mode::SingleFrame) CheckWritableFile(options.outFile);
  if (options.mode == Mode::Sequence) PrepareOutputFolder(options.outDir);

  const std::string path = options.pluginPath.empty() ? DefaultPluginPath() : options.pluginPath;
  PluginSession session(path);
  const host::PluginLibrary& library = session.Library();
  if (options.mode == Mode::List) {
    PrintParameterList(library, path, stdout);
    return;
  }
  const std::vector<ParameterSetting> settings =
      ResolveSettings(options.settings, library.Parameters());

  if (options.mode == Mode::Window) {
    WindowRequest request;
    request.size = options.size;
    request.background = options.background;
    request.screenshotFile = options.screenshotFile;
    request.quitAfterFrames = options.quitAfterFrames;
    request.testKeys = options.testKeys;
    CatchInterruptions();
    RunPreviewWindow(session, settings, request);
    return;
  }

  HeadlessRenderer renderer(session, options.size, settings);
  if (options.mode == Mode::PrintValues) {
    // The first frame is when a plug-in applies what depends on its values
    // (Tickora's parameter visibility follows "Type" there).
    renderer.Draw(0.0);
    PrintInstanceValues(library, renderer.Instance(), stdout);
  } else if (options.mode == Mode::SingleFrame) {
    host::Pixels frame = renderer.Draw(0.0);
    Composite(options.background, frame);
    WritePng(frame, options.outFile);
    std::printf("tickora-render: wrote %s (%dx%d)\n", options.outFile.c_str(), frame.width,
                frame.height);
  } else {
    SequenceRequest request;
    request.frames = options.frames;
    request.fps = options.fps;
    request.folder = options.outDir;
    request.background = options.background;
    CatchInterruptions();
    const int written = RenderSequence(renderer, request);
    std::printf("tickora-render: wrote %d frames to %s (%s ... %s)\n", written,
                options.outDir.c_str(), SequenceFileName(0, options.frames).c_str(),
                SequenceFileName(written > 0 ? written - 1 : 0, options.frames).c_str());
    if (written < options.frames) throw RunTimeError("interrupted");
  }
}

}  // namespace render
