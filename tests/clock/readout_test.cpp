// SPDX-License-Identifier: GPL-3.0-or-later
// The numbers behind the clock: local fields, the countdown, the read-out
// text and the per-glyph layout. Runs with TZ=Europe/Berlin (CET, UTC+1 in
// winter; clocks go forward on 28 March 2027 at 02:00).
#include "tests/clock/ClockFixture.h"
#include "tickora/Countdown.h"
#include "tickora/DateLabels.h"
#include "tickora/DigitalReadout.h"
#include "tickora/TextLine.h"
#include "tickora/TimeModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using clocktest::Utc;
using namespace tickora;

namespace {

void ExpectFields(const ClockFields& f, int h, int m, int s, int ms) {
  EXPECT_EQ(f.hours, h);
  EXPECT_EQ(f.minutes, m);
  EXPECT_EQ(f.seconds, s);
  EXPECT_EQ(f.milliseconds, ms);
}

// Local Berlin time in winter is UTC + 1 hour.
int64_t BerlinWinter(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
  return Utc(y, mo, d, h, mi, s, ms) - 3600000;
}

// The countdown with the labels named at `now`, to the millisecond.
ClockFields CountdownFrom(int64_t now, float date, float hour, float minute) {
  return CountdownFields(now, ToLocal(now).date, date, hour, minute, ReadoutUnit::Hundredths);
}

}  // namespace

TEST(TimeModel, LocalFieldsFollowTheZoneAndTwelveHourForm) {
  ExpectFields(DigitalFields(Utc(2026, 12, 8, 10, 9, 59, 500)), 11, 9, 59, 500);
  ExpectFields(DigitalFields(Utc(2026, 12, 8, 23, 0, 0, 1)), 0, 0, 0, 1);

  // 0 and 12 both read 12; 13-23 read 1-11.
  EXPECT_EQ(ClassicFields(BerlinWinter(2026, 12, 8, 0, 30, 0)).hours, 12);
  EXPECT_EQ(ClassicFields(BerlinWinter(2026, 12, 8, 12, 30, 0)).hours, 12);
  EXPECT_EQ(ClassicFields(BerlinWinter(2026, 12, 8, 13, 5, 0)).hours, 1);
  ExpectFields(ClassicFields(BerlinWinter(2026, 12, 8, 23, 59, 58, 999)), 11, 59, 58, 999);

  // Before 1970 the seconds and milliseconds still count forward in 0-59, 0-999.
  EXPECT_EQ(SecondsOf(-1), 59);
  EXPECT_EQ(MillisecondsOf(-1), 999);
}

TEST(TimeModel, DateLabelsRunAcrossTheYearEnd) {
  const LocalDate start = ToLocal(BerlinWinter(2026, 12, 30, 12, 0, 0)).date;
  const char* expected[10] = {"30 Dec 2026", "31 Dec 2026", "1 Jan 2027", "2 Jan 2027",
                              "3 Jan 2027",  "4 Jan 2027",  "5 Jan 2027", "6 Jan 2027",
                              "7 Jan 2027",  "8 Jan 2027"};
  const juce::StringArray labels = DateLabels(start);
  ASSERT_EQ(labels.size(), 10);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(labels[i], juce::String(expected[i])) << i;
  // Local date, not UTC: 00:30 in Berlin is still the previous day in UTC.
  EXPECT_EQ(DateLabel(ToLocal(BerlinWinter(2027, 1, 1, 0, 30, 0)).date),
            juce::String("1 Jan 2027"));
  // Leap days and month ends are calendar days too.
  EXPECT_EQ(DateLabels({2028, 2, 27})[2], juce::String("29 Feb 2028"));
  EXPECT_EQ(DateLabels({2027, 2, 27})[2], juce::String("1 Mar 2027"));
  EXPECT_EQ(DateLabels({2027, 4, 30})[1], juce::String("1 May 2027"));
}

