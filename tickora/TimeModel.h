// Which numbers each display type shows: the time of day, the time left to
// the countdown target, the sample the Classic hands turn from, and the
// labels of the "Date" option.
#pragma once

#include <juce_core/juce_core.h>

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

// Time left from `now` to the local time hour:minute on the day `dayOffset`
// days of 86 400 s after `now`; all zero once the target is reached. The
// values are host floats: NaN and out-of-range values are brought back into
// the option's elements (Date 0-9, Hour 0-23, Minute 0-59).
ClockFields CountdownFields(int64_t now, float dayOffset, float hour, float minute);

// Hours in 12-hour form (1-12), minutes, seconds and milliseconds.
ClockFields ClassicFields(int64_t wallMillis);

// The Classic hands' angles in turns clockwise from the top: whole steps,
// or with `smooth` each hand carried on by the ones below it.
struct HandTurns {
  float hour = 0.0f, minute = 0.0f, second = 0.0f;
};
HandTurns HandTurnsOf(const ClockFields& classic, bool smooth);

// "8 Dec 2026": the local date of the given moment.
juce::String DateLabel(int64_t wallMillis);

}  // namespace tickora
