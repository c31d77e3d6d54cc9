// SPDX-License-Identifier: GPL-3.0-or-later
// What the Digital read-out must show at instants around clock changes and
// New Year, for zones with daylight saving. One table for every build: the
// Linux tests check Tickora.so against it, the Windows smoke host checks
// Tickora.dll (whose local time comes from the Windows zone) against it.
//
// A host sees the read-out only as pixels, and fonts differ between
// platforms, so it is read back by comparison with frames the same library
// drew in UTC, where the text at an instant is plain: every hour of each
// minute and second the table uses, so that a wrong hour still reads as
// the hour it is.
#pragma once

#include "host/Pixels.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace host {

struct ClockChange {
  const char* zone;  // tz database name
  const char* what;
  int64_t utcSeconds;
  const char* readout;  // Digital, default parameters: HH:MM:SS
};

const std::vector<ClockChange>& ClockChanges();
// The zones of the table, each once, in table order.
std::vector<std::string> ClockChangeZones();

struct ReferenceFrame {
  std::string readout;
  int64_t utcSeconds;  // an instant at which the clock shows it in UTC
};
// 24 hours of every MM:SS in the table, on a day with no change anywhere.
std::vector<ReferenceFrame> ReferenceFrames();

// Identifies a frame's pixels (FNV-1a, 64 bits).
uint64_t FrameHash(const Pixels& pixels);

// Freezes the process's wall clock at that instant through libfaketime:
// writes it to the file named by FAKETIME_TIMESTAMP_FILE (in seconds, as
// FAKETIME_FMT=%s reads it; under Wine the unix path is on drive Z:).
// False when the variable is unset or the file cannot be written.
bool SetFrozenClock(int64_t utcSeconds);

// Reference hash -> read-out; ReadBack gives "no reference frame" for a hash
// it does not hold.
using ReadoutsByHash = std::map<uint64_t, std::string>;
std::string ReadBack(const ReadoutsByHash& references, const Pixels& frame);

}  // namespace host
