// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/TargetText.h"

namespace tickora {
namespace {

// A small cursor over the text; every read checks the end.
struct Cursor {
  const std::string& text;
  size_t at = 0;

  bool Done() const { return at == text.size(); }
  bool Take(char c) {
    if (at < text.size() && text[at] == c) {
      ++at;
      return true;
    }
    return false;
  }
  // Between `least` and `most` decimal digits.
  bool Number(int least, int most, int32_t& value) {
    value = 0;
    int digits = 0;
    while (digits < most && at < text.size() && text[at] >= '0' && text[at] <= '9') {
      value = value * 10 + (text[at] - '0');
      ++at;
      ++digits;
    }
    return digits >= least;
  }
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// HH:MM or HH:MM:SS, in range.
bool ParseTime(Cursor& in, LocalReading& out) {
  if (!in.Number(1, 2, out.hour) || !in.Take(':') || !in.Number(2, 2, out.minute)) return false;
  out.second = 0;
  if (in.Take(':') && !in.Number(2, 2, out.second)) return false;
  return out.hour <= 23 && out.minute <= 59 && out.second <= 59;
}

bool ParseDate(Cursor& in, LocalDate& out) {
  if (!in.Number(4, 4, out.year) || !in.Take('-') || !in.Number(1, 2, out.month) ||
      !in.Take('-') || !in.Number(1, 2, out.day))
    return false;
  return out.month >= 1 && out.month <= 12 && out.day >= 1 &&
         out.day <= DaysInMonth(out.year, out.month);
}

}  // namespace

bool InstantOf(const LocalReading& reading, int64_t& wallMillis) {
  return FromLocal(reading.date, reading.hour, reading.minute, reading.second, wallMillis);
}

TargetText ParseTargetText(const std::string& raw, int64_t now) {
  TargetText result;
  size_t first = 0, last = raw.size();
  while (first < last && IsBlank(raw[first])) ++first;
  while (last > first && IsBlank(raw[last - 1])) --last;
  if (first == last) return result;
  result.state = TargetText::State::kInvalid;
  const std::string text = raw.substr(first, last - first);

  LocalReading reading;
  Cursor in{text};
  // A date has its '-' third to fifth, never a time.
  const bool hasDate = text.find('-') != std::string::npos;
  if (hasDate) {
    if (!ParseDate(in, reading.date)) return result;
    if (!in.Take('T') && !in.Take(' ')) return result;
    while (in.Take(' ')) {
    }
  }
  if (!ParseTime(in, reading) || !in.Done()) return result;

  if (!hasDate) {
    // The next time the clock reads this, counted from now.
    const LocalDateTime today = ToLocal(now);
    if (!today.valid) return result;
    reading.date = today.date;
    int64_t instant = 0;
    if (!InstantOf(reading, instant)) return result;
    if (instant <= now) reading.date = AddDays(today.date, 1);
  }
  int64_t instant = 0;
  if (!InstantOf(reading, instant)) return result;
  result.state = TargetText::State::kValid;
  result.reading = reading;
  return result;
}

}  // namespace tickora
