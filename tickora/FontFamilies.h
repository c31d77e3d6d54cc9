// SPDX-License-Identifier: GPL-3.0-or-later
// The installed font families, each once, sorted without regard to case.
#pragma once

#include <juce_graphics/juce_graphics.h>

#include <functional>

namespace tickora {

juce::StringArray InstalledFontFamilies();

// Sorts family names as the "Font" list has been sorted in the C locale:
// ASCII letters without regard to case, every other character by its code
// point. A saved show stores a position in that list, so the order may not
// follow the host's locale.
void SortFamilies(juce::StringArray& families);

// Whether the typeface, or the family in the style (juce::Font's flags), has
// an outline for each of the ten digits.
bool DrawsDigits(juce::Typeface& typeface);
bool DrawsDigits(const juce::String& family, int styleFlags);

// The family the atlas is drawn in: the chosen entry, or the default sans
// family when the index lies outside the list, names an empty family (JUCE
// would otherwise place the glyphs with placeholder metrics) or a family
// that `drawsDigits` says has no digits (a dingbat family: the read-out
// would be blank).
juce::String ResolveFontFamily(const juce::StringArray& families, int index,
                               const std::function<bool(const juce::String&)>& drawsDigits);

}  // namespace tickora
