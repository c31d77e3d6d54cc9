// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/Background.h"

#include "host/TextCompare.h"
#include "render/ToolError.h"

#include <juce_graphics/juce_graphics.h>

#include <algorithm>
#include <cctype>

namespace render {
namespace {

bool IsHex(const std::string& digits) {
  return !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
  });
}

uint8_t Blend(uint8_t over, uint8_t under, uint8_t alpha) {
  const unsigned value = (over * alpha + under * (255u - alpha) + 127u) / 255u;
  return static_cast<uint8_t>(value);
}

}  // namespace

Background ParseBackground(const std::string& text) {
  Background background;
  if (host::EqualsIgnoringCase(text, "none")) return background;
  if (host::EqualsIgnoringCase(text, "checker")) {
    background.kind = Background::Kind::Checker;
    return background;
  }
  background.kind = Background::Kind::Colour;
  const std::string hex = !text.empty() && text[0] == '#' ? text.substr(1) : text;
  if (IsHex(hex) && (hex.size() == 6 || hex.size() == 3)) {
    const std::string full =
        hex.size() == 6 ? hex : std::string{hex[0], hex[0], hex[1], hex[1], hex[2], hex[2]};
    const unsigned long rgb = std::stoul(full, nullptr, 16);
    background.red = static_cast<uint8_t>(rgb >> 16);
    background.green = static_cast<uint8_t>(rgb >> 8);
    background.blue = static_cast<uint8_t>(rgb);
    return background;
  }
  // JUCE knows the CSS colour names; a name it does not know gives the
  // fallback, and two different fallbacks tell a miss from a real match.
  const juce::String name(text);
  const juce::Colour a = juce::Colours::findColourForName(name, juce::Colour(0x01020304u));
  const juce::Colour b = juce::Colours::findColourForName(name, juce::Colour(0x05060708u));
  if (text.empty() || a != b)
    throw UsageError("--background '" + text +
                     "' is not none, checker, #RRGGBB or a colour name");
  background.red = a.getRed();
  background.green = a.getGreen();
  background.blue = a.getBlue();
  return background;
}

int CheckerCell(int width, int height) { return std::max(8, std::min(width, height) / 27); }

void Composite(const Background& background, host::Pixels& frame) {
  if (background.kind == Background::Kind::None) return;
  const int cell = CheckerCell(frame.width, frame.height);
  for (int y = 0; y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) {
      uint8_t* p = &frame.rgba[(static_cast<size_t>(y) * frame.width + x) * 4];
      uint8_t r = background.red, g = background.green, b = background.blue;
      if (background.kind == Background::Kind::Checker)
        r = g = b = ((x / cell + y / cell) % 2 == 0) ? kCheckerLight : kCheckerDark;
      p[0] = Blend(p[0], r, p[3]);
      p[1] = Blend(p[1], g, p[3]);
      p[2] = Blend(p[2], b, p[3]);
      p[3] = 255;
    }
  }
}

}  // namespace render
