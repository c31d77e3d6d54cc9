// SPDX-License-Identifier: GPL-3.0-or-later
// Where the plug-in comes from when --plugin is not given: the Tickora.so
// built next to this executable, wherever the build folder was moved (or,
// when the executable's own path cannot be read, ./Tickora.so).
#pragma once

#include <string>

namespace render {

std::string DefaultPluginPath();

}  // namespace render
