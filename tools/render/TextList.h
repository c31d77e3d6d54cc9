// SPDX-License-Identifier: GPL-3.0-or-later
// Lists of names written on one line, shortened when long (a plug-in may
// offer hundreds of font families as option elements).
#pragma once

#include <string>
#include <vector>

namespace render {

// "a, b, c" for up to maxShown names; otherwise the first ones, "...", the
// last one and the count: "a, b, ..., z (120)".
std::string JoinShortened(const std::vector<std::string>& names, size_t maxShown);

}  // namespace render
