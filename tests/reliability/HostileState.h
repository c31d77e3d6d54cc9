// SPDX-License-Identifier: GPL-3.0-or-later
// GL state a host may leave behind when it calls a plug-in, one piece at a
// time or all together, and the framebuffers it may draw into: the hostile
// side of the tests that check a plug-in draws the same picture whatever
// state it is called in.
#pragma once

#include "host/HeadlessHost.h"

#include <ostream>
#include <string>
#include <vector>

namespace reliability {

// What the host's framebuffer holds besides its RGBA8 colour (kSRGB: its
// colour is sRGB-encoded RGBA8 instead).
enum class TargetKind { kColour, kDepthStencil, kMultisample, kSRGB };

// The host's framebuffer: colour, and for the other kinds a depth-stencil
// buffer (4 samples for kMultisample, read back through a resolve).
class HostTarget {
 public:
  bool Create(TargetKind kind, int width, int height);
  void Release();
  // Clears colour to transparent, depth to 0 (a depth test rejects
  // everything) and stencil to 0. Needs the neutral state (ResetGLState).
  void Clear() const;
  // Reads the colour, top row first. Needs the neutral state.
  host::Pixels Read() const;

  unsigned framebuffer = 0;
  int width = 0;
  int height = 0;

 private:
  TargetKind kind = TargetKind::kColour;
  unsigned colour = 0, depthStencil = 0;
  unsigned resolveFramebuffer = 0, resolveColour = 0;
};

// One piece of hostile state.
struct HostileState {
  std::string name;
  TargetKind target;
  void (*apply)(const HostileState&);
  // Objects some pieces need (a pixel-unpack buffer, a sampler).
  static unsigned unpackBuffer;
  static unsigned sampler;
};

// Test names and messages show the piece's name.
inline void PrintTo(const HostileState& state, std::ostream* out) { *out << state.name; }

// Every piece, and as the last entry all of them at once.
std::vector<HostileState> AllHostileStates();

// Creates the buffer and sampler the pieces bind; with a context current.
bool CreateHostileObjects();
void ReleaseHostileObjects();

// Puts every piece of state the pieces touch back to OpenGL's defaults.
void ResetGLState();

// Binds the target with its whole size as viewport, then applies `state`.
void ApplyHostState(const HostTarget& target, const HostileState* state);

}  // namespace reliability
