// SPDX-License-Identifier: GPL-3.0-or-later
// Moments of the wall clock as nanoseconds since the epoch: --start read in
// local time, the moment of each frame of a sequence, and the text that
// tells libfaketime which moment to show.
#pragma once

#include <cstdint>
#include <string>

namespace render {

// "YYYY-MM-DD HH:MM:SS" with an optional fraction of 1 to 9 digits, read in
// the local time zone (TZ). Years run from 1970 to 2200. A time that the
// change to daylight saving skips moves forward by the hour, as clocks do.
// Throws a usage error naming the text otherwise.
int64_t ParseLocalMoment(const std::string& text);

// The wall clock now.
int64_t CurrentMoment();

// start + index / fps seconds, to the nanosecond: each frame's moment is
// computed from the start, so rounding never accumulates along a sequence.
int64_t FrameMoment(int64_t start, int index, double fps);

// "1796724599.850000500": seconds since the epoch for FAKETIME_FMT=%s.
// libfaketime reads the fraction through a double, which would turn .85
// into .849999999 and show the hundredths one early; half a microsecond on
// top keeps every whole microsecond and millisecond exact.
std::string FakeTimeText(int64_t moment);

// Reads FakeTimeText back (the half microsecond dropped); false when the
// text is not of that form.
bool ParseFakeTimeText(const std::string& text, int64_t* moment);

// "2026-12-31 23:59:50.000" in local time, for messages.
std::string LocalText(int64_t moment);

}  // namespace render
