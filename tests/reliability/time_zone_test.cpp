// SPDX-License-Identifier: GPL-3.0-or-later
// Digital and Countdown in time zones with whole-hour, quarter-hour and
// half-hour offsets and daylight saving, at frozen instants on both sides of
// each zone's 2026 clock changes. Every expectation is worked out here from
// tz facts (the UTC instant of each change and the offsets on either side),
// never by asking the code under test.
#include "tickora/Countdown.h"
#include "tickora/LocalTime.h"
#include "tickora/Tickora.h"
#include "tickora/TimeModel.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <ostream>
#include <string>
#include <vector>

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
constexpr int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2 ? 1 : 0;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

// Milliseconds since the epoch of a UTC date and time.
constexpr int64_t Utc(int y, unsigned mo, unsigned d, int h, int mi, int s = 0, int ms = 0) {
  return (((DaysFromCivil(y, mo, d) * 24 + h) * 60 + mi) * 60 + s) * 1000 + ms;
}
static_assert(Utc(2026, 12, 8, 10, 9, 59, 500) == 1796724599500, "epoch arithmetic");

constexpr int64_t kHour = 3600000;
constexpr int64_t kMinute = 60000;

// What the read-out shows at `utc`.
struct Reading {
  const char* what;
  int64_t utc;
  int hours, minutes, seconds, millis;
};

// Countdown from `now` to "Date" `date`, "Hour" `hour`, "Minute" `minute`,
// with the labels named at `now`: `left` milliseconds. A local time the
// clock skips moves forward by the gap; one it repeats is the first.
struct Countdown {
  const char* what;
  int64_t now;
  int date, hour, minute;
  int64_t left;
};

struct Zone {
  const char* name;
  const char* tz;
  int64_t referenceUtc;   // an instant at which the zone's offset is known:
  long referenceOffset;   // this many seconds east of UTC
  std::vector<Reading> readings;
  std::vector<Countdown> countdowns;
};

// Test names and messages show the zone, not the bytes of the struct.
void PrintTo(const Zone& zone, std::ostream* out) { *out << zone.tz; }

tickora::ClockFields FieldsOf(int64_t left) {
  tickora::ClockFields f;
  if (left <= 0) return f;
  f.hours = static_cast<int32_t>(left / kHour);
  f.minutes = static_cast<int32_t>(left % kHour / kMinute);
  f.seconds = static_cast<int32_t>(left % kMinute / 1000);
  f.milliseconds = static_cast<int32_t>(left % 1000);
  return f;
}

bool Same(const tickora::ClockFields& a, const tickora::ClockFields& b) {
  return a.hours == b.hours && a.minutes == b.minutes && a.seconds == b.seconds &&
         a.milliseconds == b.milliseconds;
}

std::string Text(const tickora::ClockFields& f) {
  char text[48];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", f.hours, f.minutes, f.seconds,
                f.milliseconds);
  return text;
}

