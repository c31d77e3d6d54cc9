// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/FrameSequence.h"

#include "render/ClockMoment.h"
#include "render/FrameWriters.h"
#include "render/Interruption.h"
#include "render/ProgressBar.h"

#include <algorithm>
#include <cstdio>

namespace render {

std::string SequenceFileName(int index, int frameCount) {
  const std::string number = std::to_string(index + 1);
  const size_t digits = std::max<size_t>(5, std::to_string(frameCount).size());
  return "frame-" + std::string(digits - std::min(digits, number.size()), '0') + number + ".png";
}

int RenderSequence(HeadlessRenderer& renderer, const SequenceRequest& request,
                   const std::function<void(int64_t moment)>& setClock) {
  // The first frame of an instance pays for its set-up (shaders, glyph
  // atlas); drawn beforehand, it is out of the way of the timing figures.
  setClock(request.start);
  renderer.Draw(0.0);
  FrameWriters writers(request.writerThreads, request.background);
  ProgressBar progress(request.frames, stderr);
  for (int i = 0; i < request.frames && !Interrupted(); ++i) {
    setClock(FrameMoment(request.start, i, request.fps));
    // Host time too, for plug-ins that follow it rather than the clock.
    host::Pixels frame = renderer.Draw(i / request.fps);
    writers.Write(std::move(frame), request.folder + "/" + SequenceFileName(i, request.frames));
    progress.Update(writers.Written());
  }
  writers.Finish();
  const int written = writers.Written();
  progress.Update(written);
  progress.Finish();
  return written;
}

}  // namespace render
