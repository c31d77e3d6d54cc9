// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/TimeSource.h"

#include <juce_core/juce_core.h>

namespace tickora {
namespace {
TimeSourceFn timeSource = nullptr;
}

int64_t CurrentTimeMillis() {
  if (timeSource != nullptr) return timeSource();
  return juce::Time::currentTimeMillis();
}

void SetTimeSource(TimeSourceFn source) { timeSource = source; }

}  // namespace tickora
