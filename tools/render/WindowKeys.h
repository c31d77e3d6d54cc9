// SPDX-License-Identifier: GPL-3.0-or-later
// What the preview window's keys do, apart from GLFW's event plumbing.
#pragma once

#include <string>

namespace render {

enum class KeyAction { None, Quit, NextType, PreviousType, ChooseType };

struct KeyCommand {
  KeyAction action = KeyAction::None;
  int element = 0;  // ChooseType: the element's position
};

// A GLFW key code and modifier bits, as its key callback reports them.
KeyCommand InterpretKey(int key, int mods);

// The GLFW key code for a name used by --test-keys: a letter, a digit,
// "space", "escape", "left" or "right"; -1 for anything else.
int KeyCodeForName(const std::string& name);

// The new position of an option after a command, wrapping around; the
// current one when the command does not change it.
int NextElement(const KeyCommand& command, int current, int count);

}  // namespace render
