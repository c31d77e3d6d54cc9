// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/FontServiceLock.h"

namespace tickora {

std::unique_lock<std::mutex> LockFontService() {
  static std::mutex fontService;
  return std::unique_lock<std::mutex>(fontService);
}

}  // namespace tickora
