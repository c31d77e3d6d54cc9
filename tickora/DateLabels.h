// SPDX-License-Identifier: GPL-3.0-or-later
// The elements of the "Date" option: ten consecutive calendar days from the
// local date on which the plug-in first made an instance. Hosts list the
// labels of that first instance (they read option elements once), so every
// instance of the process counts to the days those labels name.
#pragma once

#include "tickora/LocalTime.h"

#include <juce_core/juce_core.h>

#include <cstdint>

namespace tickora {

constexpr int kDateLabelCount = 10;

// The local date of `now` at the first call in the process; the same date
// at every later call, whatever `now` is then.
LocalDate FirstLabelDayOfProcess(int64_t now);

// "8 Dec 2026".
juce::String DateLabel(const LocalDate& date);

// Label i names `first` plus i calendar days.
juce::StringArray DateLabels(const LocalDate& first);

}  // namespace tickora
