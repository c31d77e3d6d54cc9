#include "render/FrameSequence.h"

#include "render/Interruption.h"
#include "render/PngFile.h"
#include "render/ProgressBar.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

namespace render {

std::string SequenceFileName(int index, int frameCount) {
  const std::string number = std::to_string(index + 1);
  const size_t digits = std::max<size_t>(5, std::to_string(frameCount).size());
  return "frame-" + std::string(digits - std::min(digits, number.size()), '0') + number + ".png";
}

int RenderSequence(HeadlessRenderer& renderer, const SequenceRequest& request) {
  using Clock = std::chrono::steady_clock;
  // The first frame of an instance pays for its set-up (shaders, glyph
  // atlas); drawn once beforehand it does not hold up the timeline.
  renderer.Draw(0.0);
  const Clock::time_point start = Clock::now();
  ProgressBar progress(request.frames, stderr);
  double worstLateness = 0.0;
  int written = 0;
  for (int i = 0; i < request.frames && !Interrupted(); ++i) {
    const double due = i / request.fps;
    const auto dueTime =
        start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(due));
    if (Clock::now() < dueTime) std::this_thread::sleep_until(dueTime);
    worstLateness = std::max(
        worstLateness, std::chrono::duration<double>(Clock::now() - dueTime).count());
    host::Pixels frame = renderer.Draw(due);
    Composite(request.background, frame);
    WritePng(frame, request.folder + "/" + SequenceFileName(i, request.frames));
    ++written;
    progress.Update(written);
  }
  progress.Finish();
  // Drawing slower than the frame rate shows the clock late in later frames.
  if (worstLateness > 2.0 / request.fps)
    std::fprintf(stderr,
                 "tickora-render: note: drawing fell up to %.2f s behind the frame rate; the "
                 "clock in later frames runs late by as much\n",
                 worstLateness);
  return written;
}

}  // namespace render
