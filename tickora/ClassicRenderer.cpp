// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/ClassicRenderer.h"

#include "tickora/ClockParameters.h"
#include "tickora/HandsShaders.h"
#include "tickora/PassScissor.h"
#include "tickora/RectSplit.h"

using namespace ffgl::gl;

namespace tickora {

bool ClassicRenderer::Create(uint32_t width, uint32_t height) {
  if (!hands.Compile(kHandsVertexShader, kHandsFragmentShader) ||
      !emptyFace.Compile(kEmptyFaceVertexShader, kEmptyFaceFragmentShader))
    return false;
  Resize(width, height);
  return true;
}

void ClassicRenderer::Resize(uint32_t width, uint32_t height) {
  if (hands.Id() == 0) return;
  glUseProgram(hands.Id());
  hands.SetVec2("resolution", static_cast<float>(width), static_cast<float>(height));
  glUseProgram(0);
}

void ClassicRenderer::Release() {
  hands.Release();
  emptyFace.Release();
}

void ClassicRenderer::SendHands(const ClassicFrame& frame) const {
  const HandsBoxInputs& in = frame.hands;
  for (int i = 0; i < 3; ++i) hands.SetFloat(UniformOf(ParamId::kColour, i), frame.colour[i]);
  hands.SetFloat(UniformOf(ParamId::kHourLength), in.hourLength);
  hands.SetFloat(UniformOf(ParamId::kMinuteLength), in.minuteLength);
  hands.SetFloat(UniformOf(ParamId::kSecondLength), in.secondLength);
  hands.SetFloat(UniformOf(ParamId::kHandWidth), in.handWidth);
  hands.SetFloat(UniformOf(ParamId::kSecondWidth), in.secondWidth);
  hands.SetFloat(UniformOf(ParamId::kCornerRound), in.cornerRound);
  hands.SetFloat("colourAlpha", frame.alpha);
  hands.SetFloat("angle", in.turns[0]);
  hands.SetFloat("angle2", in.turns[1]);
  hands.SetFloat("angle3", in.turns[2]);
}

void ClassicRenderer::Draw(const ClassicFrame& frame, const ffglex::FullScreenQuad& quad) const {
  if (hands.Id() == 0) return;
  glUseProgram(hands.Id());
  SendHands(frame);

  // The hands program measures three distances per pixel, yet each hand can
  // only reach a rectangle around it: the rest of the output gets the colour
  // the program would write there, from a program that only writes it. Every
  // pixel is still written once, by one program, so the picture and its
  // blending with the host's target stay as they were.
  PixelRect handRects[3];
  if (!frame.clipToHandRects || emptyFace.Id() == 0 ||
      !HandsBoxBounds(frame.hands, 2, handRects)) {
    quad.Draw();
    glUseProgram(0);
    return;
  }
  PassScissor scissor(frame.width, frame.height);
  for (PixelRect& rect : handRects) rect = scissor.InViewport(rect);
  RectSplit split;
  SplitByRects(handRects, 3, scissor.ViewportWidth(), scissor.ViewportHeight(), split);
  for (int i = 0; i < split.insideCount; ++i)
    if (scissor.Limit(&split.inside[static_cast<size_t>(i)])) quad.Draw();

  glUseProgram(emptyFace.Id());
  for (int i = 0; i < 3; ++i) emptyFace.SetFloat(UniformOf(ParamId::kColour, i), frame.colour[i]);
  for (int i = 0; i < split.outsideCount; ++i)
    if (scissor.Limit(&split.outside[static_cast<size_t>(i)])) quad.Draw();
  scissor.Restore();
  glUseProgram(0);
}

}  // namespace tickora
