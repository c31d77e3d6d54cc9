// SPDX-License-Identifier: GPL-3.0-or-later
// The running time of a Timer or Stopwatch: banked while paused, counted on
// from the moment "Run" went on. Moments are monotonic microseconds, taken
// when the host changes "Run" or "Reset" (not at the next frame), so pauses
// lose and gain nothing whatever the frame rate.
#pragma once

#include <cstdint>

namespace tickora {

class RunClock {
 public:
  // Starts or stops at `now`; a second start or stop changes nothing.
  void Run(bool on, int64_t now);
  // Running since `moment` (which may lie before now), the time banked
  // before it kept.
  void RunSince(int64_t moment);
  // Back to zero at `now`, running or not as before.
  void Reset(int64_t now);
  int64_t ElapsedMicros(int64_t now) const;
  bool Running() const { return running; }

 private:
  bool running = false;
  int64_t since = 0;   // when the current run began
  int64_t banked = 0;  // microseconds run before it
};

}  // namespace tickora
