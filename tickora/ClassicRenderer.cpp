// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/ClassicRenderer.h"

#include "tickora/ClockParameters.h"
#include "tickora/HandsShaders.h"
#include "tickora/PassScissor.h"
#include "tickora/RectSplit.h"

#include <algorithm>
#include <array>
#include <climits>
#include <string>

using namespace ffgl::gl;

namespace tickora {

bool ClassicRenderer::Create(uint32_t width, uint32_t height) {
  const std::string prefix = kHandsPrefix, onePrefix = kOneHandPrefix;
  if (!hands.Compile(prefix + kHandsVertexBody, prefix + kHandsFragmentBody) ||
      !oneHand.Compile(onePrefix + kHandsVertexBody, onePrefix + kHandsFragmentBody) ||
      !emptyFace.Compile(kEmptyFaceVertexShader, kEmptyFaceFragmentShader))
    return false;
  onlyLocation = glGetUniformLocation(oneHand.Id(), "only");
  glGenVertexArrays(1, &faceArray);
  glGenBuffers(1, &faceBuffer);
  glBindVertexArray(faceArray);
  glBindBuffer(GL_ARRAY_BUFFER, faceBuffer);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 2 * sizeof(float), nullptr);
  glBindVertexArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  Resize(width, height);
  return true;
}

void ClassicRenderer::Resize(uint32_t width, uint32_t height) {
  for (const ffglex::ShaderProgram* program : {&hands, &oneHand}) {
    if (program->Id() == 0) continue;
    glUseProgram(program->Id());
    program->SetVec2("resolution", static_cast<float>(width), static_cast<float>(height));
  }
  glUseProgram(0);
}

void ClassicRenderer::Release() {
  hands.Release();
  oneHand.Release();
  emptyFace.Release();
  glDeleteBuffers(1, &faceBuffer);
  faceBuffer = 0;
  glDeleteVertexArrays(1, &faceArray);
  faceArray = 0;
}

void ClassicRenderer::SendHands(const ffglex::ShaderProgram& program,
                                const ClassicFrame& frame) {
  const HandsBoxInputs& in = frame.hands;
  glUseProgram(program.Id());
  for (int i = 0; i < 3; ++i) program.SetFloat(UniformOf(ParamId::kColour, i), frame.colour[i]);
  program.SetFloat(UniformOf(ParamId::kHourLength), in.hourLength);
  program.SetFloat(UniformOf(ParamId::kMinuteLength), in.minuteLength);
  program.SetFloat(UniformOf(ParamId::kSecondLength), in.secondLength);
  program.SetFloat(UniformOf(ParamId::kHandWidth), in.handWidth);
  program.SetFloat(UniformOf(ParamId::kSecondWidth), in.secondWidth);
  program.SetFloat(UniformOf(ParamId::kCornerRound), in.cornerRound);
  program.SetFloat("colourAlpha", frame.alpha);
  program.SetFloat("angle", in.turns[0]);
  program.SetFloat("angle2", in.turns[1]);
  program.SetFloat("angle3", in.turns[2]);
}

// The empty face writes the same value at every pixel, so its pieces need no
// scissor each: they go as rectangles of one draw, their corners on the
// viewport's pixel edges, which a rasteriser's subpixel grid holds exactly,
// so that each pixel centre lies in exactly one of them (the two triangles
// of a rectangle share their diagonal, which the fill rule gives to one).
void ClassicRenderer::DrawEmptyFace(const RectSplit& split, PassScissor& scissor) const {
  const double width = scissor.ViewportWidth(), height = scissor.ViewportHeight();
  if (split.outsideCount == 0 || !(width >= 1.0) || !(height >= 1.0)) return;
  std::array<float, RectSplit::kMaxPieces * 12> corners;
  size_t n = 0;
  for (int i = 0; i < split.outsideCount; ++i) {
    const PixelRect& r = split.outside[static_cast<size_t>(i)];
    const float x0 = static_cast<float>(2.0 * r.x / width - 1.0);
    const float x1 = static_cast<float>(2.0 * (static_cast<double>(r.x) + r.width) / width - 1.0);
    const float y0 = static_cast<float>(2.0 * r.y / height - 1.0);
    const float y1 = static_cast<float>(2.0 * (static_cast<double>(r.y) + r.height) / height - 1.0);
    const float quad[12] = {x0, y0, x1, y0, x0, y1, x0, y1, x1, y0, x1, y1};
    for (float v : quad) corners[n++] = v;
  }
  if (!scissor.Limit(nullptr)) return;
  glBindVertexArray(faceArray);
  glBindBuffer(GL_ARRAY_BUFFER, faceBuffer);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(n * sizeof(float)), corners.data(),
               GL_STREAM_DRAW);
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(n / 2));
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindVertexArray(0);
}

