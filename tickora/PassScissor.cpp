// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/PassScissor.h"

#include <algorithm>
#include <cmath>

using namespace ffgl::gl;

namespace tickora {

PassScissor::PassScissor(uint32_t width, uint32_t height)
    : outputWidth(width), outputHeight(height) {
  glGetIntegerv(GL_VIEWPORT, viewport);
  hostScissor = glIsEnabled(GL_SCISSOR_TEST);
  glGetIntegerv(GL_SCISSOR_BOX, hostBox);
  glEnable(GL_SCISSOR_TEST);
}

PixelRect PassScissor::InViewport(const PixelRect& box) const {
  const int width = std::max(viewport[2], 0), height = std::max(viewport[3], 0);
  if (static_cast<int64_t>(width) == outputWidth && static_cast<int64_t>(height) == outputHeight)
    return box;
  if (outputWidth == 0 || outputHeight == 0) return PixelRect{0, 0, width, height};
  // In doubles, clamped to the viewport before the conversions back to int.
  const double sx = static_cast<double>(width) / outputWidth;
  const double sy = static_cast<double>(height) / outputHeight;
  const double x0 = std::clamp(std::floor(box.x * sx) - 1.0, 0.0, static_cast<double>(width));
  const double y0 = std::clamp(std::floor(box.y * sy) - 1.0, 0.0, static_cast<double>(height));
  const double x1 = std::clamp(std::ceil((static_cast<double>(box.x) + box.width) * sx) + 1.0, x0,
                               static_cast<double>(width));
  const double y1 = std::clamp(std::ceil((static_cast<double>(box.y) + box.height) * sy) + 1.0,
                               y0, static_cast<double>(height));
  return PixelRect{static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0),
                   static_cast<int>(y1 - y0)};
}

bool PassScissor::Limit(const PixelRect* box) {
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

void PassScissor::Restore() {
  glScissor(hostBox[0], hostBox[1], hostBox[2], hostBox[3]);
  if (!hostScissor) glDisable(GL_SCISSOR_TEST);
}

}  // namespace tickora
