// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the Classic face: owns the hands program, which measures each
// pixel's distance to three rounded hands, and the empty-face program that
// writes what the hands program would write where no hand can reach. It
// does not work out the time or the hands' angles (tickora/TimeModel.h)
// and leaves the host's blending as it finds it.
#pragma once

#include "ffgl/GLEntryPoints.h"
#include "ffglex/FullScreenQuad.h"
#include "ffglex/ShaderProgram.h"
#include "tickora/HandsBox.h"
#include "tickora/PassScissor.h"
#include "tickora/RectSplit.h"

#include <cstdint>

namespace tickora {

// One frame of the face, as the parameters give it.
struct ClassicFrame {
  uint32_t width = 0;  // output size in pixels
  uint32_t height = 0;
  HandsBoxInputs hands;  // the stored lengths and widths, and the hands' turns
  float colour[3] = {0.0f, 0.0f, 0.0f};
  float alpha = 1.0f;  // drawn coverage is multiplied by it
  bool clipToHandRects = true;
};

class ClassicRenderer {
 public:
  ClassicRenderer() = default;
  ClassicRenderer(const ClassicRenderer&) = delete;
  ClassicRenderer& operator=(const ClassicRenderer&) = delete;

  // With the host's context current. `width` and `height` are the output's.
  // False when a program did not build (the driver's message is out).
  bool Create(uint32_t width, uint32_t height);
  void Resize(uint32_t width, uint32_t height);
  void Release();

  void Draw(const ClassicFrame& frame, const ffglex::FullScreenQuad& quad) const;

  GLuint HandsProgram() const { return hands.Id(); }

 private:
  static void SendHands(const ffglex::ShaderProgram& program, const ClassicFrame& frame);
  const RectSplit* PlanPieces(const ClassicFrame& frame, const PassScissor& scissor,
                              bool overwrite) const;
  void DrawEmptyFace(const RectSplit& split, PassScissor& scissor) const;

  ffglex::ShaderProgram hands;
  ffglex::ShaderProgram oneHand;  // measures the hand "only" names alone
  GLint onlyLocation = -1;
  GLuint faceArray = 0;  // the empty face's rectangles, refilled each frame
  GLuint faceBuffer = 0;
  ffglex::ShaderProgram emptyFace;

  // What the last plan was made from (the rectangles of both cuts, in
  // viewport pixels; a count of 0 for a cut not tried) and the plan.
  struct PlanInputs {
    int width = 0, height = 0;
    bool overwrite = false;
    int count[2] = {0, 0};
    PixelRect rects[2][kMaxHandPieces];
    int handOf[2][kMaxHandPieces] = {};
    bool operator==(const PlanInputs& other) const;
  };
  mutable bool planKept = false;
  mutable PlanInputs keptInputs;
  mutable RectSplit keptSplit;
};

}  // namespace tickora
