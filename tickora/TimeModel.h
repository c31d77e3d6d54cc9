// SPDX-License-Identifier: GPL-3.0-or-later
// Which numbers the time-of-day display types show: the Digital read-out's
// fields and the sample the Classic hands turn from. Local hours and minutes
// come from tickora/LocalTime.h, as the countdown's and the labels' do.
#pragma once

#include <cstdint>

namespace tickora {

struct ClockFields {
  int32_t hours = 0;
  int32_t minutes = 0;
  int32_t seconds = 0;
  int32_t milliseconds = 0;
};

// Seconds and milliseconds straight from the count (every zone has a
// whole-minute offset, so they agree with local time).
int32_t SecondsOf(int64_t wallMillis);
int32_t MillisecondsOf(int64_t wallMillis);

// Hours (0-23) and minutes in local time, seconds and milliseconds.
ClockFields DigitalFields(int64_t wallMillis);

// Hours in 12-hour form (1-12), minutes, seconds and milliseconds.
ClockFields ClassicFields(int64_t wallMillis);

// The Classic hands' angles in turns clockwise from the top: whole steps,
// or with `smooth` each hand carried on by the ones below it.
struct HandTurns {
  float hour = 0.0f, minute = 0.0f, second = 0.0f;
};
HandTurns HandTurnsOf(const ClockFields& classic, bool smooth);

}  // namespace tickora
