// SPDX-License-Identifier: GPL-3.0-or-later
// Case-insensitive equality of ASCII names (parameter and element names,
// values a user types). Plain C++ rather than strcasecmp, which the Windows
// host's toolchain does not offer.
#pragma once

#include <cctype>
#include <string>

namespace host {

inline bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace host
