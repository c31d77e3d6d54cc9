// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/GLText.h"

#include "host/GLHeaders.h"

namespace host {

std::string GLText(unsigned name) {
  const auto* text = reinterpret_cast<const char*>(glGetString(static_cast<GLenum>(name)));
  return text != nullptr ? text : "";
}

}  // namespace host
