// SPDX-License-Identifier: GPL-3.0-or-later
// RGBA8 pixels read back from a framebuffer, top row first: what every host
// here (the headless Linux host, the Windows smoke host, the tools) hands to
// checks and files. Plain data; reading them from GL is FrameTarget's job.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace host {

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;

  const uint8_t* At(int x, int y) const {
    return &rgba[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) *
                 4];
  }
};

}  // namespace host