TEST(TimeModel, CountdownWithinTheMinute) {
  const int64_t now = BerlinWinter(2026, 12, 8, 10, 20, 30, 250);
  ExpectFields(CountdownFrom(now, 0.0f, 10.0f, 21.0f), 0, 0, 29, 750);
  // Option values are truncated: 10.9 is hour 10, 21.99 minute 21.
  ExpectFields(CountdownFrom(now, 0.4f, 10.9f, 21.99f), 0, 0, 29, 750);
  // At the target and after it the countdown rests at zero.
  ExpectFields(CountdownFrom(BerlinWinter(2026, 12, 8, 10, 21, 0), 0.0f, 10.0f, 21.0f), 0, 0, 0, 0);
  ExpectFields(CountdownFrom(BerlinWinter(2026, 12, 8, 10, 21, 0, 1), 0.0f, 10.0f, 21.0f), 0, 0, 0,
               0);
  ExpectFields(CountdownFrom(now, 0.0f, 0.0f, 0.0f), 0, 0, 0, 0);
  // One millisecond before the target still shows the last hundredth.
  ExpectFields(CountdownFrom(BerlinWinter(2026, 12, 8, 10, 20, 59, 999), 0.0f, 10.0f, 21.0f), 0,
               0, 0, 10);
}

TEST(TimeModel, TimeLeftRoundsUpToTheSmallestUnitShown) {
  EXPECT_EQ(SmallestUnitShown(false, false), ReadoutUnit::Minutes);
  EXPECT_EQ(SmallestUnitShown(true, false), ReadoutUnit::Seconds);
  EXPECT_EQ(SmallestUnitShown(true, true), ReadoutUnit::Hundredths);
  EXPECT_EQ(SmallestUnitShown(false, true), ReadoutUnit::Hundredths);
  // 1.0 s, 0.5 s, 0.005 s and nothing left, in each unit.
  ExpectFields(TimeLeftFields(1000, ReadoutUnit::Seconds), 0, 0, 1, 0);
  ExpectFields(TimeLeftFields(500, ReadoutUnit::Seconds), 0, 0, 1, 0);
  ExpectFields(TimeLeftFields(5, ReadoutUnit::Seconds), 0, 0, 1, 0);
  ExpectFields(TimeLeftFields(0, ReadoutUnit::Seconds), 0, 0, 0, 0);
  ExpectFields(TimeLeftFields(1000, ReadoutUnit::Hundredths), 0, 0, 1, 0);
  ExpectFields(TimeLeftFields(500, ReadoutUnit::Hundredths), 0, 0, 0, 500);
  ExpectFields(TimeLeftFields(5, ReadoutUnit::Hundredths), 0, 0, 0, 10);
  ExpectFields(TimeLeftFields(0, ReadoutUnit::Hundredths), 0, 0, 0, 0);
  ExpectFields(TimeLeftFields(1000, ReadoutUnit::Minutes), 0, 1, 0, 0);
  ExpectFields(TimeLeftFields(500, ReadoutUnit::Minutes), 0, 1, 0, 0);
  ExpectFields(TimeLeftFields(0, ReadoutUnit::Minutes), 0, 0, 0, 0);
  ExpectFields(TimeLeftFields(-1, ReadoutUnit::Minutes), 0, 0, 0, 0);
  // A whole unit is not pushed to the next one; the carry reaches the hours.
  ExpectFields(TimeLeftFields(60000, ReadoutUnit::Minutes), 0, 1, 0, 0);
  ExpectFields(TimeLeftFields(3599001, ReadoutUnit::Seconds), 1, 0, 0, 0);
  ExpectFields(TimeLeftFields(3599001, ReadoutUnit::Hundredths), 0, 59, 59, 10);
}

TEST(TimeModel, CountdownHoursAreNotFoldedIntoDays) {
  const int64_t now = BerlinWinter(2026, 12, 8, 0, 0, 30);
  const ClockFields f = CountdownFrom(now, 9.0f, 23.0f, 59.0f);
  ExpectFields(f, 239, 58, 30, 0);
  EXPECT_EQ(BuildDisplayString(f, true, false), juce::String("239:58:30"));
  EXPECT_EQ(BuildDisplayString(f, true, true), juce::String("239:58:30:00"));
}

TEST(TimeModel, CountdownIncludesTheDaylightSavingHour) {
  // Saturday 27 March 2027 12:00 CET to Sunday 12:00 CEST: 23 hours, not 24.
  const int64_t now = BerlinWinter(2027, 3, 27, 12, 0, 0);
  ExpectFields(CountdownFrom(now, 1.0f, 12.0f, 0.0f), 23, 0, 0, 0);
  // Across the change back in October the day has 25 hours.
  const int64_t october = Utc(2027, 10, 30, 10, 0, 0);  // 12:00 CEST
  ExpectFields(CountdownFrom(october, 1.0f, 12.0f, 0.0f), 25, 0, 0, 0);
}

