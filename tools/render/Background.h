// SPDX-License-Identifier: GPL-3.0-or-later
// What a frame is shown over. The plug-in draws over transparent black; a
// PNG keeps that alpha unless a background is asked for, in which case the
// frame is composited over it (straight alpha) and comes out opaque.
#pragma once

#include "host/HeadlessHost.h"

#include <cstdint>
#include <string>

namespace render {

struct Background {
  enum class Kind { None, Colour, Checker };
  Kind kind = Kind::None;
  uint8_t red = 0, green = 0, blue = 0;  // Colour
};

// "none", "checker", "#RRGGBB", "#RGB" or a colour name ("black", "navy"...).
// Throws a usage error naming the text otherwise.
Background ParseBackground(const std::string& text);

// The two greys of the checker board and the side of its squares for a
// frame of that size, shared by the PNG writer and the preview window.
constexpr uint8_t kCheckerLight = 0x9a;
constexpr uint8_t kCheckerDark = 0x6a;
int CheckerCell(int width, int height);

// Composites the frame over the background in place; no-op for None.
void Composite(const Background& background, host::Pixels& frame);

}  // namespace render
