// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/FontFamilies.h"

#include "tickora/FontServiceLock.h"

#include <algorithm>
#include <vector>

namespace tickora {
namespace {

// Only a-z fold: that is what the C locale's towupper did when the order
// was first made, so every list sorted then keeps its positions. A locale
// aware fold would move families in Turkish (where 'i' becomes U+0130,
// after every ASCII letter), and in any locale for names with accents.
juce::juce_wchar FoldAscii(juce::juce_wchar c) {
  return c >= 'a' && c <= 'z' ? static_cast<juce::juce_wchar>(c - ('a' - 'A')) : c;
}

bool FamilyBefore(const juce::String& a, const juce::String& b) {
  auto p = a.getCharPointer();
  auto q = b.getCharPointer();
  for (;;) {
    const juce::juce_wchar x = FoldAscii(p.getAndAdvance());
    const juce::juce_wchar y = FoldAscii(q.getAndAdvance());
    if (x != y) return x < y;
    if (x == 0) return false;
  }
}

}  // namespace

void SortFamilies(juce::StringArray& families) {
  std::vector<juce::String> sorted(families.begin(), families.end());
  std::stable_sort(sorted.begin(), sorted.end(), FamilyBefore);
  families.clear();
  for (const juce::String& name : sorted) families.add(name);
}

juce::StringArray InstalledFontFamilies() {
  juce::StringArray families;
  {
    const auto fontService = LockFontService();
    families = juce::Font::findAllTypefaceNames();
  }
  families.removeDuplicates(false);
  SortFamilies(families);
  return families;
}

// A digit JUCE finds no glyph for comes from its fallback typeface; a digit
// the family maps to an empty glyph (its .notdef) draws nothing at all.
bool DrawsDigits(juce::Typeface& typeface) {
  for (juce::juce_wchar digit = '0'; digit <= '9'; ++digit) {
    juce::Array<int> glyphs;
    juce::Array<float> offsets;
    typeface.getGlyphPositions(juce::String::charToString(digit), glyphs, offsets);
    juce::Path outline;
    if (glyphs.size() != 1 || !typeface.getOutlineForGlyph(glyphs[0], outline) ||
        outline.isEmpty())
      return false;
  }
  return true;
}

bool DrawsDigits(const juce::String& family, int styleFlags) {
  const auto fontService = LockFontService();
  const juce::Typeface::Ptr typeface = juce::Font(family, 12.0f, styleFlags).getTypefacePtr();
  return typeface != nullptr && DrawsDigits(*typeface);
}

juce::String ResolveFontFamily(const juce::StringArray& families, int index,
                               const std::function<bool(const juce::String&)>& drawsDigits) {
  const juce::String name = families[index];
  if (name.isEmpty() || !drawsDigits(name)) {
    const auto fontService = LockFontService();
    return juce::Font::getDefaultSansSerifFontName();
  }
  return name;
}

}  // namespace tickora
