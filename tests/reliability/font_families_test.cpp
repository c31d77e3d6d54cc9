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
