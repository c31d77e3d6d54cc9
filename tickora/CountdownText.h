// SPDX-License-Identifier: GPL-3.0-or-later
// The read-out text of a countdown view: time left (rounded up), time since
// with a leading '+', zeros, dashes in the shape of the format for a target
// that names no moment, or nothing. With "Long times" = "Days", a day field
// ("9d 18:25:06") appears while there is at least one whole day.
#pragma once

#include "tickora/Countdown.h"

#include <juce_core/juce_core.h>

namespace tickora {

struct ReadoutFormat {
  bool showSeconds = true;
  bool showMillis = false;
  bool days = false;  // "Long times" = "Days"
};

// "Show Millisecs" shows seconds too: hundredths right after the minutes
// would read as seconds.
ReadoutFormat FormatOf(bool showSeconds, bool showMillis, bool days);

juce::String CountdownText(const CountdownView& view, const ReadoutFormat& format);

}  // namespace tickora
