// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickora/RunClock.h"

#include <algorithm>

namespace tickora {

void RunClock::Run(bool on, int64_t now) {
  if (on == running) return;
  if (on) {
    since = now;
  } else {
    banked += std::max<int64_t>(now - since, 0);
  }
  running = on;
}

void RunClock::RunSince(int64_t moment) {
  since = moment;
  running = true;
}

void RunClock::Reset(int64_t now) {
  banked = 0;
  since = now;
}

int64_t RunClock::ElapsedMicros(int64_t now) const {
  return banked + (running ? std::max<int64_t>(now - since, 0) : 0);
}

}  // namespace tickora