std::vector<Zone> Zones() {
  std::vector<Zone> zones;
  zones.push_back(
      {"UTC", "UTC", Utc(2026, 7, 1, 0, 0), 0,
       {{"before Berlin's spring change", Utc(2026, 3, 29, 0, 59, 59, 999), 0, 59, 59, 999},
        {"at Berlin's spring change", Utc(2026, 3, 29, 1, 0), 1, 0, 0, 0},
        {"last millisecond of 2026", Utc(2026, 12, 31, 23, 59, 59, 999), 23, 59, 59, 999},
        {"first of 2027", Utc(2027, 1, 1, 0, 0), 0, 0, 0, 0}},
       {{"a day without a change", Utc(2026, 3, 28, 12, 0), 1, 12, 0, 24 * kHour},
        {"half a second before", Utc(2026, 12, 8, 10, 9, 59, 500), 0, 10, 10, 500},
        {"target passed", Utc(2026, 12, 8, 10, 9, 59, 500), 0, 10, 9, 0},
        {"target reached", Utc(2026, 12, 8, 10, 10), 0, 10, 10, 0},
        {"nine days ahead", Utc(2026, 12, 8, 0, 5), 9, 23, 59, 239 * kHour + 54 * kMinute}}});
  // CET is UTC+1, CEST UTC+2; the clock goes 02:00 -> 03:00 at 01:00 UTC on
  // 29 March and 03:00 -> 02:00 at 01:00 UTC on 25 October 2026.
  zones.push_back(
      {"Berlin", "Europe/Berlin", Utc(2026, 1, 15, 0, 0), 3600,
       {{"last CET instant", Utc(2026, 3, 29, 0, 59, 59, 999), 1, 59, 59, 999},
        {"first CEST instant", Utc(2026, 3, 29, 1, 0), 3, 0, 0, 0},
        {"last CEST instant", Utc(2026, 10, 25, 0, 59, 59, 999), 2, 59, 59, 999},
        {"first CET instant", Utc(2026, 10, 25, 1, 0), 2, 0, 0, 0},
        {"winter", Utc(2026, 12, 8, 10, 9, 59, 500), 11, 9, 59, 500}},
       {{"noon to noon over the spring change", Utc(2026, 3, 28, 11, 0), 1, 12, 0, 23 * kHour},
        {"noon to noon over the autumn change", Utc(2026, 10, 24, 10, 0), 1, 12, 0, 25 * kHour},
        {"00:30 to 04:00 on the spring night", Utc(2026, 3, 28, 23, 30), 0, 4, 0,
         2 * kHour + 30 * kMinute},
        {"00:00:30.250 to 03:00 on the autumn night", Utc(2026, 10, 24, 22, 0, 30, 250), 0, 3, 0,
         3 * kHour + 59 * kMinute + 29750},
        // 03:30 CEST, 01:30 UTC.
        {"to the skipped 02:30", Utc(2026, 3, 28, 23, 0), 0, 2, 30, 2 * kHour + 30 * kMinute},
        // The first 02:30, in CEST: 00:30 UTC.
        {"to the repeated 02:30", Utc(2026, 10, 24, 22, 0), 0, 2, 30, 2 * kHour + 30 * kMinute},
        // "Date" 1 from 23:30 CET on the 28th is the 29th, the calendar day
        // after, although the clock loses an hour that night.
        {"a calendar day from 23:30", Utc(2026, 3, 28, 22, 30), 1, 12, 0,
         11 * kHour + 30 * kMinute}}});
  // EST is UTC-5, EDT UTC-4; 02:00 -> 03:00 at 07:00 UTC on 8 March and
  // 02:00 -> 01:00 at 06:00 UTC on 1 November 2026.
  zones.push_back(
      {"NewYork", "America/New_York", Utc(2026, 1, 15, 0, 0), -18000,
       {{"last EST instant", Utc(2026, 3, 8, 6, 59, 59, 999), 1, 59, 59, 999},
        {"first EDT instant", Utc(2026, 3, 8, 7, 0), 3, 0, 0, 0},
        {"last EDT instant", Utc(2026, 11, 1, 5, 59, 59, 999), 1, 59, 59, 999},
        {"first EST instant", Utc(2026, 11, 1, 6, 0), 1, 0, 0, 0},
        {"the evening before in UTC terms", Utc(2026, 12, 8, 3, 30), 22, 30, 0, 0}},
       {{"noon to noon over the spring change", Utc(2026, 3, 7, 17, 0), 1, 12, 0, 23 * kHour},
        {"noon to noon over the autumn change", Utc(2026, 10, 31, 16, 0), 1, 12, 0, 25 * kHour},
        {"midnight to 03:00 on the autumn night", Utc(2026, 11, 1, 4, 0), 0, 3, 0, 4 * kHour}}});
  // UTC+5:45 all year.
  zones.push_back(
      {"Kathmandu", "Asia/Kathmandu", Utc(2026, 1, 15, 0, 0), 20700,
       {{"quarter-hour offset", Utc(2026, 12, 8, 10, 9, 59, 500), 15, 54, 59, 500},
        {"last instant of 30 June", Utc(2026, 6, 30, 18, 14, 59, 999), 23, 59, 59, 999},
        {"first instant of 1 July", Utc(2026, 6, 30, 18, 15), 0, 0, 0, 0},
        {"while Berlin changes", Utc(2026, 3, 29, 1, 0), 6, 45, 0, 0}},
       {{"to 23:59 today", Utc(2026, 12, 8, 10, 9, 59, 500), 0, 23, 59,
         8 * kHour + 4 * kMinute + 500},
        {"to 23:59 nine days on", Utc(2026, 12, 8, 10, 9, 59, 500), 9, 23, 59,
         224 * kHour + 4 * kMinute + 500},
        {"23:59 to tomorrow's midnight", Utc(2026, 6, 30, 18, 14), 1, 0, 0, kMinute}}});
  // UTC+10:30 in winter, UTC+11 in summer: the clock goes back half an hour,
  // 02:00 -> 01:30, at 15:00 UTC on 4 April and forward, 02:00 -> 02:30, at
  // 15:30 UTC on 3 October 2026.
  zones.push_back(
      {"LordHowe", "Australia/Lord_Howe", Utc(2026, 7, 1, 0, 0), 37800,
       {{"last +11 instant", Utc(2026, 4, 4, 14, 59, 59, 999), 1, 59, 59, 999},
        {"first +10:30 instant", Utc(2026, 4, 4, 15, 0), 1, 30, 0, 0},
        {"last +10:30 instant", Utc(2026, 10, 3, 15, 29, 59, 999), 1, 59, 59, 999},
        {"first +11 instant", Utc(2026, 10, 3, 15, 30), 2, 30, 0, 0},
        {"summer", Utc(2026, 12, 8, 10, 9, 59, 500), 21, 9, 59, 500}},
       {{"noon to noon over the April change", Utc(2026, 4, 4, 1, 0), 1, 12, 0,
         24 * kHour + 30 * kMinute},
        {"noon to noon over the October change", Utc(2026, 10, 3, 1, 30), 1, 12, 0,
         23 * kHour + 30 * kMinute},
        {"midnight to 03:00 on the October night", Utc(2026, 10, 3, 13, 30), 0, 3, 0,
         2 * kHour + 30 * kMinute},
        // Half an hour skipped: 02:45 +11, 15:45 UTC.
        {"to the skipped 02:15", Utc(2026, 10, 3, 13, 30), 0, 2, 15, 2 * kHour + 15 * kMinute},
        // 01:45 comes twice on the April night; the first is +11, 14:45 UTC.
        {"to the repeated 01:45", Utc(2026, 4, 4, 13, 0), 0, 1, 45, 1 * kHour + 45 * kMinute}}});
  return zones;
}

