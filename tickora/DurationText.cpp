// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/DurationText.h"

#include <vector>

namespace tickora {
namespace {

constexpr int64_t kMostMillis = int64_t{10000} * 3600 * 1000;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Up to `most` digits; false when there are none or more.
bool Digits(const std::string& text, size_t& at, size_t most, int64_t& value) {
  const size_t start = at;
  value = 0;
  while (at < text.size() && IsDigit(text[at]) && at - start < most)
    value = value * 10 + (text[at++] - '0');
  return at > start && (at == text.size() || !IsDigit(text[at]));
}

// "20" or "1.5" minutes, to the millisecond.
bool Minutes(const std::string& text, int64_t& millis) {
  size_t at = 0;
  int64_t whole = 0;
  if (!Digits(text, at, 6, whole)) return false;
  int64_t fraction = 0, scale = 1;
  if (at < text.size() && text[at] == '.') {
    ++at;
    const size_t start = at;
    // Digits beyond the ninth are below a microsecond of a minute: read, not kept.
    for (; at < text.size() && IsDigit(text[at]); ++at) {
      if (scale < 1000000000) {
        fraction = fraction * 10 + (text[at] - '0');
        scale *= 10;
      }
    }
    if (at == start) return false;
  }
  if (at != text.size()) return false;
  millis = whole * 60000 + (fraction * 60000 + scale / 2) / scale;
  return true;
}

}  // namespace

bool ParseDuration(const std::string& raw, int64_t& millis) {
  size_t first = 0, last = raw.size();
  while (first < last && IsBlank(raw[first])) ++first;
  while (last > first && IsBlank(raw[last - 1])) --last;
  const std::string text = raw.substr(first, last - first);
  if (text.empty()) return false;
  if (text.find(':') == std::string::npos) return Minutes(text, millis) && millis <= kMostMillis;

  // Fields separated by ':': MM:SS or H:MM:SS, seconds and (with hours)
  // minutes below 60 and written with two digits.
  std::vector<int64_t> fields;
  size_t at = 0;
  for (;;) {
    const size_t start = at;
    int64_t value = 0;
    if (!Digits(text, at, 5, value)) return false;
    if (!fields.empty() && at - start != 2) return false;
    fields.push_back(value);
    if (at == text.size()) break;
    if (text[at] != ':' || fields.size() == 3) return false;
    ++at;
  }
  if (fields.size() < 2 || fields.back() >= 60) return false;
  if (fields.size() == 3 && fields[1] >= 60) return false;
  const int64_t seconds = fields.size() == 3 ? (fields[0] * 60 + fields[1]) * 60 + fields[2]
                                             : fields[0] * 60 + fields[1];
  millis = seconds * 1000;
  return millis <= kMostMillis;
}

}  // namespace tickora
