// SPDX-License-Identifier: GPL-3.0-or-later
// The frames of a sequence composited, encoded and written on worker
// threads while the next ones are drawn: at 1920x1080 encoding a PNG takes
// longer than drawing and reading back the frame on llvmpipe (measured on a
// 2-core machine: about 105 ms against 85 ms). There, 60 frames took 11 s
// written in turn, 8.2 s with one writer thread and 7.4 s with two. With no
// threads everything happens in the caller, in order.
#pragma once

#include "host/HeadlessHost.h"
#include "render/Background.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace render {

class FrameWriters {
 public:
  FrameWriters(int threads, const Background& background);
  // Drops what is still queued (after a failure) and joins the threads.
  ~FrameWriters();
  FrameWriters(const FrameWriters&) = delete;
  FrameWriters& operator=(const FrameWriters&) = delete;

  // Queues a frame for `path`, waiting while two per thread are queued
  // already (frames are large). Throws the first failure of any write.
  void Write(host::Pixels frame, const std::string& path);
  // Waits until every queued frame is written; throws the first failure.
  void Finish();
  // Frames written so far.
  int Written();

  // Threads worth using on this machine: one a core, at most 4 (each holds
  // frames in memory, and the GL driver's threads want the cores too).
  static int DefaultThreads();

 private:
  struct Job {
    host::Pixels frame;
    std::string path;
  };
  void WriteNow(Job& job);
  void Work();
  void ThrowFailure();

  Background background;
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<Job> queue;
  size_t limit = 0;
  int active = 0;   // jobs taken by a worker and not yet done
  int written = 0;
  bool closing = false;
  std::exception_ptr failure;
  std::vector<std::thread> workers;
};

}  // namespace render
