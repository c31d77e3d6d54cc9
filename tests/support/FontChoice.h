// SPDX-License-Identifier: GPL-3.0-or-later
// Tests choose "Font" families by name: each font package installed on a
// machine moves the positions (a dingbat family among the first, say).
#pragma once

#include "host/PlugMainCalls.h"

#include <gtest/gtest.h>

#include <juce_core/juce_core.h>

#include <algorithm>
#include <string>
#include <vector>

namespace testing_support {

// Families from the packages scripts/install-deps.sh installs, each with a
// bold face and every glyph the read-out needs.
inline const char* const kSansFamily = "DejaVu Sans";
inline const char* const kSerifFamily = "Liberation Serif";

// The "Font" value that names `family` among the elements; a test failure
// (and -1) when it is not installed.
inline float FontValue(const std::vector<std::string>& elements, const std::string& family) {
  const auto found = std::find(elements.begin(), elements.end(), family);
  if (found != elements.end()) return static_cast<float>(found - elements.begin());
  ADD_FAILURE() << "no font family " << family << " (run scripts/install-deps.sh)";
  return -1.0f;
}

inline float FontValue(const juce::StringArray& elements, const std::string& family) {
  std::vector<std::string> names;
  for (const juce::String& name : elements) names.push_back(name.toStdString());
  return FontValue(names, family);
}

inline float FontValue(const host::PlugMainCalls& plugin, const std::string& family) {
  const int font = plugin.FindParameter("Font");
  if (font >= 0) return FontValue(plugin.Parameter(static_cast<uint32_t>(font)).elementNames, family);
  ADD_FAILURE() << "no parameter Font";
  return -1.0f;
}

}  // namespace testing_support
