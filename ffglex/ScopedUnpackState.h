// SPDX-License-Identifier: GPL-3.0-or-later
// The pixel-store state of texture uploads, for the length of a block: no
// pixel-unpack buffer (the pointer then means client memory), tightly packed
// rows of single-byte alignment, nothing skipped, no byte swapping. A host's
// row length larger than the image makes the driver read past its end, so
// every upload runs inside one of these. The host's values come back at the
// end of the block, and only those that had to change are set either way.
// In a compatibility profile the pixel-transfer scales and biases (and
// colour maps) also apply to an upload, so they are neutralised too.
#pragma once

#include "ffgl/GLEntryPoints.h"

namespace ffglex {

class ScopedUnpackState {
 public:
  ScopedUnpackState();
  ~ScopedUnpackState();
  ScopedUnpackState(const ScopedUnpackState&) = delete;
  ScopedUnpackState& operator=(const ScopedUnpackState&) = delete;

  static constexpr int kParameters = 7;
  static constexpr int kTransferParameters = 9;

 private:
  void NeutraliseTransfer();

  GLint hostValues[kParameters] = {};
  GLint hostUnpackBuffer = 0;
  bool transferQueried = false;
  GLfloat hostTransfer[kTransferParameters] = {};
};

}  // namespace ffglex
