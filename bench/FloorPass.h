// SPDX-License-Identifier: GPL-3.0-or-later
// The floor a frame is compared with: one blended full-screen pass of a
// constant-colour shader, the least any full-screen effect can cost. Talks to
// the driver directly, not through the plug-in's entry-point table, so that
// it stays real while the plug-in's table points at no-op functions.
#pragma once

#include <array>
#include <vector>

namespace bench {

class FloorPass {
 public:
  // With a context current. False when the program cannot be built.
  bool Create();
  void Release();
  // Draws the pass over the bound framebuffer and leaves the GL state as
  // found (program, vertex array, blending).
  void Draw() const;

  // The least a glyph pass can cost while every pass stays full-screen: the
  // read-out's own vertex stage (whose output "box" places the glyph) with a
  // fragment stage that only tests the box and writes a constant. False when
  // the vertex source no longer links with it.
  // The same with one read of an atlas-like texture per pixel (filtered as
  // the glyph atlas is), the least a pass that shows glyphs reads.
  bool CreateGlyphBound(const char* digitalVertexSource, int width, int height);
  // `passes` blended passes of either program.
  void DrawGlyphBound(int passes, bool sampling) const;

  // One floor pass per rectangle (x, y, width, height), each under the
  // scissor: what shading only the given boxes costs.
  void DrawClipped(const std::vector<std::array<int, 4>>& rects) const;

 private:
  unsigned program = 0;
  unsigned boundProgram = 0;
  unsigned samplingProgram = 0;
  unsigned texture = 0;
  unsigned vertexArray = 0;
  unsigned vertexBuffer = 0;
};

// Waits until the driver has finished every command issued so far.
void FinishGL();

// Share of the bound framebuffer's pixels (width x height) with non-zero alpha.
double InkedShare(int width, int height);

}  // namespace bench
