// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/DigitalReadout.h"

namespace tickora {

juce::String PadNumber(int32_t value, int width) {
  juce::String text(value);
  while (text.length() < width) text = "0" + text;
  return text;
}

namespace {

// Writes `value` as PadNumber does (its decimal form, sign included, zeros
// in front up to `width` characters), keeping at most `keep` characters.
char* AppendPadded(char* out, int32_t value, int width, int keep) {
  char digits[12];
  int n = 0;
  int64_t magnitude = value < 0 ? -static_cast<int64_t>(value) : value;
  do {
    digits[n++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude > 0);
  if (value < 0) digits[n++] = '-';
  for (int i = n; i < width && keep > 0; ++i, --keep) *out++ = '0';
  while (n > 0 && keep > 0) {
    *out++ = digits[--n];
    --keep;
  }
  return out;
}

}  // namespace

// Written into a fixed buffer and made a String once: each frame builds its
// text, and concatenating Strings allocates at every step.
juce::String BuildDisplayString(const ClockFields& fields, bool showSeconds, bool showMillis) {
  char text[4 * 13];
  char* end = AppendPadded(text, fields.hours, 2, 12);
  *end++ = ':';
  end = AppendPadded(end, fields.minutes, 2, 12);
  if (showSeconds) {
    *end++ = ':';
    end = AppendPadded(end, fields.seconds, 2, 12);
  }
  // Hundredths are truncated, never rounded: 999 ms reads 99.
  if (showMillis) {
    *end++ = ':';
    end = AppendPadded(end, fields.milliseconds, 3, 2);
  }
  return juce::String(text, static_cast<size_t>(end - text));
}

ColonAnimation ColonAnimationOf(float value) {
  // Only the option's own elements animate: a value between them (2.5 from
  // a host's slider) or outside them shows the separators plainly.
  if (value == 1.0f) return ColonAnimation::Blink;
  if (value == 2.0f) return ColonAnimation::Fade;
  if (value == 3.0f) return ColonAnimation::Hide;
  return ColonAnimation::Show;
}

float GlyphPitch(int characterCount) {
  return 2.0f / static_cast<float>(characterCount + 1);
}

std::vector<GlyphPass> LayoutReadout(const juce::String& text, const ReadoutStyle& style,
                                     int64_t wallMillis) {
  // The glyph of each character, read in one walk of the UTF-8 text.
  constexpr int kLongest = 32;
  int glyphs[kLongest];
  int n = 0;
  for (juce::CharPointer_UTF8 p = text.getCharPointer(); !p.isEmpty() && n < kLongest; ++n)
    glyphs[n] = GlyphIndex(p.getAndAdvance());
  const float e = GlyphPitch(text.length());
  const float c = style.colonWidth;
  // c × e is formed in single precision, halved and subtracted in double.
  const double halfColon = static_cast<double>(c * e) * 0.5;

  // A character without a glyph (the space of "9d 18:25:06") is a gap as
  // narrow as a separator's slot, and nothing is drawn there.
  float f = static_cast<float>(text.length()) * e;
  for (int i = 0; i < n; ++i)
    if (TakesSeparatorSlot(glyphs[i]) || glyphs[i] < 0)
      f = static_cast<float>(static_cast<double>(f) - halfColon);

  float x = static_cast<float>(2.0 - static_cast<double>(f) - 1.0);
  const float m = static_cast<float>((static_cast<double>(style.colonLeft) - 0.5) * 0.1);
  const ColonAnimation animation = ColonAnimationOf(style.animation);
  const int32_t seconds = SecondsOf(wallMillis);
  const int32_t millis = MillisecondsOf(wallMillis);

  std::vector<GlyphPass> passes;
  passes.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const int g = glyphs[i];
    if (g < 0) {
      x = static_cast<float>(static_cast<double>(x) - halfColon - halfColon) + e;
      continue;
    }
    GlyphPass pass;
    pass.count = static_cast<float>(g);
    if (!TakesSeparatorSlot(g)) {
      pass.left = x;
      pass.addH = 0.0f;
    } else {
      x = static_cast<float>(static_cast<double>(x) - halfColon);
      pass.narrow = 1.0f;
      pass.left = x - m;
      pass.addH = style.colonHeight;
    }
    if (!FollowsColonAnimation(g)) {
      pass.black = 1.0f;
    } else {
      switch (animation) {
        case ColonAnimation::Blink:
          pass.black = seconds % 2 == 1 ? 1.0f : 0.0f;
          break;
        case ColonAnimation::Fade:
          pass.black = 1.0f - static_cast<float>(millis) / 1000.0f;
          break;
        case ColonAnimation::Hide:
          pass.black = 0.0f;
          break;
        case ColonAnimation::Show:
          pass.setBlack = false;
          break;
      }
    }
    if (TakesSeparatorSlot(g)) x = static_cast<float>(static_cast<double>(x) - halfColon);
    passes.push_back(pass);
    x = x + e;
  }
  return passes;
}

}  // namespace tickora
