// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/LocalTime.h"

#include <atomic>
#include <ctime>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <mutex>
#endif

namespace tickora {
namespace {

constexpr int64_t kDaySeconds = 86400;
// Instants beyond these (about ±290,000 years) are not converted: the
// platform's calendar and 64-bit seconds both stop being meaningful.
constexpr int64_t kLimitSeconds = int64_t{1} << 43;

int64_t FloorDiv(int64_t value, int64_t divisor) {
  const int64_t q = value / divisor;
  return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? q - 1 : q;
}

// Days since 1970-01-01 of a proleptic Gregorian date (month 1-12).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2 ? 1 : 0;
  const int64_t era = FloorDiv(y, 400);
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

LocalDate CivilFromDays(int64_t days) {
  days += 719468;
  const int64_t era = FloorDiv(days, 146097);
  const int64_t doe = days - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  LocalDate date;
  date.day = static_cast<int32_t>(doy - (153 * mp + 2) / 5 + 1);
  date.month = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
  date.year = static_cast<int32_t>(yoe + era * 400 + (date.month <= 2 ? 1 : 0));
  return date;
}

#ifdef _WIN32
// The system zone's rules for a year. Reading them is a registry look-up
// (some 130 us under Wine) and a frame converts several instants, so each
// year's are kept for a second: a change of zone in the system settings
// shows within a second. Two years, as conversions near New Year ask for both.
bool RulesForYear(WORD year, TIME_ZONE_INFORMATION& rules) {
  struct Kept {
    bool valid = false;
    WORD year = 0;
    ULONGLONG fetchedMs = 0;
    TIME_ZONE_INFORMATION rules{};
  };
  static std::mutex mutex;
  static Kept kept[2];
  const ULONGLONG now = GetTickCount64();
  const std::lock_guard<std::mutex> lock(mutex);
  for (const Kept& k : kept) {
    if (k.valid && k.year == year && now - k.fetchedMs < 1000) {
      rules = k.rules;
      return true;
    }
  }
  Kept& slot = !kept[0].valid || kept[0].fetchedMs <= kept[1].fetchedMs ? kept[0] : kept[1];
  slot.valid = GetTimeZoneInformationForYear(year, nullptr, &slot.rules) != 0;
  slot.year = year;
  slot.fetchedMs = now;
  rules = slot.rules;
  return slot.valid;
}
#endif

bool PlatformLocal(int64_t seconds, std::tm& out) {
  if (seconds < -kLimitSeconds || seconds > kLimitSeconds) return false;
#ifdef _WIN32
  // Windows' own zone, with its rules for the year in question, and not the
  // C runtime's _localtime64_s: that obeys a TZ variable whenever one is set
  // (a shell or a tool may set it; Wine copies the unix one), reads a name
  // such as "Europe/Berlin" as UTC and moves the clock on United States
  // dates whatever the zone. (SystemTimeToTzSpecificLocalTimeEx would do the
  // two calls below in one, but Wine 8 lacks it.)
  constexpr int64_t kSecondsFrom1601 = 11644473600;
  constexpr int64_t kTicksPerSecond = 10000000;  // FILETIME counts 100 ns
  const int64_t since1601 = seconds + kSecondsFrom1601;
  if (since1601 < 0 || since1601 > INT64_MAX / kTicksPerSecond) return false;
  ULARGE_INTEGER ticks;
  ticks.QuadPart = static_cast<ULONGLONG>(since1601 * kTicksPerSecond);
  FILETIME file;
  file.dwLowDateTime = ticks.LowPart;
  file.dwHighDateTime = ticks.HighPart;
  SYSTEMTIME utc;
  SYSTEMTIME local;
  TIME_ZONE_INFORMATION rules;
  if (!FileTimeToSystemTime(&file, &utc) || !RulesForYear(utc.wYear, rules) ||
      !SystemTimeToTzSpecificLocalTime(&rules, &utc, &local))
    return false;
  out.tm_year = local.wYear - 1900;
  out.tm_mon = local.wMonth - 1;
  out.tm_mday = local.wDay;
  out.tm_hour = local.wHour;
  out.tm_min = local.wMinute;
  out.tm_sec = local.wSecond;
  return true;
#else
  const time_t t = static_cast<time_t>(seconds);
  return localtime_r(&t, &out) != nullptr;
#endif
}

// Seconds the local clock is ahead of UTC at `seconds` (negative west of
// Greenwich), worked out from the local fields so that it needs nothing
// platform-specific.
bool OffsetAt(int64_t seconds, int64_t& offset) {
  std::tm local{};
  if (!PlatformLocal(seconds, local)) return false;
  const int64_t asIfUtc =
      DaysFromCivil(int64_t{local.tm_year} + 1900, local.tm_mon + 1, local.tm_mday) * kDaySeconds +
      local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
  offset = asIfUtc - seconds;
  return true;
}

}  // namespace

bool operator==(const LocalDate& a, const LocalDate& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day;
}

LocalDateTime ToLocal(int64_t wallMillis) {
  LocalDateTime result;
  std::tm local{};
  if (!PlatformLocal(FloorDiv(wallMillis, 1000), local)) return result;
  result.date.year = local.tm_year + 1900;
  result.date.month = local.tm_mon + 1;
  result.date.day = local.tm_mday;
  result.hour = local.tm_hour;
  result.minute = local.tm_min;
  result.valid = true;
  return result;
}

LocalDate AddDays(const LocalDate& date, int32_t days) {
  return CivilFromDays(DaysFromCivil(date.year, date.month, date.day) + days);
}

bool FromLocal(const LocalDate& date, int32_t hour, int32_t minute, int64_t& wallMillis) {
  return FromLocal(date, hour, minute, 0, wallMillis);
}

int32_t DaysInMonth(int32_t year, int32_t month) {
  if (month < 1 || month > 12) return 0;
  return static_cast<int32_t>(DaysFromCivil(month == 12 ? int64_t{year} + 1 : year,
                                            month == 12 ? 1 : month + 1, 1) -
                              DaysFromCivil(year, month, 1));
}

void FollowZoneChanges(int64_t wallMillis) {
  static std::atomic<int64_t> lastSecond{INT64_MIN};
  const int64_t second = FloorDiv(wallMillis, 1000);
  int64_t seen = lastSecond.load(std::memory_order_relaxed);
  if (seen == second) return;
  if (!lastSecond.compare_exchange_strong(seen, second)) return;
#ifndef _WIN32
  // Windows conversions read the zone's rules themselves, afresh each second.
  tzset();
#endif
}

bool FromLocal(const LocalDate& date, int32_t hour, int32_t minute, int32_t second,
               int64_t& wallMillis) {
  // The clock reading as if the zone were UTC; the instant is that minus
  // the offset in force then. A day either side of it lies beyond any
  // change of offset that can touch this reading, so those two offsets are
  // the only candidates.
  const int64_t reading =
      DaysFromCivil(date.year, date.month, date.day) * kDaySeconds + hour * 3600 + minute * 60 +
      second;
  int64_t before = 0, after = 0;
  if (!OffsetAt(reading - kDaySeconds, before) || !OffsetAt(reading + kDaySeconds, after))
    return false;
  const int64_t early = reading - before;  // the reading under the earlier offset
  const int64_t late = reading - after;    // under the later one
  int64_t check = 0;
  const bool earlyHolds = OffsetAt(early, check) && check == before;
  const bool lateHolds = OffsetAt(late, check) && check == after;
  int64_t seconds = 0;
  if (earlyHolds && lateHolds)
    seconds = early < late ? early : late;  // repeated: the first occurrence
  else if (earlyHolds)
    seconds = early;
  else if (lateHolds)
    seconds = late;
  else
    seconds = early;  // skipped: the earlier offset carries it past the gap
  wallMillis = seconds * 1000;
  return true;
}

}  // namespace tickora
