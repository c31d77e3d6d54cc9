// SPDX-License-Identifier: GPL-3.0-or-later
// The clock the plug-in sees. Tickora reads the wall clock itself, as hosts
// expect of it, so to show a chosen moment (--start) or a sequence at its
// own pace the tool runs itself again with libfaketime preloaded, told to
// take every reading of the wall clock from a small file (FAKETIME_FMT=%s,
// FAKETIME_NO_CACHE=1). The tool rewrites that file before each frame;
// monotonic clocks stay real, for the GL driver's threads.
#pragma once

#include <cstdint>
#include <string>

namespace render {

// libfaketime: $TICKORA_FAKETIME when set, else where the build found it,
// else the usual library folders. Empty when none is there.
std::string FindFakeTimeLibrary();

// True in the process that RunUnderFakeClock started.
bool UnderFakeClock();

// Replaces this process with the same program and arguments under
// libfaketime, its clock standing at `start`. Returns only by throwing a
// run-time error (no libfaketime, no temporary folder, exec failed).
[[noreturn]] void RunUnderFakeClock(char* const* argv, int64_t start);

// The file behind the fake clock, in the process started by
// RunUnderFakeClock. Removed with its folder when this goes.
class FakeClock {
 public:
  // Throws a run-time error when the clock does not read the moment the
  // file holds (libfaketime not loaded, or loaded and ignored).
  FakeClock();
  ~FakeClock();
  FakeClock(const FakeClock&) = delete;
  FakeClock& operator=(const FakeClock&) = delete;

  int64_t Start() const { return start; }
  // Every later reading of the wall clock, in any thread, returns `moment`.
  void Set(int64_t moment);

 private:
  void RemoveFile();
  std::string file;
  int64_t start = 0;
};

}  // namespace render
