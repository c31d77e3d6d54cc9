#include "tickora/TimeModel.h"

#include "framework/FloatToInt.h"

#include <algorithm>
#include <cmath>

namespace tickora {
namespace {

int64_t FloorMod(int64_t value, int64_t divisor) {
  const int64_t r = value % divisor;
  return r < 0 ? r + divisor : r;
}

int64_t FloorDiv(int64_t value, int64_t divisor) {
  return (value - FloorMod(value, divisor)) / divisor;
}

// An option value as the element it names: truncated toward zero, clamped
// into the element range (NaN counts as the first element).
int32_t ElementOf(float value, int32_t count) {
  return std::clamp(TruncateToInt32(value), 0, count - 1);
}

const char* const kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

int32_t SecondsOf(int64_t wallMillis) {
  return static_cast<int32_t>(FloorMod(FloorDiv(wallMillis, 1000), 60));
}

int32_t MillisecondsOf(int64_t wallMillis) {
  return static_cast<int32_t>(FloorMod(wallMillis, 1000));
}

ClockFields DigitalFields(int64_t wallMillis) {
  const juce::Time local(wallMillis);
  ClockFields fields;
  fields.hours = local.getHours();
  fields.minutes = local.getMinutes();
  fields.seconds = SecondsOf(wallMillis);
  fields.milliseconds = MillisecondsOf(wallMillis);
  return fields;
}

ClockFields CountdownFields(int64_t now, float dayOffset, float hour, float minute) {
  const int32_t days = ElementOf(dayOffset, 10);
  const int32_t h = ElementOf(hour, 24);
  const int32_t m = ElementOf(minute, 60);

  const juce::Time targetDay(now + static_cast<int64_t>(days) * 86400000);
  const juce::Time target(targetDay.getYear(), targetDay.getMonth(), targetDay.getDayOfMonth(),
                          h, m, 0, 0, true);
  double remaining = static_cast<double>(target.toMilliseconds() - now) / 1000.0;

  ClockFields fields;
  if (remaining > 0.0) {
    const double hours = std::floor(remaining / 3600.0);
    remaining -= hours * 3600.0;
    const double minutes = std::floor(remaining / 60.0);
    remaining -= minutes * 60.0;
    const double seconds = std::floor(remaining);
    remaining -= seconds;
    fields.hours = TruncateToInt32(hours);
    fields.minutes = TruncateToInt32(minutes);
    fields.seconds = TruncateToInt32(seconds);
    fields.milliseconds = TruncateToInt32(remaining * 1000.0);
  }
  return fields;
}

ClockFields ClassicFields(int64_t wallMillis) {
  const juce::Time local(wallMillis);
  ClockFields fields;
  const int hours = local.getHours();
  fields.hours = hours % 12 == 0 ? 12 : hours % 12;
  fields.minutes = local.getMinutes();
  fields.seconds = SecondsOf(wallMillis);
  fields.milliseconds = MillisecondsOf(wallMillis);
  return fields;
}

HandTurns HandTurnsOf(const ClockFields& classic, bool smooth) {
  HandTurns turns;
  turns.hour = static_cast<float>(classic.hours) / 12.0f;
  turns.minute = static_cast<float>(classic.minutes) / 60.0f;
  turns.second = static_cast<float>(classic.seconds) / 60.0f;
  if (smooth) {
    turns.second = static_cast<float>(static_cast<double>(classic.milliseconds) / 1000.0 / 60.0 +
                                      static_cast<double>(turns.second));
    turns.minute = turns.minute + turns.second / 60.0f;
    turns.hour = turns.hour + turns.minute / 12.0f;
  }
  return turns;
}

juce::String DateLabel(int64_t wallMillis) {
  const juce::Time local(wallMillis);
  const int month = std::clamp(local.getMonth(), 0, 11);
  return juce::String(local.getDayOfMonth()) + " " + kMonthNames[month] + " " +
         juce::String(local.getYear());
}

}  // namespace tickora
