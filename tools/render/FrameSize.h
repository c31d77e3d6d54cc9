// SPDX-License-Identifier: GPL-3.0-or-later
// A frame size written WIDTHxHEIGHT, e.g. 1920x1080.
#pragma once

#include <string>

namespace render {

struct FrameSize {
  int width = 1920;
  int height = 1080;
};

// Throws a usage error naming the text when it is not two positive whole
// numbers joined by 'x' (a zero side is refused here; the GL's upper limit
// is checked once a context exists).
FrameSize ParseFrameSize(const std::string& text);
std::string ToString(const FrameSize& size);

}  // namespace render
