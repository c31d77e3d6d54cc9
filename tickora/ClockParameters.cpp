#include "tickora/ClockParameters.h"

namespace tickora {

bool ShownFor(const ParamSpec& spec, int32_t type) {
  if (spec.shownIn == kInEveryType) return true;
  switch (type) {
    case static_cast<int32_t>(DisplayType::kDigital): return (spec.shownIn & kInDigital) != 0;
    case static_cast<int32_t>(DisplayType::kClassic): return (spec.shownIn & kInClassic) != 0;
    case static_cast<int32_t>(DisplayType::kCountdown): return (spec.shownIn & kInCountdown) != 0;
    default: return false;
  }
}

}  // namespace tickora