class TimeZone : public ::testing::TestWithParam<Zone> {
 protected:
  void SetUp() override {
    const char* previous = std::getenv("TZ");
    hadTZ = previous != nullptr;
    if (hadTZ) savedTZ = previous;
    setenv("TZ", GetParam().tz, 1);
    tzset();
    // Without the zone in the tz database the C library silently falls back
    // to UTC, which would make every failure below misleading.
    const time_t reference = static_cast<time_t>(GetParam().referenceUtc / 1000);
    std::tm local{};
    ASSERT_NE(localtime_r(&reference, &local), nullptr);
    ASSERT_EQ(local.tm_gmtoff, GetParam().referenceOffset)
        << GetParam().tz << " is not in this machine's tz database (install tzdata)";
  }
  void TearDown() override {
    if (hadTZ) setenv("TZ", savedTZ.c_str(), 1); else unsetenv("TZ");
    tzset();
  }
  bool hadTZ = false;
  std::string savedTZ;
};

TEST_P(TimeZone, DigitalFieldsOnBothSidesOfEachChange) {
  for (const Reading& r : GetParam().readings) {
    const tickora::ClockFields f = tickora::DigitalFields(r.utc);
    EXPECT_EQ(f.hours, r.hours) << r.what;
    EXPECT_EQ(f.minutes, r.minutes) << r.what;
    EXPECT_EQ(f.seconds, r.seconds) << r.what;
    EXPECT_EQ(f.milliseconds, r.millis) << r.what;
  }
}

// The C library's own conversion of a local time remembers what it was
// last asked; these leave it primed for summer, then for winter.
void PrimeMktime(int isDst) {
  std::tm local{};
  local.tm_year = 126;
  local.tm_mon = isDst != 0 ? 6 : 0;
  local.tm_mday = 15;
  local.tm_hour = 12;
  local.tm_isdst = isDst;
  mktime(&local);
}

