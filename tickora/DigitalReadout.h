// SPDX-License-Identifier: GPL-3.0-or-later
// The digital read-out: its text, and where and how each of its characters
// is drawn. Pure computation, kept apart from GL so that it can be checked
// number by number.
#pragma once

#include "tickora/GlyphSet.h"
#include "tickora/TimeModel.h"

#include <juce_core/juce_core.h>

#include <vector>

namespace tickora {

// Position in kGlyphs (tickora/GlyphSet.h), -1 when absent.
inline int GlyphIndex(juce::juce_wchar character) {
  return GlyphOf(static_cast<char32_t>(character));
}

juce::String PadNumber(int32_t value, int width);

// HH:MM, then :SS when showSeconds, then :cc (hundredths) when showMillis.
juce::String BuildDisplayString(const ClockFields& fields, bool showSeconds, bool showMillis);

enum class ColonAnimation { Show = 0, Blink = 1, Fade = 2, Hide = 3 };
// The stored "Colon animation" value: exactly 1, 2 or 3 animate, anything
// else (NaN included) is Show.
ColonAnimation ColonAnimationOf(float value);

struct GlyphPass {
  float count = 0.0f;  // glyph index
  float narrow = 0.0f;  // 1 for a glyph in the separator's narrow slot
  float left = 0.0f;   // horizontal centre, clip coordinates
  float addH = 0.0f;   // vertical offset of a separator
  float black = 1.0f;  // visibility, when setBlack
  bool setBlack = true;  // "Show" separators keep the value the previous glyph set
};

struct ReadoutStyle {
  float colonWidth = 0.46f;
  float colonLeft = 0.55f;
  float colonHeight = 0.05f;
  float animation = 0.0f;
};

// One pass per character of `text`, laid out centred across the output with
// the separators narrower than the digits. `wallMillis` drives the colon
// animation (it follows the wall clock, in Countdown too).
std::vector<GlyphPass> LayoutReadout(const juce::String& text, const ReadoutStyle& style,
                                     int64_t wallMillis);

// The glyph pitch 2 / (n + 1) for a read-out of n characters.
float GlyphPitch(int characterCount);

}  // namespace tickora
