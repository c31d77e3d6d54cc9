// SPDX-License-Identifier: GPL-3.0-or-later
#include "ffglex/ScopedDrawState.h"

#include <algorithm>

using namespace ffgl::gl;

namespace ffglex {
namespace {

// Capabilities that are off for the plug-in's passes. The clip distances
// follow at bit kFixedCount.
constexpr GLenum kCapabilities[] = {
    GL_CULL_FACE,           GL_DEPTH_TEST,       GL_STENCIL_TEST,   GL_SAMPLE_ALPHA_TO_COVERAGE,
    GL_SAMPLE_COVERAGE,     GL_SAMPLE_MASK,      GL_SAMPLE_SHADING, GL_RASTERIZER_DISCARD,
    GL_COLOR_LOGIC_OP,
};
constexpr int kFixedCount = static_cast<int>(sizeof(kCapabilities) / sizeof(kCapabilities[0]));
// The bit of GL_FRAMEBUFFER_SRGB, after the clip distances.
constexpr int kSRGBBit = kFixedCount + ScopedDrawState::kClipDistances;
// Fixed-function tests a compatibility profile still applies to a shader's
// output: an alpha test cuts the glyphs' soft edges (and a faded clock
// whole), a stipple pattern removes pixels. Core contexts have neither.
constexpr GLenum kCompatibilityCapabilities[] = {GL_ALPHA_TEST, GL_POLYGON_STIPPLE};
constexpr int kFirstCompatibilityBit = kSRGBBit + 1;
constexpr int kLastBit = kFirstCompatibilityBit +
                         static_cast<int>(sizeof(kCompatibilityCapabilities) /
                                          sizeof(kCompatibilityCapabilities[0])) - 1;
static_assert(kLastBit < 32, "one bit per capability");

GLenum CapabilityOfBit(int bit) {
  if (bit < kFixedCount) return kCapabilities[bit];
  if (bit < kSRGBBit) return GL_CLIP_DISTANCE0 + static_cast<GLenum>(bit - kFixedCount);
  if (bit == kSRGBBit) return GL_FRAMEBUFFER_SRGB;
  return kCompatibilityCapabilities[bit - kFirstCompatibilityBit];
}

// Turns off each capability of [first, last] that is on, noting it in `disabled`.
void DisableBits(int first, int last, uint32_t& disabled) {
  for (int bit = first; bit <= last; ++bit) {
    const GLenum capability = CapabilityOfBit(bit);
    if (glIsEnabled(capability) == GL_FALSE) continue;
    glDisable(capability);
    disabled |= 1u << bit;
  }
}

// The attachment GL_DRAW_BUFFER0 writes, as the attachment queries name it.
GLenum AttachmentOfDrawBuffer(GLint drawBuffer) {
  switch (static_cast<GLenum>(drawBuffer)) {
    case GL_FRONT:
    case GL_LEFT:
    case GL_FRONT_AND_BACK:
      return GL_FRONT_LEFT;
    case GL_BACK:
      return GL_BACK_LEFT;
    case GL_RIGHT:
      return GL_FRONT_RIGHT;
    default:
      return static_cast<GLenum>(drawBuffer);
  }
}

}  // namespace

ScopedDrawState::ScopedDrawState(Blending blending, Profile profile) {
  Neutralise(blending);
  if (profile == Profile::kCompatibility) DisableBits(kFirstCompatibilityBit, kLastBit, disabled);
}

void ScopedDrawState::Neutralise(Blending blending) {
  GLint clipDistances = 0;
  glGetIntegerv(GL_MAX_CLIP_DISTANCES, &clipDistances);
  const int clipCount = std::clamp(clipDistances, 0, kClipDistances);
  DisableBits(0, kFixedCount + clipCount - 1, disabled);

  glGetIntegerv(GL_POLYGON_MODE, polygonMode);
  if (static_cast<GLenum>(polygonMode[0]) != GL_FILL ||
      static_cast<GLenum>(polygonMode[1]) != GL_FILL) {
    // Core contexts report one mode for both faces; older ones one per face.
    if (polygonMode[1] == 0) polygonMode[1] = polygonMode[0];
    polygonModeChanged = static_cast<GLenum>(polygonMode[0]) != GL_FILL ||
                         static_cast<GLenum>(polygonMode[1]) != GL_FILL;
    if (polygonModeChanged) glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  }

  glGetIntegerv(GL_COLOR_WRITEMASK, colourMask);
  if (colourMask[0] == 0 || colourMask[1] == 0 || colourMask[2] == 0 || colourMask[3] == 0) {
    colourMaskChanged = true;
    glColorMaski(0, GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  }

  if (blending == Blending::kOwn) {
    glGetIntegerv(GL_BLEND_EQUATION_RGB, &blendEquationRGB);
    glGetIntegerv(GL_BLEND_EQUATION_ALPHA, &blendEquationAlpha);
    if (static_cast<GLenum>(blendEquationRGB) != GL_FUNC_ADD ||
        static_cast<GLenum>(blendEquationAlpha) != GL_FUNC_ADD) {
      blendEquationChanged = true;
      glBlendEquationSeparate(GL_FUNC_ADD, GL_FUNC_ADD);
    }
  }
  NeutraliseSampler();
  NeutraliseSRGB();
}

// The read-out samples unit 0; a sampler object there would override the
// atlas texture's own sampling (an incomplete mipmap filter reads black).
void ScopedDrawState::NeutraliseSampler() {
  GLint activeUnit = 0;
  glGetIntegerv(GL_ACTIVE_TEXTURE, &activeUnit);
  const bool onUnit0 = static_cast<GLenum>(activeUnit) == GL_TEXTURE0;
  if (!onUnit0) glActiveTexture(GL_TEXTURE0);
  glGetIntegerv(GL_SAMPLER_BINDING, &sampler);
  if (!onUnit0) glActiveTexture(static_cast<GLenum>(activeUnit));
  if (sampler == 0) return;
  samplerChanged = true;
  glBindSampler(0, 0);
}

// sRGB encoding is honoured where the output really is sRGB; on a linear
// output the switch must not change what is written (some drivers give a
// window's buffer sRGB encoding without being asked).
void ScopedDrawState::NeutraliseSRGB() {
  if (glIsEnabled(GL_FRAMEBUFFER_SRGB) == GL_FALSE) return;
  GLint drawBuffer = 0;
  glGetIntegerv(GL_DRAW_BUFFER0, &drawBuffer);
  if (static_cast<GLenum>(drawBuffer) == GL_NONE) return;
  GLint encoding = 0;
  glGetFramebufferAttachmentParameteriv(GL_DRAW_FRAMEBUFFER, AttachmentOfDrawBuffer(drawBuffer),
                                        GL_FRAMEBUFFER_ATTACHMENT_COLOR_ENCODING, &encoding);
  if (static_cast<GLenum>(encoding) == GL_SRGB) return;
  glDisable(GL_FRAMEBUFFER_SRGB);
  disabled |= 1u << kSRGBBit;
}

ScopedDrawState::~ScopedDrawState() {
  for (int bit = 0; disabled != 0 && bit <= kLastBit; ++bit) {
    if ((disabled & (1u << bit)) == 0) continue;
    glEnable(CapabilityOfBit(bit));
    disabled &= ~(1u << bit);
  }
  if (polygonModeChanged) {
    if (polygonMode[0] == polygonMode[1]) {
      glPolygonMode(GL_FRONT_AND_BACK, static_cast<GLenum>(polygonMode[0]));
    } else {
      glPolygonMode(GL_FRONT, static_cast<GLenum>(polygonMode[0]));
      glPolygonMode(GL_BACK, static_cast<GLenum>(polygonMode[1]));
    }
  }
  if (colourMaskChanged)
    glColorMaski(0, static_cast<GLboolean>(colourMask[0] != 0), static_cast<GLboolean>(colourMask[1] != 0),
                 static_cast<GLboolean>(colourMask[2] != 0), static_cast<GLboolean>(colourMask[3] != 0));
  if (blendEquationChanged)
    glBlendEquationSeparate(static_cast<GLenum>(blendEquationRGB),
                            static_cast<GLenum>(blendEquationAlpha));
  if (samplerChanged) glBindSampler(0, static_cast<GLuint>(sampler));
}

}  // namespace ffglex