TEST(TimeModel, CountdownBringsHostValuesIntoRange) {
  const int64_t now = BerlinWinter(2026, 12, 8, 10, 0, 0);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  // NaN counts as the first element, huge values as the last.
  ExpectFields(CountdownFrom(now, nan, 11.0f, nan), 1, 0, 0, 0);
  ExpectFields(CountdownFrom(now, 0.0f, inf, 1e30f), 13, 59, 0, 0);
  ExpectFields(CountdownFrom(now, -inf, -5.0f, -1.0f), 0, 0, 0, 0);
  ExpectFields(CountdownFrom(now, 1e9f, 0.0f, 0.0f), 8 * 24 + 14, 0, 0, 0);
}

TEST(Readout, PadNumberKeepsEveryDigit) {
  EXPECT_EQ(PadNumber(0, 2), juce::String("00"));
  EXPECT_EQ(PadNumber(7, 2), juce::String("07"));
  EXPECT_EQ(PadNumber(59, 2), juce::String("59"));
  EXPECT_EQ(PadNumber(123, 2), juce::String("123"));
  EXPECT_EQ(PadNumber(7, 3), juce::String("007"));
}

TEST(Readout, AllFourFormsAndTruncatedHundredths) {
  ClockFields f;
  f.hours = 9;
  f.minutes = 41;
  f.seconds = 7;
  f.milliseconds = 999;
  EXPECT_EQ(BuildDisplayString(f, false, false), juce::String("09:41"));
  EXPECT_EQ(BuildDisplayString(f, true, false), juce::String("09:41:07"));
  EXPECT_EQ(BuildDisplayString(f, false, true), juce::String("09:41:99"));
  EXPECT_EQ(BuildDisplayString(f, true, true), juce::String("09:41:07:99"));
  f.milliseconds = 7;
  EXPECT_EQ(BuildDisplayString(f, false, true), juce::String("09:41:00"));
  f.milliseconds = 50;
  EXPECT_EQ(BuildDisplayString(f, false, true), juce::String("09:41:05"));
  f.hours = 123;
  f.minutes = 4;
  f.seconds = 5;
  EXPECT_EQ(BuildDisplayString(f, true, false), juce::String("123:04:05"));
}

namespace {

std::vector<GlyphPass> Layout(const char* text, ReadoutStyle style = {}, int64_t wall = 0) {
  return LayoutReadout(juce::String(text), style, wall);
}

}  // namespace

TEST(Readout, LayoutOfTheWorkedExamples) {
  const auto passes = Layout("12:34");
  ASSERT_EQ(passes.size(), 5u);
  const float left[5] = {-0.59f, -0.256667f, -0.005f, 0.256667f, 0.59f};
  const float count[5] = {1, 2, 10, 3, 4};
  const float addH[5] = {0, 0, 0.05f, 0, 0};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_NEAR(passes[i].left, left[i], 1e-6) << i;
    EXPECT_EQ(passes[i].count, count[i]) << i;
    EXPECT_FLOAT_EQ(passes[i].addH, addH[i]) << i;
  }
  EXPECT_FLOAT_EQ(GlyphPitch(5), 1.0f / 3.0f);

  const auto longer = Layout("12:34:56");
  ASSERT_EQ(longer.size(), 8u);
  const float left8[8] = {-0.675556f, -0.453333f, -0.287222f, -0.111111f,
                          0.111111f,  0.277222f,  0.453333f,  0.675556f};
  for (size_t i = 0; i < 8; ++i) EXPECT_NEAR(longer[i].left, left8[i], 1e-6) << i;
}

TEST(Readout, ZeroColonWidthSpansEvenly) {
  ReadoutStyle style;
  style.colonWidth = 0.0f;
  style.colonLeft = 0.5f;  // no separator offset
  const auto passes = Layout("12:34:56", style);
  const float e = GlyphPitch(8);
  ASSERT_EQ(passes.size(), 8u);
  EXPECT_NEAR(passes.front().left, -1.0f + e, 1e-6);
  EXPECT_NEAR(passes.back().left, 1.0f - e, 1e-6);
  for (size_t i = 1; i < passes.size(); ++i)
    EXPECT_NEAR(passes[i].left - passes[i - 1].left, e, 1e-6) << i;
}

