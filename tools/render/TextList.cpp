#include "render/TextList.h"

#include <cctype>

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

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace render
