// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/FrameSize.h"

#include "render/ToolError.h"

#include <cctype>
#include <cstdlib>

namespace render {
namespace {

// Whole decimal number without sign; -1 when not one or absurdly long.
long ParseSide(const std::string& digits) {
  if (digits.empty() || digits.size() > 7) return -1;
  for (char c : digits)
    if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
  return std::strtol(digits.c_str(), nullptr, 10);
}

}  // namespace

FrameSize ParseFrameSize(const std::string& text) {
  const size_t cross = text.find_first_of("xX");
  const long width = cross == std::string::npos ? -1 : ParseSide(text.substr(0, cross));
  const long height = cross == std::string::npos ? -1 : ParseSide(text.substr(cross + 1));
  if (width < 0 || height < 0)
    throw UsageError("--size '" + text + "' is not WIDTHxHEIGHT (for example 1920x1080)");
  if (width == 0 || height == 0)
    throw UsageError("--size " + text + " has a side of 0 pixels");
  FrameSize size;
  size.width = static_cast<int>(width);
  size.height = static_cast<int>(height);
  return size;
}

std::string ToString(const FrameSize& size) {
  return std::to_string(size.width) + "x" + std::to_string(size.height);
}

}  // namespace render
