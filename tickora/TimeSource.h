// SPDX-License-Identifier: GPL-3.0-or-later
// The wall clock, in milliseconds since 1970-01-01 00:00 UTC. Everything the
// clock shows is read through CurrentTimeMillis so that tests can substitute
// a fixed instant; end-to-end tests freeze the real clock instead.
#pragma once

#include <cstdint>

namespace tickora {

int64_t CurrentTimeMillis();

using TimeSourceFn = int64_t (*)();
// Null restores the real clock.
void SetTimeSource(TimeSourceFn source);

// The monotonic clock, in microseconds from an arbitrary origin: what the
// Timer and Stopwatch count on, so that a step of the wall clock (NTP, a
// clock change, a zone change) never moves them. Substitutable like the
// wall clock; null restores the real one.
int64_t MonotonicMicros();
void SetMonotonicSource(TimeSourceFn source);

}  // namespace tickora
