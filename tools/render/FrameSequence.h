// --frames N --fps F --out-dir DIR: numbered PNGs frame-00001.png ... for
// a video or GIF made elsewhere.
#pragma once

#include "render/Background.h"
#include "render/HeadlessRenderer.h"

#include <string>

namespace render {

// "frame-00001.png" for index 0 of a sequence of that length (at least five
// digits, more for longer sequences, so that names sort in order).
std::string SequenceFileName(int index, int frameCount);

struct SequenceRequest {
  int frames = 1;
  double fps = 30.0;
  std::string folder;
  Background background;
};

// The plug-in reads the wall clock itself, so frame i is drawn no earlier
// than i / fps seconds after the first: the pictures then show the time
// passing at the sequence's rate. Returns the number of frames written
// (fewer than asked only when interrupted).
int RenderSequence(HeadlessRenderer& renderer, const SequenceRequest& request);

}  // namespace render
