// SPDX-License-Identifier: GPL-3.0-or-later
// The read-out's glyphs, declared once. A glyph's position in kGlyphs is its
// index and its atlas cell (row-major in a kAtlasColumns-wide grid); what it
// is decides how the layout places it and whether the colon animation
// touches it. The atlas (tickora/GlyphAtlas), the layout
// (tickora/DigitalReadout) and the read-out program all read it from here,
// so a new glyph is one line below.
#pragma once

#include <array>
#include <cstdint>

namespace tickora {

enum class GlyphKind : uint8_t {
  kDigit,      // a digit's full-width box, on the line
  kSeparator,  // the separator's narrow slot, raised by "Colon height"
};

struct GlyphDef {
  char32_t character;
  GlyphKind kind;
  bool followsColonAnimation;  // blinks, fades or hides with "Colon animation"
};

inline constexpr GlyphDef kGlyphs[] = {
    {U'0', GlyphKind::kDigit, false},     {U'1', GlyphKind::kDigit, false},
    {U'2', GlyphKind::kDigit, false},     {U'3', GlyphKind::kDigit, false},
    {U'4', GlyphKind::kDigit, false},     {U'5', GlyphKind::kDigit, false},
    {U'6', GlyphKind::kDigit, false},     {U'7', GlyphKind::kDigit, false},
    {U'8', GlyphKind::kDigit, false},     {U'9', GlyphKind::kDigit, false},
    {U':', GlyphKind::kSeparator, true},  {U'.', GlyphKind::kSeparator, true},
    {U'/', GlyphKind::kSeparator, true},
    // The countdown's sign after its target, dashes for a target that names
    // no moment, the day field of long times.
    {U'+', GlyphKind::kDigit, false},     {U'-', GlyphKind::kDigit, false},
    {U'd', GlyphKind::kDigit, false},
};

inline constexpr int kGlyphCount = static_cast<int>(sizeof(kGlyphs) / sizeof(kGlyphs[0]));

// The atlas is a square grid of square cells, kAtlasColumns on a side; the
// read-out program's cell arithmetic ("w", the 4.0 in its vertex stage)
// assumes this grid, and the pictures depend on it.
inline constexpr int kAtlasColumns = 4;
static_assert(kGlyphCount <= kAtlasColumns * kAtlasColumns, "the glyphs need a larger grid");

// Index of every ASCII character in kGlyphs, -1 when it has none: a lookup
// that costs one load per character and follows the list by itself.
inline constexpr std::array<int8_t, 128> kGlyphOfAscii = [] {
  std::array<int8_t, 128> table{};
  for (int8_t& entry : table) entry = -1;
  for (int i = 0; i < kGlyphCount; ++i)
    if (kGlyphs[i].character < 128) table[kGlyphs[i].character] = static_cast<int8_t>(i);
  return table;
}();

constexpr int GlyphOf(char32_t character) {
  return character < 128 ? kGlyphOfAscii[character] : -1;
}

// A separator-kind glyph takes the narrow slot and the raise.
constexpr bool TakesSeparatorSlot(int glyph) {
  return glyph >= 0 && glyph < kGlyphCount && kGlyphs[glyph].kind == GlyphKind::kSeparator;
}

constexpr bool FollowsColonAnimation(int glyph) {
  return glyph >= 0 && glyph < kGlyphCount && kGlyphs[glyph].followsColonAnimation;
}

}  // namespace tickora
