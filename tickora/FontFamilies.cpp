// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/FontFamilies.h"

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
  juce::StringArray families = juce::Font::findAllTypefaceNames();
  families.removeDuplicates(false);
  SortFamilies(families);
  return families;
}

juce::String ResolveFontFamily(const juce::StringArray& families, int index) {
  const juce::String name = families[index];
  if (name.isEmpty()) return juce::Font::getDefaultSansSerifFontName();
  return name;
}

}  // namespace tickora
