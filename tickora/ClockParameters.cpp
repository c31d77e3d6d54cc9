// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/ClockParameters.h"

namespace tickora {

bool ShownFor(const ParamRow& row, int32_t type) {
  if (row.shownIn == kInEveryType) return true;
  switch (type) {
    case static_cast<int32_t>(DisplayType::kDigital): return (row.shownIn & kInDigital) != 0;
    case static_cast<int32_t>(DisplayType::kClassic): return (row.shownIn & kInClassic) != 0;
    case static_cast<int32_t>(DisplayType::kCountdown): return (row.shownIn & kInCountdown) != 0;
    default: return false;
  }
}

}  // namespace tickora
