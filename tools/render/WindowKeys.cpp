// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/WindowKeys.h"

#include "host/TextCompare.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <cctype>

namespace render {

using host::EqualsIgnoringCase;

KeyCommand InterpretKey(int key, int mods) {
  KeyCommand command;
  const bool shift = (mods & GLFW_MOD_SHIFT) != 0;
  if (key == GLFW_KEY_Q || key == GLFW_KEY_ESCAPE) {
    command.action = KeyAction::Quit;
  } else if (key == GLFW_KEY_T || key == GLFW_KEY_SPACE || key == GLFW_KEY_RIGHT) {
    command.action = shift && key == GLFW_KEY_T ? KeyAction::PreviousType : KeyAction::NextType;
  } else if (key == GLFW_KEY_LEFT) {
    command.action = KeyAction::PreviousType;
  } else if (key >= GLFW_KEY_1 && key <= GLFW_KEY_9) {
    command.action = KeyAction::ChooseType;
    command.element = key - GLFW_KEY_1;
  }
  return command;
}

int KeyCodeForName(const std::string& name) {
  if (name.size() == 1) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
    if (c >= 'a' && c <= 'z') return GLFW_KEY_A + (c - 'a');
    if (c >= '0' && c <= '9') return GLFW_KEY_0 + (c - '0');
  }
  if (EqualsIgnoringCase(name, "space")) return GLFW_KEY_SPACE;
  if (EqualsIgnoringCase(name, "escape")) return GLFW_KEY_ESCAPE;
  if (EqualsIgnoringCase(name, "left")) return GLFW_KEY_LEFT;
  if (EqualsIgnoringCase(name, "right")) return GLFW_KEY_RIGHT;
  return -1;
}

int NextElement(const KeyCommand& command, int current, int count) {
  if (count <= 0) return current;
  switch (command.action) {
    case KeyAction::NextType: return ((current + 1) % count + count) % count;
    case KeyAction::PreviousType: return ((current - 1) % count + count) % count;
    case KeyAction::ChooseType: return command.element < count ? command.element : current;
    default: return current;
  }
}

}  // namespace render