TEST(Readout, ColonAnimations) {
  ReadoutStyle style;
  auto blackOfSeparators = [&](int64_t wall) {
    std::vector<float> values;
    for (const GlyphPass& pass : Layout("12:34:56", style, wall)) {
      if (pass.count <= 9) {
        EXPECT_TRUE(pass.setBlack);
        EXPECT_EQ(pass.black, 1.0f);
      } else {
        EXPECT_TRUE(pass.setBlack);
        values.push_back(pass.black);
      }
    }
    return values;
  };
  style.animation = 1.0f;  // Blink
  EXPECT_EQ(blackOfSeparators(31000), (std::vector<float>{1.0f, 1.0f}));
  EXPECT_EQ(blackOfSeparators(32999), (std::vector<float>{0.0f, 0.0f}));
  style.animation = 2.0f;  // Fade
  EXPECT_EQ(blackOfSeparators(40250), (std::vector<float>{0.75f, 0.75f}));
  EXPECT_EQ(blackOfSeparators(41000), (std::vector<float>{1.0f, 1.0f}));
  style.animation = 3.0f;  // Hide
  EXPECT_EQ(blackOfSeparators(41000), (std::vector<float>{0.0f, 0.0f}));

  // Show, and any value that is not one of the animations, leaves "black"
  // as the preceding digit set it.
  for (float show : {0.0f, 4.0f, -1.0f, 2.5f, 1.0001f, 2.9999f,
                     std::numeric_limits<float>::quiet_NaN()}) {
    style.animation = show;
    for (const GlyphPass& pass : Layout("12:34", style, 32000))
      EXPECT_EQ(pass.setBlack, pass.count <= 9) << show;
  }
}

namespace {

// The text is written into a fixed buffer: whatever the fields hold (a
// host's stray values, the extremes of int32), it must read as the padded
// numbers joined by colons.
TEST(Readout, TextOfAnyFieldsIsThePaddedNumbers) {
  const int32_t values[] = {0, 5, 99, 100, 12345, -1, -42, std::numeric_limits<int32_t>::max(),
                            std::numeric_limits<int32_t>::min()};
  for (int32_t v : values) {
    ClockFields f;
    f.hours = v;
    f.minutes = -v / 7;
    f.seconds = v / 3;
    f.milliseconds = v;
    const juce::String expected = PadNumber(f.hours, 2) + ":" + PadNumber(f.minutes, 2) + ":" +
                                  PadNumber(f.seconds, 2) + ":" +
                                  PadNumber(f.milliseconds, 3).substring(0, 2);
    EXPECT_EQ(BuildDisplayString(f, true, true), expected) << v;
  }
}

}  // namespace

// Host text reaches the font as characters: valid UTF-8 decoded, every byte
// of a sequence that is not a character (cut short, overlong, a surrogate,
// past U+10FFFF, a stray continuation) one replacement, controls a space.
TEST(Readout, HostTextIsSanitisedByteByByte) {
  const std::u32string r = U"\uFFFD";
  const struct {
    std::string bytes;
    std::u32string expected;
  } cases[] = {
      {"Doors open in", U"Doors open in"},
      {"T\xc3\xbcren \xe2\x80\x94 \xe9\x96\x8b \xf0\x9f\x8e\x89",
       U"T\u00fcren \u2014 \u958b \U0001F389"},
      {"a\xe2\x82", U"a" + r + r},                  // cut short
      {"\xc0\xaf\xe0\x80\xaf", r + r + r + r + r},  // overlong '/'
      {"\xed\xa0\x80", r + r + r},                  // a surrogate
      {"\xf4\x90\x80\x80", r + r + r + r},          // past U+10FFFF
      {"\x80x\xff", r + U"x" + r},
      {"line\nnext\ttab\x7f", U"line next tab "},
  };
  for (const auto& c : cases) {
    const juce::String text = tickora::SanitisedText(c.bytes);
    EXPECT_EQ(text, juce::String(juce::CharPointer_UTF32(
                        reinterpret_cast<const juce::juce_wchar*>(c.expected.c_str()))))
        << c.bytes;
  }
  EXPECT_EQ(tickora::SanitisedText(std::string(1000, 'x'), 200).length(), 200);
}
