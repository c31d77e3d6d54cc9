// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/DigitalRenderer.h"

#include "tickora/ClockParameters.h"
#include "tickora/DigitalShaders.h"
#include "tickora/GlyphBox.h"
#include "tickora/PassScissor.h"

#include <optional>
#include <vector>

using namespace ffgl::gl;

namespace tickora {

bool DigitalRenderer::Create(uint32_t width, uint32_t height) {
  if (!program.Compile(kDigitalVertexShader, kDigitalFragmentShader)) return false;
  Resize(width, height);
  return true;
}

void DigitalRenderer::Resize(uint32_t width, uint32_t height) {
  if (program.Id() == 0) return;
  glUseProgram(program.Id());
  program.SetVec2("resolution", static_cast<float>(width), static_cast<float>(height));
  glUseProgram(0);
}

void DigitalRenderer::Release() { program.Release(); }

// What stays the same for every pass of the frame.
void DigitalRenderer::SendLook(const DigitalFrame& frame) const {
  program.SetFloat(UniformOf(ParamId::kScale), frame.scale);
  program.SetFloat(UniformOf(ParamId::kSpacing), frame.spacing);
  program.SetFloat(UniformOf(ParamId::kAspect), frame.aspect);
  program.SetFloat(UniformOf(ParamId::kColonWidth), frame.style.colonWidth);
  for (int i = 0; i < 3; ++i) program.SetFloat(UniformOf(ParamId::kColour, i), frame.colour[i]);
  program.SetVec2("maxst", 1.0f, 1.0f);
  program.SetFloat("w", 0.25f);
  program.SetFloat("colourAlpha", frame.alpha);
  program.SetFloat("atlasFill", frame.atlasFill);
}

void DigitalRenderer::Draw(const DigitalFrame& frame, const ffglex::FullScreenQuad& quad) const {
  const GLuint id = program.Id();
  if (id == 0) return;
  glUseProgram(id);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, frame.atlasTexture);
  SendLook(frame);
  const float pitch = GlyphPitch(frame.text.length());
  program.SetFloat("pitch", pitch);
  const std::vector<GlyphPass> passes = LayoutReadout(frame.text, frame.style, frame.wallMillis);

  // Colour blends by coverage; alpha composes as "over", so a transparent
  // output keeps the glyph's coverage and an opaque one stays opaque (the
  // same factors for alpha would leave coverage squared at the edges).
  glEnable(GL_BLEND);
  glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  const GLint countLocation = glGetUniformLocation(id, "count");
  const GLint blackLocation = glGetUniformLocation(id, "black");
  const GLint leftLocation = glGetUniformLocation(id, "left");
  const GLint addHLocation = glGetUniformLocation(id, "addH");

  // Every pass covers the whole output, but only its glyph's box can receive
  // ink: the scissor keeps the renderer from shading the rest.
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
  for (const GlyphPass& pass : passes) {
    glUniform1f(countLocation, pass.count);
    if (pass.setBlack) glUniform1f(blackLocation, pass.black);
    glUniform1f(leftLocation, pass.left);
    glUniform1f(addHLocation, pass.addH);
    if (scissor) {
      box.left = pass.left;
      box.addH = pass.addH;
      PixelRect rect;
      const bool bounded = GlyphBoxBounds(box, 2, rect);
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
