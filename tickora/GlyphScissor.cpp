#include "tickora/GlyphScissor.h"

#include <algorithm>
#include <cstdint>

namespace tickora {

GlyphScissor::GlyphScissor() {
  glGetIntegerv(GL_VIEWPORT, viewport);
  hostScissor = glIsEnabled(GL_SCISSOR_TEST);
  glGetIntegerv(GL_SCISSOR_BOX, hostBox);
  glEnable(GL_SCISSOR_TEST);
}

bool GlyphScissor::Limit(const PixelRect* box) {
  if (box == nullptr) {
    const GLint* area = hostScissor ? hostBox : viewport;
    glScissor(area[0], area[1], area[2], area[3]);
    return true;
  }
  // In 64 bits: a host's viewport may lie anywhere in the int range.
  int64_t x0 = static_cast<int64_t>(viewport[0]) + box->x;
  int64_t y0 = static_cast<int64_t>(viewport[1]) + box->y;
  int64_t x1 = x0 + box->width, y1 = y0 + box->height;
  if (hostScissor) {
    x0 = std::max<int64_t>(x0, hostBox[0]);
    y0 = std::max<int64_t>(y0, hostBox[1]);
    x1 = std::min<int64_t>(x1, static_cast<int64_t>(hostBox[0]) + hostBox[2]);
    y1 = std::min<int64_t>(y1, static_cast<int64_t>(hostBox[1]) + hostBox[3]);
  }
  if (x1 <= x0 || y1 <= y0) return false;
  glScissor(static_cast<GLint>(x0), static_cast<GLint>(y0), static_cast<GLsizei>(x1 - x0),
            static_cast<GLsizei>(y1 - y0));
  return true;
}

void GlyphScissor::Restore() {
  glScissor(hostBox[0], hostBox[1], hostBox[2], hostBox[3]);
  if (!hostScissor) glDisable(GL_SCISSOR_TEST);
}

}  // namespace tickora
