// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/DateLabels.h"

#include <algorithm>

namespace tickora {

LocalDate FirstLabelDayOfProcess(int64_t now) {
  static const LocalDate first = ToLocal(now).date;
  return first;
}

juce::String DateLabel(const LocalDate& date) {
  static const char* const kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const int month = std::clamp(date.month, 1, 12) - 1;
  return juce::String(date.day) + " " + kMonthNames[month] + " " + juce::String(date.year);
}

juce::StringArray DateLabels(const LocalDate& first) {
  juce::StringArray labels;
  for (int i = 0; i < kDateLabelCount; ++i) labels.add(DateLabel(AddDays(first, i)));
  return labels;
}

}  // namespace tickora
