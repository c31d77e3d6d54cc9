// SPDX-License-Identifier: GPL-3.0-or-later
// Where the Classic hands can put ink, in pixels of the output: for each
// hand, the rectangle around its rounded box at the angle it is drawn at,
// worked out on the CPU from the values the hands program is given and
// widened by a safety margin. The frame shades only these rectangles with
// the hands program; the rest of the output gets the face's empty colour,
// which is what the hands program writes there. The constants come from
// tickora/ShapeConstants.h, shared with the shaders; keep the formulas in
// step with kHandsVertexBody: the frame identity test fails when a
// rectangle is too small.
#pragma once

#include "tickora/PixelRect.h"

namespace tickora {

struct HandsBoxInputs {
  float width = 0.0f;  // output size in pixels ("resolution")
  float height = 0.0f;
  float hourLength = 0.0f;  // "lengt", "lengt2", "lengt3"
  float minuteLength = 0.0f;
  float secondLength = 0.0f;
  float handWidth = 0.0f;  // "width", "w3", "cornerRound"
  float secondWidth = 0.0f;
  float cornerRound = 0.0f;
  float turns[3] = {0.0f, 0.0f, 0.0f};  // "angle", "angle2", "angle3"
};

// False when the rectangles cannot be worked out (non-finite values, an
// empty output): the hands are then drawn over the whole output.
bool HandsBoxBounds(const HandsBoxInputs& in, int marginPixels, PixelRect hands[3]);

// The same reach in up to two rectangles per hand: a hand turned towards a
// diagonal fills little of its bounding rectangle, and the boxes of its two
// halves (cut across at the middle of its length) leave out much of the
// rest. A hand is cut when that leaves out at least `minSavedPixels`, as
// each rectangle costs a draw. `handOf` gets each rectangle's hand (0 hour,
// 1 minute, 2 second). Returns how many rectangles it wrote, 0 where
// HandsBoxBounds would be false.
constexpr int kMaxHandPieces = 6;
int HandsBoxPieces(const HandsBoxInputs& in, int marginPixels, int minSavedPixels,
                   PixelRect pieces[kMaxHandPieces], int handOf[kMaxHandPieces]);

}  // namespace tickora
