// SPDX-License-Identifier: GPL-3.0-or-later
// Local time: the one place where wall-clock instants meet the time zone's
// rules. The Classic hands, the Digital read-out, the "Date" labels and the
// countdown all convert through here, so they agree with each other.
//
// Only one platform call is used, "the local fields of this instant", which
// depends on nothing but the instant and the zone. Local times the clock
// skips or repeats are resolved here from the UTC offsets around them, never
// by the C library's guess from whatever it converted last, so the answer is
// the same for every instance and on every platform.
#pragma once

#include <cstdint>

namespace tickora {

struct LocalDate {
  int32_t year = 1900;
  int32_t month = 1;  // 1-12
  int32_t day = 0;    // 1-31; 0 only when a conversion failed
};

bool operator==(const LocalDate& a, const LocalDate& b);

struct LocalDateTime {
  LocalDate date;
  int32_t hour = 0;
  int32_t minute = 0;
  // False when the platform could not convert the instant; the fields then
  // hold the defaults above (hour 0, minute 0, day 0, year 1900).
  bool valid = false;
};

// The local date and time (to the minute) of a wall-clock instant.
LocalDateTime ToLocal(int64_t wallMillis);

// The date `days` calendar days after `date` (before it when negative).
LocalDate AddDays(const LocalDate& date, int32_t days);

// The instant at which the local clock reads hour:minute:00.000 on `date`.
// A time that the clock skips (put forward) is moved forward by the length
// of the gap; a time that occurs twice (put back) is its first occurrence.
// False when the platform cannot convert instants around it.
bool FromLocal(const LocalDate& date, int32_t hour, int32_t minute, int64_t& wallMillis);
// The same at hour:minute:second.
bool FromLocal(const LocalDate& date, int32_t hour, int32_t minute, int32_t second,
               int64_t& wallMillis);

// Days in a month (1-12) of a proleptic Gregorian year.
int32_t DaysInMonth(int32_t year, int32_t month);

// The C library reads the computer's time zone once and keeps it: a zone
// changed while the host runs would never be followed. Called with the
// frame's time, this has the zone read again at most once a wall-clock
// second (process-wide, whichever instance asks first).
void FollowZoneChanges(int64_t wallMillis);

}  // namespace tickora
