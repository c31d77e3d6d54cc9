// SPDX-License-Identifier: GPL-3.0-or-later
#include "ffglex/ScopedUnpackState.h"

using namespace ffgl::gl;

namespace ffglex {
namespace {

struct StoreParameter {
  GLenum name;
  GLint upload;  // the value an upload of a tightly packed image needs
};

constexpr StoreParameter kUpload[ScopedUnpackState::kParameters] = {
    {GL_UNPACK_ALIGNMENT, 1},    {GL_UNPACK_ROW_LENGTH, 0},   {GL_UNPACK_SKIP_ROWS, 0},
    {GL_UNPACK_SKIP_PIXELS, 0},  {GL_UNPACK_IMAGE_HEIGHT, 0}, {GL_UNPACK_SKIP_IMAGES, 0},
    {GL_UNPACK_SWAP_BYTES, 0},
};

}  // namespace

ScopedUnpackState::ScopedUnpackState() {
  for (int i = 0; i < kParameters; ++i) {
    glGetIntegerv(kUpload[i].name, &hostValues[i]);
    if (hostValues[i] != kUpload[i].upload) glPixelStorei(kUpload[i].name, kUpload[i].upload);
  }
  glGetIntegerv(GL_PIXEL_UNPACK_BUFFER_BINDING, &hostUnpackBuffer);
  if (hostUnpackBuffer != 0) glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
}

ScopedUnpackState::~ScopedUnpackState() {
  for (int i = 0; i < kParameters; ++i)
    if (hostValues[i] != kUpload[i].upload) glPixelStorei(kUpload[i].name, hostValues[i]);
  if (hostUnpackBuffer != 0)
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, static_cast<GLuint>(hostUnpackBuffer));
}

}  // namespace ffglex