TEST_P(TimeZone, CountdownTimeLeftAcrossEachChange) {
  for (int primed : {1, 0, -1}) {
    for (const Countdown& c : GetParam().countdowns) {
      if (primed >= 0) PrimeMktime(primed);
      const tickora::ClockFields f = tickora::CountdownFields(
          c.now, tickora::ToLocal(c.now).date, static_cast<float>(c.date),
          static_cast<float>(c.hour), static_cast<float>(c.minute),
          tickora::ReadoutUnit::Hundredths);
      EXPECT_TRUE(Same(f, FieldsOf(c.left)))
          << c.what << " (mktime primed " << primed << "): got " << Text(f) << ", expected "
          << Text(FieldsOf(c.left));
    }
  }
}

// Round trips through the local clock reading at every quarter hour of a
// year: a reading that exists comes back unchanged, in time order (a
// repeated one as its first occurrence); one the clock skips lands later
// that day, by no more than the gap.
TEST_P(TimeZone, LocalReadingsRoundTripInOrder) {
  const tickora::LocalDate start = tickora::ToLocal(GetParam().referenceUtc).date;
  int64_t previous = INT64_MIN;
  for (int day = 0; day < 370; ++day) {
    const tickora::LocalDate date = tickora::AddDays(start, day);
    for (int quarter = 0; quarter < 96; ++quarter) {
      int64_t instant = 0;
      ASSERT_TRUE(tickora::FromLocal(date, quarter / 4, quarter % 4 * 15, instant));
      const tickora::LocalDateTime back = tickora::ToLocal(instant);
      ASSERT_TRUE(back.valid);
      const bool same = back.date == date && back.hour == quarter / 4 &&
                        back.minute == quarter % 4 * 15;
      if (same) {
        EXPECT_GT(instant, previous) << date.year << "-" << date.month << "-" << date.day << " "
                                     << quarter / 4 << ":" << quarter % 4 * 15;
        previous = instant;
      }
      // A skipped reading lands later on the same day, by at most an hour.
      const int64_t shift = (back.hour * 60 + back.minute) - (quarter / 4 * 60 + quarter % 4 * 15);
      EXPECT_TRUE(same || (back.date == date && shift > 0 && shift <= 60))
          << date.year << "-" << date.month << "-" << date.day << " " << quarter / 4 << ":"
          << quarter % 4 * 15;
    }
  }
}

// The whole way from parameters to the text the glyphs are drawn from, on an
// instance: Digital with seconds and hundredths, Countdown with seconds.
TEST_P(TimeZone, ReadoutTextOfAnInstance) {
  using tickora::DisplayType;
  using tickora::IndexOf;
  using tickora::ParamId;
  tickora::Tickora clock;
  clock.SetFloatParameter(IndexOf(ParamId::kShowSeconds), 1.0f);
  clock.SetFloatParameter(IndexOf(ParamId::kShowMillisecs), 1.0f);
  for (const Reading& r : GetParam().readings) {
    char expected[32];
    std::snprintf(expected, sizeof expected, "%02d:%02d:%02d:%02d", r.hours, r.minutes, r.seconds,
                  r.millis / 10);
    EXPECT_EQ(clock.DisplayText(DisplayType::kDigital, r.utc, tickora::ToLocal(r.utc).date)
                  .toStdString(),
              expected)
        << r.what;
  }
  clock.SetFloatParameter(IndexOf(ParamId::kShowMillisecs), 0.0f);
  for (const Countdown& c : GetParam().countdowns) {
    clock.SetFloatParameter(IndexOf(ParamId::kDate), static_cast<float>(c.date));
    clock.SetFloatParameter(IndexOf(ParamId::kHour), static_cast<float>(c.hour));
    clock.SetFloatParameter(IndexOf(ParamId::kMinute), static_cast<float>(c.minute));
    // Shown in whole seconds, rounded up.
    const tickora::ClockFields f = FieldsOf((c.left + 999) / 1000 * 1000);
    char expected[32];
    std::snprintf(expected, sizeof expected, "%02d:%02d:%02d", f.hours, f.minutes, f.seconds);
    EXPECT_EQ(clock.DisplayText(DisplayType::kCountdown, c.now, tickora::ToLocal(c.now).date)
                  .toStdString(),
              expected)
        << c.what;
  }
}

INSTANTIATE_TEST_SUITE_P(Zones, TimeZone, ::testing::ValuesIn(Zones()),
                         [](const ::testing::TestParamInfo<Zone>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
