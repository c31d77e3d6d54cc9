// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/FontFamilies.h"

#include "tickora/FontServiceLock.h"

#include <algorithm>
#include <vector>

namespace tickora {

juce::StringArray InstalledFontFamilies() {
  juce::StringArray found;
  {
    const auto fontService = LockFontService();
    found = juce::Font::findAllTypefaceNames();
  }
  found.removeDuplicates(false);
  std::vector<juce::String> sorted(found.begin(), found.end());
  std::stable_sort(sorted.begin(), sorted.end(), [](const juce::String& a, const juce::String& b) {
    return a.toUpperCase().compare(b.toUpperCase()) < 0;
  });
  juce::StringArray families;
  for (const juce::String& name : sorted) families.add(name);
  return families;
}

juce::String ResolveFontFamily(const juce::StringArray& families, int index) {
  const juce::String name = families[index];
  if (name.isEmpty()) {
    const auto fontService = LockFontService();
    return juce::Font::getDefaultSansSerifFontName();
  }
  return name;
}

}  // namespace tickora
