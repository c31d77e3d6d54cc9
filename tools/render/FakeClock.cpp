// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/FakeClock.h"

#include "render/ClockMoment.h"
#include "render/ToolError.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace render {
namespace {

// Set only for the re-run process: where its clock file is.
constexpr const char* kClockFileVariable = "TICKORA_RENDER_CLOCK_FILE";

bool IsFile(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('/')); }

// Written beside the file and renamed over it: a reading in another thread
// sees the old moment or the new one, never a half-written line.
void WriteMoment(const std::string& file, int64_t moment) {
  const std::string text = FakeTimeText(moment) + "\n";
  const std::string next = file + ".next";
  const int fd = open(next.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  const bool written =
      fd >= 0 && write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  if (fd >= 0) close(fd);
  if (!written || rename(next.c_str(), file.c_str()) != 0)
    throw RunTimeError("cannot set the clock in '" + file + "': " + std::strerror(errno));
}

std::vector<std::string> FakeClockEnvironment(const std::string& library,
                                              const std::string& file) {
  std::vector<std::string> environment;
  std::string preload = library;
  std::string asanOptions;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    if (entry.rfind("FAKETIME", 0) == 0 || entry.rfind(kClockFileVariable, 0) == 0) continue;
    if (entry.rfind("ASAN_OPTIONS=", 0) == 0) {
      asanOptions = entry.substr(13);
      continue;
    }
    if (entry.rfind("LD_PRELOAD=", 0) == 0) {
      // Whatever was preloaded stays; libfaketime comes first, once.
      const std::string others = entry.substr(11);
      if (others.find(library) != std::string::npos) preload = others;
      else if (!others.empty()) preload += ":" + others;
      continue;
    }
    environment.push_back(entry);
  }
  environment.push_back("LD_PRELOAD=" + preload);
  // A sanitizer build refuses to start when a library is preloaded ahead of
  // its runtime; libfaketime must be, and does the sanitizer no harm.
  if (asanOptions.find("verify_asan_link_order") == std::string::npos)
    asanOptions += std::string(asanOptions.empty() ? "" : ":") + "verify_asan_link_order=0";
  environment.push_back("ASAN_OPTIONS=" + asanOptions);
  environment.push_back("FAKETIME_TIMESTAMP_FILE=" + file);
  environment.push_back("FAKETIME_NO_CACHE=1");
  environment.push_back("FAKETIME_FMT=%s");
  // The monotonic clock follows the moments too: a running Timer or
  // Stopwatch advances exactly one frame period per frame, as the wall
  // clock does. (Between two moments both stand still; nothing the plug-in
  // or the driver does waits for them to move.)
  environment.push_back("FAKETIME_DONT_FAKE_MONOTONIC=0");
  environment.push_back(std::string(kClockFileVariable) + "=" + file);
  return environment;
}

}  // namespace

std::string FindFakeTimeLibrary() {
  if (const char* chosen = std::getenv("TICKORA_FAKETIME"))
    return IsFile(chosen) ? chosen : std::string();
#ifdef TICKORA_FAKETIME_LIBRARY
  if (IsFile(TICKORA_FAKETIME_LIBRARY)) return TICKORA_FAKETIME_LIBRARY;
#endif
  for (const char* folder : {"/usr/lib/x86_64-linux-gnu/faketime", "/usr/lib/aarch64-linux-gnu/faketime",
                             "/usr/lib/faketime", "/usr/lib64/faketime", "/usr/local/lib/faketime"}) {
    const std::string path = std::string(folder) + "/libfaketime.so.1";
    if (IsFile(path)) return path;
  }
  return {};
}

bool UnderFakeClock() { return std::getenv(kClockFileVariable) != nullptr; }

void RunUnderFakeClock(char* const* argv, int64_t start) {
  const std::string library = FindFakeTimeLibrary();
  if (library.empty()) {
    const char* chosen = std::getenv("TICKORA_FAKETIME");
    throw RunTimeError(chosen != nullptr
                           ? "TICKORA_FAKETIME names no library file: '" + std::string(chosen) + "'"
                           : "sequences and --start need libfaketime to set the plug-in's clock "
                             "(Debian: apt-get install libfaketime), and it is not installed");
  }
  const char* tmp = std::getenv("TMPDIR");
  std::string folder = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
                       "/tickora-render-XXXXXX";
  if (mkdtemp(&folder[0]) == nullptr)
    throw RunTimeError("cannot make a folder for the clock in '" + FolderOf(folder) +
                       "': " + std::strerror(errno));
  const std::string file = folder + "/clock";
  std::vector<std::string> environment = FakeClockEnvironment(library, file);
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(&entry[0]);
  envp.push_back(nullptr);
  try {
    WriteMoment(file, start);
  } catch (...) {
    rmdir(folder.c_str());
    throw;
  }
  execve("/proc/self/exe", argv, envp.data());
  const int error = errno;
  unlink(file.c_str());
  rmdir(folder.c_str());
  throw RunTimeError("cannot run again under libfaketime: " + std::string(std::strerror(error)));
}

FakeClock::FakeClock() {
  const char* path = std::getenv(kClockFileVariable);
  file = path != nullptr ? path : "";
  std::ifstream in(file);
  std::string text;
  std::getline(in, text);
  if (!ParseFakeTimeText(text, &start)) {
    RemoveFile();
    throw RunTimeError("the clock file '" + file + "' holds no moment");
  }
  // Under the fake clock every reading is the file's moment (plus the half
  // microsecond); a real clock has moved on by far more since the exec.
  const int64_t offset = CurrentMoment() - start;
  if (offset < 0 || offset >= 1000) {
    const char* preload = std::getenv("LD_PRELOAD");
    RemoveFile();
    throw RunTimeError("libfaketime (" + std::string(preload != nullptr ? preload : "") +
                       ") did not take over the clock");
  }
}

FakeClock::~FakeClock() { RemoveFile(); }

void FakeClock::RemoveFile() {
  // Only ever the file and folder RunUnderFakeClock made.
  if (file.size() < 6 || file.compare(file.size() - 6, 6, "/clock") != 0) return;
  unlink(file.c_str());
  unlink((file + ".next").c_str());
  rmdir(FolderOf(file).c_str());
}

void FakeClock::Set(int64_t moment) { WriteMoment(file, moment); }

}  // namespace render
