// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/TimeSource.h"

#include <juce_core/juce_core.h>

#include <chrono>

namespace tickora {
namespace {
TimeSourceFn timeSource = nullptr;
TimeSourceFn monotonicSource = nullptr;
}

int64_t CurrentTimeMillis() {
  if (timeSource != nullptr) return timeSource();
  return juce::Time::currentTimeMillis();
}

void SetTimeSource(TimeSourceFn source) { timeSource = source; }

int64_t MonotonicMicros() {
  if (monotonicSource != nullptr) return monotonicSource();
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void SetMonotonicSource(TimeSourceFn source) { monotonicSource = source; }

}  // namespace tickora
