// SPDX-License-Identifier: GPL-3.0-or-later
// --frames N --fps F --out-dir DIR: numbered PNGs frame-00001.png ... for
// a video or GIF made elsewhere.
#pragma once

#include "render/Background.h"
#include "render/HeadlessRenderer.h"

#include <cstdint>
#include <functional>
#include <string>

namespace render {

// "frame-00001.png" for index 0 of a sequence of that length (at least five
// digits, more for longer sequences, so that names sort in order).
std::string SequenceFileName(int index, int frameCount);

struct SequenceRequest {
  int frames = 1;
  double fps = 30.0;
  int64_t start = 0;  // the wall-clock moment of the first frame, see ClockMoment
  std::string folder;
  Background background;
  int writerThreads = 1;  // 0: encode and write between draws
};

// Frame k shows the wall clock at start + k / fps, however long drawing and
// writing take: `setClock` moves the clock the plug-in reads to that moment
// before the frame is drawn. Returns the number of frames written (fewer
// than asked only when interrupted).
int RenderSequence(HeadlessRenderer& renderer, const SequenceRequest& request,
                   const std::function<void(int64_t moment)>& setClock);

}  // namespace render
