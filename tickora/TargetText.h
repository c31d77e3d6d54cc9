// SPDX-License-Identifier: GPL-3.0-or-later
// A countdown target typed as text, as a show file keeps it: a local date
// and time ("2027-01-01 00:00", seconds optional, 'T' allowed between date
// and time) or a time alone ("20:00:00"), which means its next occurrence
// from the moment the text was set. Local readings are kept as readings, so
// that a change of the computer's zone moves the instant with it.
#pragma once

#include "tickora/LocalTime.h"

#include <cstdint>
#include <string>

namespace tickora {

struct LocalReading {
  LocalDate date;
  int32_t hour = 0, minute = 0, second = 0;
};

struct TargetText {
  enum class State {
    kEmpty,    // no text: "Date", "Hour" and "Minute" decide
    kInvalid,  // text that names no moment: the read-out shows dashes
    kValid,
  };
  State state = State::kEmpty;
  LocalReading reading;
};

// Parses the host's bytes (any bytes: only ASCII digits and separators can
// make a target). A time alone is resolved against `now`.
TargetText ParseTargetText(const std::string& text, int64_t now);

// The instant of a local reading in the zone in force now; false when the
// platform cannot convert around it.
bool InstantOf(const LocalReading& reading, int64_t& wallMillis);

}  // namespace tickora
