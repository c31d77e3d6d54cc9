// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed-function state a full-screen pass of the plug-in depends on but
// never chooses: a host may leave culling, depth or stencil tests, line
// polygons, masked colour channels, a subtractive blend equation, coverage
// tricks, rasterizer discard, a logic op, clip distances or a sampler object
// on unit 0 behind, and each of them would change or erase the picture. For
// the length of a block this puts every such piece that differs from the
// neutral value to that value, and afterwards puts back exactly the host's
// values of what it changed, so a host in the default state pays only for
// the queries.
//
// Left as the host has them, on purpose: the framebuffer, viewport and
// scissor (the host decides where the clock goes), GL_FRAMEBUFFER_SRGB on
// an sRGB output (the host asks for encoded output), blending in a pass that
// does not blend by itself, and primitive restart (the passes draw arrays,
// which it does not affect). Only the first draw buffer is looked at: it is
// the one the passes write. A compatibility profile adds the alpha test and
// polygon stipple.
#pragma once

#include "ffgl/GLEntryPoints.h"

#include <cstdint>

namespace ffglex {

class ScopedDrawState {
 public:
  enum class Blending {
    kHost,  // the pass draws with the host's blend state
    kOwn,   // the pass sets its own blend factors and needs the add equation
  };

  enum class Profile {
    kCore,
    kCompatibility,  // also neutralises the fixed-function tests only it has
  };

  ScopedDrawState(Blending blending, Profile profile);
  ~ScopedDrawState();
  ScopedDrawState(const ScopedDrawState&) = delete;
  ScopedDrawState& operator=(const ScopedDrawState&) = delete;

  // Most clip distances looked at; every driver has at least this many.
  static constexpr int kClipDistances = 8;

 private:
  void Neutralise(Blending blending);
  void NeutraliseSampler();
  void NeutraliseSRGB();

  // One bit per capability below that was on and is now off.
  uint32_t disabled = 0;
  bool polygonModeChanged = false;
  bool colourMaskChanged = false;
  bool blendEquationChanged = false;
  bool samplerChanged = false;
  GLint polygonMode[2] = {0, 0};
  GLint colourMask[4] = {1, 1, 1, 1};
  GLint blendEquationRGB = 0, blendEquationAlpha = 0;
  GLint sampler = 0;
};

}  // namespace ffglex
