// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/TimeModel.h"

#include "tickora/LocalTime.h"

namespace tickora {
namespace {

int64_t FloorMod(int64_t value, int64_t divisor) {
  const int64_t r = value % divisor;
  return r < 0 ? r + divisor : r;
}

int64_t FloorDiv(int64_t value, int64_t divisor) {
  return (value - FloorMod(value, divisor)) / divisor;
}

}  // namespace

int32_t SecondsOf(int64_t wallMillis) {
  return static_cast<int32_t>(FloorMod(FloorDiv(wallMillis, 1000), 60));
}

int32_t MillisecondsOf(int64_t wallMillis) {
  return static_cast<int32_t>(FloorMod(wallMillis, 1000));
}

ClockFields DigitalFields(int64_t wallMillis) {
  const LocalDateTime local = ToLocal(wallMillis);
  ClockFields fields;
  fields.hours = local.hour;
  fields.minutes = local.minute;
  fields.seconds = SecondsOf(wallMillis);
  fields.milliseconds = MillisecondsOf(wallMillis);
  return fields;
}

ClockFields ClassicFields(int64_t wallMillis) {
  const LocalDateTime local = ToLocal(wallMillis);
  ClockFields fields;
  fields.hours = local.hour % 12 == 0 ? 12 : local.hour % 12;
  fields.minutes = local.minute;
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

}  // namespace tickora
