// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/Countdown.h"

#include "framework/FloatToInt.h"

#include <algorithm>
#include <iterator>

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

ClockFields FieldsOf(int64_t millis) {
  ClockFields fields;
  // The cap keeps hours within 32 bits for any instant the platform converts.
  const int64_t capped = std::min(millis, int64_t{1} << 52);
  fields.hours = static_cast<int32_t>(std::min<int64_t>(capped / 3600000, INT32_MAX));
  fields.minutes = static_cast<int32_t>(capped / 60000 % 60);
  fields.seconds = static_cast<int32_t>(capped / 1000 % 60);
  fields.milliseconds = static_cast<int32_t>(capped % 1000);
  return fields;
}

}  // namespace

ClockFields TimeSinceFields(int64_t sinceMillis, ReadoutUnit unit) {
  if (sinceMillis <= 0) return ClockFields{};
  const int64_t step = UnitMillis(unit);
  return FieldsOf(sinceMillis / step * step);
}

AtZero AtZeroOf(float value) {
  if (value == 1.0f) return AtZero::kCountUp;
  if (value == 2.0f) return AtZero::kFlash;
  if (value == 3.0f) return AtZero::kHide;
  if (value == 4.0f) return AtZero::kText;
  return AtZero::kHold;
}

int64_t WarnMillisOf(float value) {
  static constexpr int64_t kThresholds[] = {0, 10000, 30000, 60000, 120000, 300000, 600000};
  const int32_t element = framework::TruncateToInt32(value);
  if (element < 0 || element >= static_cast<int32_t>(std::size(kThresholds))) return 0;
  return kThresholds[element];
}

CountdownView CountdownProgress::At(int64_t now, int64_t target, AtZero atZero,
                                    int64_t warnMillis, int64_t flashClock) {
  CountdownView view;
  if (now >= target) finished = true;
  if (!finished) {
    view.show = CountdownView::Show::kTimeLeft;
    view.millis = target - now;
    view.warning = warnMillis > 0 && view.millis <= warnMillis;
    return view;
  }
  // After a backward step the time since is below zero: the target is
  // still behind us as far as the read-out is concerned.
  const int64_t since = std::max<int64_t>(now - target, 0);
  switch (atZero) {
    case AtZero::kCountUp:
      view.show = CountdownView::Show::kSince;
      view.millis = since;
      break;
    case AtZero::kFlash:
      view.show = (flashClock >= 0 ? flashClock : since) % 1000 < 500
                      ? CountdownView::Show::kZeros
                      : CountdownView::Show::kNothing;
      break;
    case AtZero::kText:
      view.show = CountdownView::Show::kEndText;
      break;
    case AtZero::kHide:
      view.show = CountdownView::Show::kNothing;
      break;
    case AtZero::kHold:
      view.show = CountdownView::Show::kZeros;
      break;
  }
  return view;
}

ReadoutUnit SmallestUnitShown(bool showSeconds, bool showMillis) {
  if (showMillis) return ReadoutUnit::Hundredths;
  return showSeconds ? ReadoutUnit::Seconds : ReadoutUnit::Minutes;
}

ClockFields TimeLeftFields(int64_t leftMillis, ReadoutUnit unit) {
  ClockFields fields;
  if (leftMillis <= 0) return fields;
  const int64_t step = UnitMillis(unit);
  const int64_t capped = std::min(leftMillis, int64_t{1} << 52);
  return FieldsOf((capped + step - 1) / step * step);
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
