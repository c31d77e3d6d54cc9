// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/ClockMoment.h"

#include "render/ToolError.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace render {
namespace {

constexpr int64_t kNanos = 1000000000;
constexpr int64_t kFakeTimeNudge = 500;  // half a microsecond, see FakeTimeText

// Reads `count` digits at text[at...]; -1 when any is not a digit.
int Digits(const std::string& text, size_t at, size_t count) {
  if (at + count > text.size()) return -1;
  int value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

int DaysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}

// The fraction after "SS": empty, or '.' and 1 to 9 digits. -1 when malformed.
int64_t FractionNanos(const std::string& text, size_t at) {
  if (at == text.size()) return 0;
  const size_t count = text.size() - at - 1;
  if (text[at] != '.' || count < 1 || count > 9) return -1;
  int64_t nanos = Digits(text, at + 1, count);
  if (nanos < 0) return -1;
  for (size_t i = count; i < 9; ++i) nanos *= 10;
  return nanos;
}

}  // namespace

int64_t ParseLocalMoment(const std::string& text) {
  const auto refuse = [&](const std::string& why) {
    return UsageError("--start '" + text + "' " + why);
  };
  const bool shaped = text.size() >= 19 && text[4] == '-' && text[7] == '-' &&
                      (text[10] == ' ' || text[10] == 'T') && text[13] == ':' && text[16] == ':';
  const int year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
  const int hour = Digits(text, 11, 2), minute = Digits(text, 14, 2), second = Digits(text, 17, 2);
  const int64_t fraction = shaped ? FractionNanos(text, 19) : -1;
  if (!shaped || year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0 ||
      fraction < 0)
    throw refuse("is not \"YYYY-MM-DD HH:MM:SS[.fff]\"");
  if (year < 1970 || year > 2200) throw refuse("is outside the years 1970 to 2200");
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
      minute > 59 || second > 59)
    throw refuse("is no date and time of the calendar");

  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;  // the zone's rules decide, as for any wall clock
  const std::time_t seconds = std::mktime(&local);
  if (seconds == static_cast<std::time_t>(-1) || seconds < 0)
    throw refuse("cannot be placed in the local time zone");
  return static_cast<int64_t>(seconds) * kNanos + fraction;
}

int64_t CurrentMoment() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<int64_t>(now.tv_sec) * kNanos + now.tv_nsec;
}

int64_t FrameMoment(int64_t start, int index, double fps) {
  return start + static_cast<int64_t>(std::llround(index * 1e9 / fps));
}

std::string FakeTimeText(int64_t moment) {
  const int64_t nudged = moment + kFakeTimeNudge;
  char text[48];
  std::snprintf(text, sizeof(text), "%lld.%09lld", static_cast<long long>(nudged / kNanos),
                static_cast<long long>(nudged % kNanos));
  return text;
}

bool ParseFakeTimeText(const std::string& text, int64_t* moment) {
  long long seconds = 0, nanos = 0;
  int used = 0;
  if (std::sscanf(text.c_str(), "%lld.%9lld%n", &seconds, &nanos, &used) != 2 ||
      static_cast<size_t>(used) != text.size() || text.size() - text.find('.') != 10 ||
      seconds < 0 || nanos < 0)
    return false;
  *moment = seconds * kNanos + nanos - kFakeTimeNudge;
  return true;
}

std::string LocalText(int64_t moment) {
  const std::time_t seconds = static_cast<std::time_t>(moment / kNanos);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[64];
  std::snprintf(text, sizeof(text), "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                static_cast<int>(moment % kNanos / 1000000));
  return text;
}

}  // namespace render
