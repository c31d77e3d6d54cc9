// SPDX-License-Identifier: GPL-3.0-or-later
// The "Font" list and the family the read-out is drawn in, on machines
// unlike the ones the tests were written on: another locale, font packages
// whose families lack digits.
#include "host/HeadlessHost.h"
#include "tests/support/FontChoice.h"
#include "tickora/FontFamilies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool SetLocale(const char* locale) {
  if (std::setlocale(LC_ALL, locale) != nullptr) return true;
  ADD_FAILURE() << "no locale " << locale << " (run scripts/install-deps.sh)";
  return false;
}

// The "Font" elements of the plug-in loaded after the host set `locale`, as
// a host does at its start.
std::vector<std::string> FontElementsIn(const char* locale) {
  std::vector<std::string> elements;
  if (!SetLocale(locale)) return elements;
  if (auto plugin = host::PluginLibrary::Load(std::getenv("TICKORA_PLUGIN"))) {
    elements = plugin->Parameter(static_cast<uint32_t>(plugin->FindParameter("Font"))).elementNames;
    plugin->Deinitialise();
  }
  std::setlocale(LC_ALL, "C");
  return elements;
}

}  // namespace

// In Turkish the upper case of 'i' is U+0130, after every ASCII letter: an
// order that asked the locale put "Nimbus" after "Noto", and every saved
// position from there on named another family.
TEST(FontFamilies, OrderIsTheSameInEveryLocale) {
  const std::vector<std::string> inC = FontElementsIn("C");
  EXPECT_NE(std::find(inC.begin(), inC.end(), testing_support::kSansFamily), inC.end());
  EXPECT_EQ(FontElementsIn("tr_TR.UTF-8"), inC);

  // Names that part at an 'i', as none of the packages installed here do.
  const juce::StringArray sorted{"IBM Plex", "Ink", "Liberation Mono", "LIBERATION Sans",
                                 "lido",     "Nimbus", "noto", "Noto Sans"};
  for (const char* locale : {"C", "tr_TR.UTF-8"}) {
    juce::StringArray names;
    for (int i = sorted.size(); --i >= 0;) names.add(sorted[i]);
    if (SetLocale(locale)) tickora::SortFamilies(names);
    EXPECT_EQ(names, sorted) << locale << ": " << names.joinIntoString(", ");
  }
  std::setlocale(LC_ALL, "C");
}

// A family whose digits have no outline (a dingbat family maps them to an
// empty glyph) draws the read-out in the default family, as a position
// outside the list does.
TEST(FontFamilies, FamilyWithoutDigitsGivesWayToTheDefault) {
  juce::Path bar;
  bar.addRectangle(0.1f, -0.7f, 0.4f, 0.7f);
  for (const juce::juce_wchar empty : {juce::juce_wchar{'0'}, juce::juce_wchar{'9'}, juce::juce_wchar{0}}) {
    juce::CustomTypeface typeface;
    for (juce::juce_wchar digit = '0'; digit <= '9'; ++digit)
      typeface.addGlyph(digit, digit == empty ? juce::Path() : bar, 0.6f);
    EXPECT_EQ(tickora::DrawsDigits(typeface), empty == 0) << static_cast<char>(empty);
  }
  for (int style = 0; style < 3; ++style)
    EXPECT_TRUE(tickora::DrawsDigits(testing_support::kSerifFamily, style)) << style;

  const juce::String fallback = juce::Font::getDefaultSansSerifFontName();
  const juce::StringArray families{"Serif", "", "Dingbats", "Sans"};
  const auto drawsDigits = [](const juce::String& family) { return family != "Dingbats"; };
  const std::pair<int, juce::String> cases[] = {{0, "Serif"},  {3, "Sans"},    {1, fallback},
                                                {2, fallback}, {-1, fallback}, {4, fallback}};
  for (const auto& [index, expected] : cases)
    EXPECT_EQ(tickora::ResolveFontFamily(families, index, drawsDigits), expected) << index;
}