namespace {

// What a pixel of each program costs on a software rasteriser (llvmpipe,
// measured by bench), in pixels of one blended constant-colour pass, and
// what one more scissored draw costs, in such pixels.
constexpr double kWholeProgramPixel = 2.2;
constexpr double kOneHandPixel = 1.15;
constexpr double kEmptyPixel = 0.85;
constexpr double kDrawCost = 3500.0;

// Pixels whose 16 × 16 blocks of the target (as the viewport places them)
// a rectangle touches: a rasteriser shades whole blocks fastest, so the
// pieces are cut along them.
PixelRect OnBlocks(const PixelRect& r, int64_t originX, int64_t originY, int64_t width,
                   int64_t height) {
  constexpr int64_t kBlock = 16;
  const auto down = [](int64_t v) { return (v >= 0 ? v : v - (kBlock - 1)) / kBlock * kBlock; };
  const int64_t x0 = std::clamp<int64_t>(down(originX + r.x) - originX, 0, width);
  const int64_t y0 = std::clamp<int64_t>(down(originY + r.y) - originY, 0, height);
  const int64_t x1 = std::clamp<int64_t>(
      down(originX + static_cast<int64_t>(r.x) + r.width + kBlock - 1) - originX, x0, width);
  const int64_t y1 = std::clamp<int64_t>(
      down(originY + static_cast<int64_t>(r.y) + r.height + kBlock - 1) - originY, y0, height);
  return PixelRect{static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0),
                   static_cast<int>(y1 - y0)};
}

bool Alone(const RectSplit& split, int i) {
  const unsigned groups = split.insideGroups[static_cast<size_t>(i)];
  return (groups & (groups - 1)) == 0;
}

}  // namespace

bool ClassicRenderer::PlanInputs::operator==(const PlanInputs& other) const {
  if (width != other.width || height != other.height || overwrite != other.overwrite) return false;
  for (int h = 0; h < 2; ++h) {
    if (count[h] != other.count[h]) return false;
    for (int i = 0; i < count[h]; ++i) {
      const PixelRect &p = rects[h][i], &q = other.rects[h][i];
      if (p.x != q.x || p.y != q.y || p.width != q.width || p.height != q.height ||
          handOf[h][i] != other.handOf[h][i])
        return false;
    }
  }
  return true;
}

// Cuts the output for the hands: each hand's rectangle whole or in halves,
// the pieces that only one hand reaches given to the one-hand program or
// not, whichever of the four costs least in shading and draws. Null when
// the rectangles cannot be worked out. The rectangles, on whole blocks,
// stay the same over many frames even as the hands turn smoothly: while
// they do, so does the plan, which is kept.
const RectSplit* ClassicRenderer::PlanPieces(const ClassicFrame& frame, const PassScissor& scissor,
                                             bool overwrite) const {
  const int width = scissor.ViewportWidth(), height = scissor.ViewportHeight();
  PlanInputs in;
  in.width = width;
  in.height = height;
  in.overwrite = overwrite;
  for (int h = 0; h < 2; ++h) {
    const int count =
        HandsBoxPieces(frame.hands, 2, h == 1 ? 1 : INT_MAX, in.rects[h], in.handOf[h]);
    if (count == 0) return nullptr;
    if (h == 1 && count == 3) break;  // no hand was worth cutting
    in.count[h] = count;
    for (int i = 0; i < count; ++i)
      in.rects[h][i] = OnBlocks(scissor.InViewport(in.rects[h][i]), scissor.ViewportX(),
                                scissor.ViewportY(), width, height);
  }
  if (planKept && in == keptInputs) return &keptSplit;

  double bestCost = -1.0;
  RectSplit split;
  for (int h = 0; h < 2 && in.count[h] > 0; ++h) {
    for (const bool oneHandPieces : {false, true}) {
      SplitByRects(in.rects[h], in.count[h], width, height, split,
                   oneHandPieces ? in.handOf[h] : nullptr);
      // Where the face is drawn whole first, the hands' pieces are drawn over
      // it; else they replace it.
      const double under = overwrite ? 0.0 : kEmptyPixel;
      double cost = oneHandPieces ? kDrawCost : 0.0;  // the second program
      for (int i = 0; i < split.insideCount; ++i) {
        const PixelRect& piece = split.inside[static_cast<size_t>(i)];
        const bool alone = oneHandPieces && Alone(split, i);
        cost += kDrawCost + static_cast<double>(piece.width) * piece.height *
                                ((alone ? kOneHandPixel : kWholeProgramPixel) - under);
      }
      if (!oneHandPieces)  // every piece to the whole program
        for (int i = 0; i < split.insideCount; ++i) split.insideGroups[static_cast<size_t>(i)] = 7u;
      if (bestCost < 0.0 || cost < bestCost) {
        bestCost = cost;
        keptSplit = split;
      }
    }
  }
  keptInputs = in;
  planKept = true;
  return &keptSplit;
}

