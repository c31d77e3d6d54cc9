// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/FrameWriters.h"

#include "render/PngFile.h"

#include <algorithm>

namespace render {

FrameWriters::FrameWriters(int threads, const Background& frameBackground)
    : background(frameBackground), limit(static_cast<size_t>(std::max(threads, 0)) * 2) {
  for (int i = 0; i < threads; ++i) workers.emplace_back([this] { Work(); });
}

FrameWriters::~FrameWriters() {
  {
    std::lock_guard<std::mutex> lock(mutex);
    closing = true;
    queue.clear();
  }
  changed.notify_all();
  for (std::thread& worker : workers) worker.join();
}

int FrameWriters::DefaultThreads() {
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(cores, 1, 4);
}

void FrameWriters::WriteNow(Job& job) {
  Composite(background, job.frame);
  WritePng(job.frame, job.path);
}

void FrameWriters::Write(host::Pixels frame, const std::string& path) {
  Job job{std::move(frame), path};
  if (workers.empty()) {
    WriteNow(job);
    ++written;
    return;
  }
  std::unique_lock<std::mutex> lock(mutex);
  changed.wait(lock, [this] { return queue.size() < limit || failure; });
  ThrowFailure();
  queue.push_back(std::move(job));
  changed.notify_all();
}

void FrameWriters::Finish() {
  std::unique_lock<std::mutex> lock(mutex);
  changed.wait(lock, [this] { return (queue.empty() && active == 0) || failure; });
  ThrowFailure();
}

int FrameWriters::Written() {
  std::lock_guard<std::mutex> lock(mutex);
  return written;
}

void FrameWriters::ThrowFailure() {
  if (failure) std::rethrow_exception(failure);
}

void FrameWriters::Work() {
  std::unique_lock<std::mutex> lock(mutex);
  for (;;) {
    changed.wait(lock, [this] { return closing || !queue.empty(); });
    if (closing) return;
    Job job = std::move(queue.front());
    queue.pop_front();
    ++active;
    changed.notify_all();  // room in the queue
    lock.unlock();
    std::exception_ptr error;
    try {
      WriteNow(job);
    } catch (...) {
      error = std::current_exception();
    }
    lock.lock();
    --active;
    if (error) {
      if (!failure) failure = error;
      queue.clear();
    } else {
      ++written;
    }
    changed.notify_all();
  }
}

}  // namespace render
