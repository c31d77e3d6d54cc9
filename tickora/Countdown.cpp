// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/Countdown.h"

#include "framework/FloatToInt.h"

#include <algorithm>

namespace tickora {
namespace {

// An option value as the element it names: truncated toward zero, clamped
// into the element range (NaN counts as the first element).
int32_t ElementOf(float value, int32_t count) {
  return std::clamp(framework::TruncateToInt32(value), 0, count - 1);
}

int64_t UnitMillis(ReadoutUnit unit) {
  switch (unit) {
    case ReadoutUnit::Hundredths: return 10;
    case ReadoutUnit::Seconds: return 1000;
    case ReadoutUnit::Minutes: break;
  }
  return 60000;
}

}  // namespace

ReadoutUnit SmallestUnitShown(bool showSeconds, bool showMillis) {
  if (showMillis) return ReadoutUnit::Hundredths;
  return showSeconds ? ReadoutUnit::Seconds : ReadoutUnit::Minutes;
}

ClockFields TimeLeftFields(int64_t leftMillis, ReadoutUnit unit) {
  ClockFields fields;
  if (leftMillis <= 0) return fields;
  const int64_t step = UnitMillis(unit);
  // Ten days at most in practice; the cap keeps hours within 32 bits for
  // any instant the platform converts.
  const int64_t left = std::min((leftMillis + step - 1) / step * step, int64_t{1} << 52);
  fields.hours = static_cast<int32_t>(std::min<int64_t>(left / 3600000, INT32_MAX));
  fields.minutes = static_cast<int32_t>(left / 60000 % 60);
  fields.seconds = static_cast<int32_t>(left / 1000 % 60);
  fields.milliseconds = static_cast<int32_t>(left % 1000);
  return fields;
}

bool CountdownTarget(const LocalDate& firstLabelDay, float dateElement, float hour, float minute,
                     int64_t& targetMillis) {
  const LocalDate day = AddDays(firstLabelDay, ElementOf(dateElement, 10));
  return FromLocal(day, ElementOf(hour, 24), ElementOf(minute, 60), targetMillis);
}

ClockFields CountdownFields(int64_t now, const LocalDate& firstLabelDay, float dateElement,
                            float hour, float minute, ReadoutUnit unit) {
  int64_t target = 0;
  if (!CountdownTarget(firstLabelDay, dateElement, hour, minute, target)) return ClockFields{};
  return TimeLeftFields(target - now, unit);
}

}  // namespace tickora
