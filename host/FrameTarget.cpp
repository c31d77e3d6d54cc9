// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/FrameTarget.h"

#include "host/FramebufferCalls.h"
#include "host/GLHeaders.h"

#include <algorithm>
#include <cstring>

namespace host {

bool FrameTarget::Resize(int newWidth, int newHeight) {
  const FramebufferCalls* fbo = GetFramebufferCalls();
  if (fbo == nullptr || newWidth <= 0 || newHeight <= 0 || newWidth > MaxFramebufferSize() ||
      newHeight > MaxFramebufferSize())
    return false;
  if (texture == 0) glGenTextures(1, &texture);
  if (framebuffer == 0) fbo->genFramebuffers(1, &framebuffer);
  GLint previousTexture = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &previousTexture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, newWidth, newHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               nullptr);
  // One texel per window pixel: no mipmaps, no filtering across texels.
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previousTexture));
  fbo->bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  fbo->framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
  if (fbo->checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return false;
  width = newWidth;
  height = newHeight;
  glViewport(0, 0, width, height);
  return true;
}

void FrameTarget::Bind() const {
  const FramebufferCalls* fbo = GetFramebufferCalls();
  if (fbo == nullptr) return;
  fbo->bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glViewport(0, 0, width, height);
}

void FrameTarget::Clear(float r, float g, float b, float a) const {
  const FramebufferCalls* fbo = GetFramebufferCalls();
  if (fbo == nullptr) return;
  fbo->bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glClearColor(r, g, b, a);
  glClear(GL_COLOR_BUFFER_BIT);
}

Pixels FrameTarget::ReadPixels() const { return ReadFramebufferPixels(framebuffer, width, height); }

void FrameTarget::Release() {
  const FramebufferCalls* fbo = GetFramebufferCalls();
  if (framebuffer != 0 && fbo != nullptr) fbo->deleteFramebuffers(1, &framebuffer);
  if (texture != 0) glDeleteTextures(1, &texture);
  framebuffer = 0;
  texture = 0;
  width = 0;
  height = 0;
}

Pixels ReadFramebufferPixels(unsigned framebuffer, int width, int height) {
  Pixels pixels;
  const FramebufferCalls* fbo = GetFramebufferCalls();
  if (fbo == nullptr || width <= 0 || height <= 0) return pixels;
  pixels.width = width;
  pixels.height = height;
  const size_t row = static_cast<size_t>(width) * 4;
  pixels.rgba.resize(row * static_cast<size_t>(height));
  std::vector<uint8_t> bottomUp(pixels.rgba.size());
  GLint previousFramebuffer = 0, previousAlignment = 4, previousReadBuffer = GL_BACK;
  glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previousFramebuffer);
  glGetIntegerv(GL_PACK_ALIGNMENT, &previousAlignment);
  fbo->bindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
  glGetIntegerv(GL_READ_BUFFER, &previousReadBuffer);
  glReadBuffer(framebuffer == 0 ? GL_BACK : GL_COLOR_ATTACHMENT0);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
  glPixelStorei(GL_PACK_ALIGNMENT, previousAlignment);
  glReadBuffer(static_cast<GLenum>(previousReadBuffer));
  fbo->bindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previousFramebuffer));
  for (int y = 0; y < height; ++y)
    std::memcpy(&pixels.rgba[static_cast<size_t>(y) * row],
                &bottomUp[static_cast<size_t>(height - 1 - y) * row], row);
  return pixels;
}

int MaxFramebufferSize() {
  GLint renderbuffer = 0, texture = 0;
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
  GLint dims[2] = {0, 0};
  glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
  return std::min({renderbuffer, texture, dims[0], dims[1]});
}

}  // namespace host
