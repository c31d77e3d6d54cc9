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

}  // namespace tickora
