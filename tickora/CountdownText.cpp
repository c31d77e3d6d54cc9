// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/CountdownText.h"

#include "tickora/DigitalReadout.h"

namespace tickora {
namespace {

juce::String WithDays(ClockFields fields, const ReadoutFormat& format) {
  juce::String prefix;
  if (format.days && fields.hours >= 24) {
    prefix = juce::String(fields.hours / 24) + "d ";
    fields.hours %= 24;
  }
  return prefix + BuildDisplayString(fields, format.showSeconds, format.showMillis);
}

}  // namespace

ReadoutFormat FormatOf(bool showSeconds, bool showMillis, bool days) {
  return {showSeconds || showMillis, showMillis, days};
}

juce::String CountdownText(const CountdownView& view, const ReadoutFormat& format) {
  const ReadoutUnit unit = SmallestUnitShown(format.showSeconds, format.showMillis);
  switch (view.show) {
    case CountdownView::Show::kTimeLeft:
      return WithDays(TimeLeftFields(view.millis, unit), format);
    case CountdownView::Show::kSince:
      return "+" + WithDays(TimeSinceFields(view.millis, unit), format);
    case CountdownView::Show::kElapsed:
      return WithDays(TimeSinceFields(view.millis, unit), format);
    case CountdownView::Show::kZeros:
      return BuildDisplayString(ClockFields{}, format.showSeconds, format.showMillis);
    case CountdownView::Show::kDashes:
      return BuildDisplayString(ClockFields{}, format.showSeconds, format.showMillis)
          .replaceCharacter('0', '-');
    case CountdownView::Show::kNothing:
    case CountdownView::Show::kEndText:  // not glyphs: the caller draws it as a line
      break;
  }
  return {};
}

}  // namespace tickora
