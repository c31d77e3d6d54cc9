// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/DigitalRenderer.h"

#include "tickora/ClockParameters.h"
#include "tickora/DigitalShaders.h"
#include "tickora/GlyphBox.h"
#include "tickora/PassScissor.h"

#include <cstring>
#include <optional>
#include <vector>

using namespace ffgl::gl;

namespace tickora {

bool DigitalRenderer::Create(uint32_t width, uint32_t height) {
  if (!program.Compile(kDigitalVertexShader, kDigitalFragmentShader)) return false;
  LookUpUniforms();
  Resize(width, height);
  return true;
}

void DigitalRenderer::LookUpUniforms() {
  const char* const names[kUniforms] = {
      "resolution", UniformOf(ParamId::kScale), UniformOf(ParamId::kSpacing),
      UniformOf(ParamId::kAspect), UniformOf(ParamId::kColonWidth),
      UniformOf(ParamId::kColour, 0), UniformOf(ParamId::kColour, 1),
      UniformOf(ParamId::kColour, 2), "maxst", "w", "colourAlpha", "atlasFill", "pitch",
      "count", "separator", "black", "left", "addH"};
  for (int i = 0; i < kUniforms; ++i)
    location[i] = program.Id() != 0 ? glGetUniformLocation(program.Id(), names[i]) : -1;
}

void DigitalRenderer::Resize(uint32_t width, uint32_t height) {
  if (program.Id() == 0) return;
  glUseProgram(program.Id());
  glUniform2f(location[kResolution], static_cast<float>(width), static_cast<float>(height));
  glUseProgram(0);
}

void DigitalRenderer::Release() {
  program.Release();
  LookUpUniforms();
}

// What stays the same for every pass of the frame.
void DigitalRenderer::SendLook(const DigitalFrame& frame) const {
  glUniform1f(location[kScale], frame.scale);
  glUniform1f(location[kSpacing], frame.spacing);
  glUniform1f(location[kAspect], frame.aspect);
  glUniform1f(location[kColonWidth], frame.style.colonWidth);
  for (int i = 0; i < 3; ++i) glUniform1f(location[kRed + i], frame.colour[i]);
  glUniform2f(location[kMaxst], 1.0f, 1.0f);
  glUniform1f(location[kW], 0.25f);
  glUniform1f(location[kColourAlpha], frame.alpha);
  glUniform1f(location[kAtlasFill], frame.atlasFill);
}

namespace {

bool SameBits(const GlyphBoxInputs& a, const GlyphBoxInputs& b) {
  return std::memcmp(&a, &b, sizeof(GlyphBoxInputs)) == 0;
}

}  // namespace

// The pass's scissor rectangle (unbounded when it cannot be worked out);
// false when its glyph has no ink and the pass draws nothing.
bool DigitalRenderer::PassBox(size_t index, const GlyphBoxInputs& box, int glyph,
                              const GlyphAtlas* atlas, PixelRect& rect, bool& bounded) const {
  const bool known = atlas != nullptr && glyph >= 0 && glyph < kGlyphCount;
  const GlyphAtlas::InkBox ink = known ? atlas->Ink(glyph) : GlyphAtlas::InkBox{};
  const int side = known ? atlas->UploadedSide() : -1;
  PassRect* kept = index < passRects.size() ? &passRects[index] : nullptr;
  if (kept != nullptr && kept->glyph == glyph && kept->side == side && kept->ink.x0 == ink.x0 &&
      kept->ink.y0 == ink.y0 && kept->ink.x1 == ink.x1 && kept->ink.y1 == ink.y1 &&
      SameBits(kept->box, box)) {
    rect = kept->rect;
    bounded = kept->bounded;
    return kept->inked;
  }
  bounded = GlyphBoxBounds(box, 2, rect);
  bool inked = true;
  if (bounded && known) {
    inked = !ink.Empty();
    const InkTexels texels{ink.x0, ink.y0, ink.x1, ink.y1, side, glyph % kAtlasColumns,
                           glyph / kAtlasColumns};
    PixelRect inkedRect;
    if (inked && GlyphInkBounds(box, texels, 2, inkedRect)) rect = Intersection(rect, inkedRect);
  }
  if (kept != nullptr) {
    kept->box = box;
    kept->glyph = glyph;
    kept->ink = ink;
    kept->side = side;
    kept->inked = inked;
    kept->bounded = bounded;
    kept->rect = rect;
  }
  return inked;
}

void DigitalRenderer::Draw(const DigitalFrame& frame, const ffglex::FullScreenQuad& quad) const {
  const GLuint id = program.Id();
  if (id == 0) return;
  glUseProgram(id);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, frame.atlasTexture);
  SendLook(frame);
  const float pitch = GlyphPitch(frame.text.length());
  glUniform1f(location[kPitch], pitch);
  const std::vector<GlyphPass> passes = LayoutReadout(frame.text, frame.style, frame.wallMillis);

  // Colour blends by coverage; alpha composes as "over", so a transparent
  // output keeps the glyph's coverage and an opaque one stays opaque (the
  // same factors for alpha would leave coverage squared at the edges).
  glEnable(GL_BLEND);
  glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);

  // Every pass covers the whole output, but only its glyph's box can receive
  // ink, and only the part of it that samples the glyph's ink: the scissor
  // keeps the renderer from shading the rest, and a glyph without ink is not
  // drawn at all.
  std::optional<PassScissor> scissor;
  GlyphBoxInputs box;
  if (frame.clipToGlyphBoxes) {
    scissor.emplace(frame.width, frame.height);
    box.width = static_cast<float>(frame.width);
    box.height = static_cast<float>(frame.height);
    box.scale = frame.scale;
    box.spacing = frame.spacing;
    box.aspect = frame.aspect;
    box.pitch = pitch;
  }
  const GlyphAtlas* atlas =
      frame.atlas != nullptr && frame.atlas->UploadedSide() > 0 ? frame.atlas : nullptr;
  // A pass sends only the values that differ from the pass before: each
  // change is state a software renderer copies for the draw.
  const GlyphPass* previous = nullptr;
  const auto send = [&](Uniform uniform, float value, float before) {
    if (previous == nullptr || std::memcmp(&value, &before, sizeof(float)) != 0)
      glUniform1f(location[uniform], value);
  };
  for (size_t i = 0; i < passes.size(); ++i) {
    const GlyphPass& pass = passes[i];
    send(kCount, pass.count, previous != nullptr ? previous->count : 0.0f);
    send(kSeparator, pass.narrow, previous != nullptr ? previous->narrow : 0.0f);
    if (pass.setBlack) glUniform1f(location[kBlack], pass.black);
    send(kLeft, pass.left, previous != nullptr ? previous->left : 0.0f);
    send(kAddH, pass.addH, previous != nullptr ? previous->addH : 0.0f);
    previous = &pass;
    if (scissor) {
      box.left = pass.left;
      box.addH = pass.addH;
      PixelRect rect;
      bool bounded = false;
      if (!PassBox(i, box, static_cast<int>(pass.count), atlas, rect, bounded)) continue;
      const PixelRect inViewport = scissor->InViewport(rect);
      if (!scissor->Limit(bounded ? &inViewport : nullptr)) continue;  // nothing of it is visible
    }
    quad.Draw();
  }
  if (scissor) scissor->Restore();
  glDisable(GL_BLEND);

  glBindTexture(GL_TEXTURE_2D, 0);
  glUseProgram(0);
}

}  // namespace tickora
