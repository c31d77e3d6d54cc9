// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/TextList.h"

namespace render {

std::string JoinShortened(const std::vector<std::string>& names, size_t maxShown) {
  std::string text;
  const bool shorten = names.size() > maxShown && maxShown >= 2;
  const size_t head = shorten ? maxShown - 1 : names.size();
  for (size_t i = 0; i < head; ++i) text += (i > 0 ? ", " : "") + names[i];
  if (shorten)
    text += ", ..., " + names.back() + " (" + std::to_string(names.size()) + ")";
  return text;
}

}  // namespace render
