// SPDX-License-Identifier: GPL-3.0-or-later
// The countdown: the instant it counts to and the time left as the read-out
// shows it. The target day is the date that the chosen "Date" label names,
// so it does not move when the local date does: a countdown that reached
// zero stays there until "Date", "Hour" or "Minute" changes.
#pragma once

#include "tickora/LocalTime.h"
#include "tickora/TimeModel.h"

#include <cstdint>

namespace tickora {

// The smallest unit the read-out shows: hundredths with "Show Millisecs",
// else seconds with "Show Seconds", else minutes.
enum class ReadoutUnit { Minutes, Seconds, Hundredths };
ReadoutUnit SmallestUnitShown(bool showSeconds, bool showMillis);

// The time left, rounded up to whole units, so that the read-out shows all
// zeros exactly from the target on and never during its last unit: 0.5 s
// left reads 00:00:01 in seconds. Zero or less gives all zeros. Hours are
// not folded into days.
ClockFields TimeLeftFields(int64_t leftMillis, ReadoutUnit unit);

// The instant of hour:minute:00 local time on label `dateElement` (0 names
// `firstLabelDay`). The values are host floats: truncated, NaN and
// out-of-range values brought into the option's elements (Date 0-9, Hour
// 0-23, Minute 0-59). False when the local time cannot be converted.
bool CountdownTarget(const LocalDate& firstLabelDay, float dateElement, float hour, float minute,
                     int64_t& targetMillis);

// TimeLeftFields from `now` to CountdownTarget; all zeros when there is no
// target.
ClockFields CountdownFields(int64_t now, const LocalDate& firstLabelDay, float dateElement,
                            float hour, float minute, ReadoutUnit unit);

// The time since a target, truncated to whole units like a clock: the first
// whole second after the target reads 00:00:00.
ClockFields TimeSinceFields(int64_t sinceMillis, ReadoutUnit unit);

// The stored "At zero" value; anything but the elements 1-4 holds at zero.
enum class AtZero { kHold = 0, kCountUp = 1, kFlash = 2, kHide = 3, kText = 4 };
AtZero AtZeroOf(float value);

// The stored "Warn at" value as milliseconds of time left; 0 is off.
int64_t WarnMillisOf(float value);

struct CountdownView {
  enum class Show {
    kTimeLeft,  // millis: time left
    kSince,     // millis: time since the target ("Count up")
    kElapsed,   // millis: a Stopwatch's running time
    kZeros,
    kNothing,   // "Hide", and the dark half of "Flash"
    kDashes,    // a typed target that names no moment
    kEndText,   // "End text" in place of the read-out ("Text")
  };
  Show show = Show::kZeros;
  int64_t millis = 0;
  bool warning = false;  // time left at or below "Warn at"
};

// What a countdown shows, frame by frame. Once it has reached its target it
// stays finished, even when the wall clock is later put back (a time
// correction must not bring a finished countdown back), until Restart: a
// change of what it counts to or of "At zero".
class CountdownProgress {
 public:
  void Restart() { finished = false; }
  bool Finished() const { return finished; }
  // "Flash" follows the time since the target, or `flashClock` (wall-clock
  // milliseconds) when that is not negative.
  CountdownView At(int64_t now, int64_t target, AtZero atZero, int64_t warnMillis,
                   int64_t flashClock = -1);

 private:
  bool finished = false;
};

}  // namespace tickora
