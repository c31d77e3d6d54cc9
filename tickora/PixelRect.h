// A rectangle of whole pixels, x and y from the bottom-left corner as OpenGL
// counts them.
#pragma once

namespace tickora {

struct PixelRect {
  int x = 0, y = 0, width = 0, height = 0;
};

}  // namespace tickora
