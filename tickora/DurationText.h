// SPDX-License-Identifier: GPL-3.0-or-later
// A Timer's "Duration" as typed: "MM:SS" ("05:00", "90:00"), "H:MM:SS"
// ("1:30:00") or a number of minutes ("20", "1.5").
#pragma once

#include <cstdint>
#include <string>

namespace tickora {

// The duration in milliseconds; false for text that names none (the
// read-out then shows dashes). At most 10,000 hours.
bool ParseDuration(const std::string& text, int64_t& millis);

}  // namespace tickora