void ClassicRenderer::Draw(const ClassicFrame& frame, const ffglex::FullScreenQuad& quad) const {
  if (hands.Id() == 0) return;
  SendHands(hands, frame);
  const bool pieced = frame.clipToHandRects && emptyFace.Id() != 0 && oneHand.Id() != 0 &&
                      faceArray != 0 && faceBuffer != 0;
  if (!pieced) {
    quad.Draw();
    glUseProgram(0);
    return;
  }
  // The hands program measures three distances per pixel, yet each hand can
  // only reach a few rectangles around it: where only one hand can reach, a
  // program measures that hand alone, and the rest of the output gets the
  // colour the program would write there, from a program that only writes
  // it. Without blending the face goes first over the whole output and the
  // hands' pieces over it (the last write is what stays); with blending
  // every pixel is written once, by one program. Either way each pixel ends
  // with the value the whole program gives it, so the picture and its
  // blending with the host's target stay as they were.
  PassScissor scissor(frame.width, frame.height);
  const bool overwrite = glIsEnabled(GL_BLEND) == GL_FALSE;
  const RectSplit* planned = PlanPieces(frame, scissor, overwrite);
  if (planned == nullptr) {
    scissor.Restore();
    quad.Draw();
    glUseProgram(0);
    return;
  }
  const RectSplit& split = *planned;
  if (overwrite) {
    // Without blending, the empty face's draw stores its colour as it is at
    // every pixel of the viewport the host's scissor leaves: what a clear of
    // the same pixels stores (the same conversion to the target's format,
    // sRGB encoding included; depth, stencil and every test the clear would
    // skip are off for the draw too), at a fraction of the cost. Only the
    // draw's own buffer is cleared.
    const PixelRect whole{0, 0, scissor.ViewportWidth(), scissor.ViewportHeight()};
    const GLfloat empty[4] = {frame.colour[0], frame.colour[1], frame.colour[2], 0.0f};
    if (scissor.Limit(&whole)) glClearBufferfv(GL_COLOR, 0, empty);
  }
  for (int i = 0; i < split.insideCount; ++i)
    if (!Alone(split, i) && scissor.Limit(&split.inside[static_cast<size_t>(i)])) quad.Draw();

  bool oneHandSent = false;
  int shown = -1;
  for (int i = 0; i < split.insideCount; ++i) {
    if (!Alone(split, i) || !scissor.Limit(&split.inside[static_cast<size_t>(i)])) continue;
    if (!oneHandSent) SendHands(oneHand, frame);
    oneHandSent = true;
    const unsigned groups = split.insideGroups[static_cast<size_t>(i)];
    const int hand = groups == 1u ? 0 : groups == 2u ? 1 : 2;
    if (hand != shown) glUniform1f(onlyLocation, static_cast<float>(hand));
    shown = hand;
    quad.Draw();
  }

  if (!overwrite) {
    glUseProgram(emptyFace.Id());
    for (int i = 0; i < 3; ++i) emptyFace.SetFloat(UniformOf(ParamId::kColour, i), frame.colour[i]);
    DrawEmptyFace(split, scissor);
  }
  scissor.Restore();
  glUseProgram(0);
}

}  // namespace tickora
