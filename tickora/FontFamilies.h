// SPDX-License-Identifier: GPL-3.0-or-later
// The installed font families, each once, sorted without regard to case.
#pragma once

#include <juce_graphics/juce_graphics.h>

namespace tickora {

juce::StringArray InstalledFontFamilies();

// The family the atlas is drawn in: the chosen entry, or the default sans
// family when the index lies outside the list or names an empty family
// (JUCE would otherwise place the glyphs with placeholder metrics).
juce::String ResolveFontFamily(const juce::StringArray& families, int index);

}  // namespace tickora
