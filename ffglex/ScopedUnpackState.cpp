// SPDX-License-Identifier: GPL-3.0-or-later
#include "ffglex/ScopedUnpackState.h"

#include "ffglex/ContextVersion.h"

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

struct TransferParameter {
  GLenum name;
  GLfloat upload;
};

constexpr TransferParameter kTransfer[ScopedUnpackState::kTransferParameters] = {
    {GL_MAP_COLOR, 0.0f},   {GL_RED_SCALE, 1.0f},  {GL_RED_BIAS, 0.0f},
    {GL_GREEN_SCALE, 1.0f}, {GL_GREEN_BIAS, 0.0f}, {GL_BLUE_SCALE, 1.0f},
    {GL_BLUE_BIAS, 0.0f},   {GL_ALPHA_SCALE, 1.0f}, {GL_ALPHA_BIAS, 0.0f},
};

}  // namespace

void ScopedUnpackState::NeutraliseTransfer() {
  if (ffgl::glEntryPoints.GetFloatv == nullptr || ffgl::glEntryPoints.PixelTransferf == nullptr) return;
  if (!QueryContextVersion().compatibility) return;
  transferQueried = true;
  for (int i = 0; i < kTransferParameters; ++i) {
    glGetFloatv(kTransfer[i].name, &hostTransfer[i]);
    if (hostTransfer[i] != kTransfer[i].upload) glPixelTransferf(kTransfer[i].name, kTransfer[i].upload);
  }
}

ScopedUnpackState::ScopedUnpackState() {
  for (int i = 0; i < kParameters; ++i) {
    glGetIntegerv(kUpload[i].name, &hostValues[i]);
    if (hostValues[i] != kUpload[i].upload) glPixelStorei(kUpload[i].name, kUpload[i].upload);
  }
  glGetIntegerv(GL_PIXEL_UNPACK_BUFFER_BINDING, &hostUnpackBuffer);
  if (hostUnpackBuffer != 0) glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
  NeutraliseTransfer();
}

ScopedUnpackState::~ScopedUnpackState() {
  for (int i = 0; i < kParameters; ++i)
    if (hostValues[i] != kUpload[i].upload) glPixelStorei(kUpload[i].name, hostValues[i]);
  if (hostUnpackBuffer != 0)
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, static_cast<GLuint>(hostUnpackBuffer));
  for (int i = 0; transferQueried && i < kTransferParameters; ++i)
    if (hostTransfer[i] != kTransfer[i].upload) glPixelTransferf(kTransfer[i].name, hostTransfer[i]);
}

}  // namespace ffglex
