// SPDX-License-Identifier: GPL-3.0-or-later
// A glGetString answer as text, for the hosts' reports of which driver and
// GL version they run on. Empty when the context gives none.
#pragma once

#include <string>

namespace host {

// `name` is a glGetString enum such as GL_RENDERER or GL_VERSION.
std::string GLText(unsigned name);

}  // namespace host
