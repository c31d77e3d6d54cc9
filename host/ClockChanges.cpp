// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/ClockChanges.h"

#include <cstdio>
#include <cstdlib>
#include <set>

#ifdef _WIN32
#include <windows.h>
#endif

namespace host {

// Instants are whole UTC seconds (date -u -d '2027-03-28 01:00' +%s). Berlin
// is UTC+1, UTC+2 from 01:00 UTC on 28 March to 01:00 UTC on 31 October
// 2027; New York UTC-5, UTC-4 from 07:00 UTC on 14 March to 06:00 UTC on
// 7 November: the weeks between the two pairs of dates are where rules
// taken from the wrong country show.
const std::vector<ClockChange>& ClockChanges() {
  static const std::vector<ClockChange> table = {
      {"Europe/Berlin", "last second of 2026", 1798757999, "23:59:59"},
      {"Europe/Berlin", "first second of 2027", 1798758000, "00:00:00"},
      {"Europe/Berlin", "after New York's change, before Berlin's", 1805544000, "13:00:00"},
      {"Europe/Berlin", "last CET second before spring", 1806195599, "01:59:59"},
      {"Europe/Berlin", "first CEST second", 1806195600, "03:00:00"},
      {"Europe/Berlin", "last CEST second", 1824944399, "02:59:59"},
      {"Europe/Berlin", "first CET second after autumn", 1824944400, "02:00:00"},
      {"America/New_York", "last second of 2026", 1798779599, "23:59:59"},
      {"America/New_York", "first second of 2027", 1798779600, "00:00:00"},
      {"America/New_York", "last EST second before spring", 1805007599, "01:59:59"},
      {"America/New_York", "first EDT second", 1805007600, "03:00:00"},
      {"America/New_York", "while Berlin is still on CET", 1806195600, "21:00:00"},
      {"America/New_York", "while Berlin is back on CET", 1824944400, "21:00:00"},
      {"America/New_York", "last EDT second", 1825567199, "01:59:59"},
      {"America/New_York", "first EST second after autumn", 1825567200, "01:00:00"},
  };
  return table;
}

std::vector<std::string> ClockChangeZones() {
  std::vector<std::string> zones;
  for (const ClockChange& change : ClockChanges())
    if (zones.empty() || zones.back() != change.zone) zones.push_back(change.zone);
  return zones;
}

// Minutes and seconds are the same in UTC as in the zones of the table, all
// of whose offsets are whole hours.
std::vector<ReferenceFrame> ReferenceFrames() {
  constexpr int64_t kDay = 1799712000;  // 2027-01-12 00:00 UTC
  std::set<int> minuteSeconds;
  for (const ClockChange& change : ClockChanges())
    minuteSeconds.insert(static_cast<int>(change.utcSeconds % 3600));
  std::vector<ReferenceFrame> frames;
  for (int ms : minuteSeconds) {
    for (int hour = 0; hour < 24; ++hour) {
      char text[32];
      std::snprintf(text, sizeof text, "%02d:%02d:%02d", hour, ms / 60, ms % 60);
      frames.push_back({text, kDay + hour * 3600 + ms});
    }
  }
  return frames;
}

uint64_t FrameHash(const Pixels& pixels) {
  uint64_t hash = 14695981039346656037ull;
  for (uint8_t byte : pixels.rgba) hash = (hash ^ byte) * 1099511628211ull;
  return hash;
}

bool SetFrozenClock(int64_t utcSeconds) {
  const char* variable = std::getenv("FAKETIME_TIMESTAMP_FILE");
  if (variable == nullptr || *variable == '\0') return false;
#ifdef _WIN32
  const std::string file = std::string("Z:") + variable;
#else
  const std::string file = variable;
#endif
  // Written beside the file and moved over it: libfaketime reads the file at
  // every clock read, from any thread, and must never see half a line.
  const std::string next = file + ".next";
  FILE* out = std::fopen(next.c_str(), "w");
  if (out == nullptr) return false;
  const bool written = std::fprintf(out, "%lld\n", static_cast<long long>(utcSeconds)) > 0;
  if (std::fclose(out) != 0 || !written) return false;
#ifdef _WIN32
  return MoveFileExA(next.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
  return std::rename(next.c_str(), file.c_str()) == 0;
#endif
}

std::string ReadBack(const ReadoutsByHash& references, const Pixels& frame) {
  const auto found = references.find(FrameHash(frame));
  return found != references.end() ? found->second : "no reference frame";
}

}  // namespace host
