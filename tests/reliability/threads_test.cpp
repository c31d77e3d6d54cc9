// SPDX-License-Identifier: GPL-3.0-or-later
// Hosts that render layers on worker threads call plugMain from several
// threads at once, each thread with its own context and its own instances.
// Each round starts from a process with no prototype (code 2), so that both
// threads race to make it, to add to the list of live instances and (in the
// first round) to load the GL entry points; each then draws every display
// type, rasterising its atlas while the other does too. Run under
// ThreadSanitizer by scripts/ci-tsan.sh.
#include "host/HeadlessHost.h"
#include "host/Ink.h"
#include "tickora/DisplayTypes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kThreads = 2;
constexpr int kRounds = 100;
constexpr uint32_t kSide = 96;

// Everything one thread reports; checked on the main thread, where gtest
// assertions belong.
struct ThreadResult {
  int refused = 0;   // instantiations that failed
  int blank = 0;     // frames without ink
  int failedCalls = 0;
};

// Spins until every thread has arrived, so that the calls after it start
// together.
class StartLine {
 public:
  explicit StartLine(int threads) : waiting(threads) {}
  void Arrive() {
    waiting.fetch_sub(1);
    while (waiting.load() > 0) std::this_thread::yield();
  }

 private:
  std::atomic<int> waiting;
};

void RenderRound(const host::PluginLibrary& plugin, host::GLContext& context, StartLine& start,
                 ThreadResult& result) {
  context.MakeCurrent();
  context.SetFramebufferSize(kSide, kSide);
  start.Arrive();
  // Both threads find no prototype and make one at once.
  if (plugin.NumParameters() != plugin.NumParameters()) ++result.failedCalls;
  FFInstanceID instance = plugin.Instantiate(kSide, kSide);
  if (instance == nullptr) {
    ++result.refused;
    return;
  }
  {
    // Global queries while the other thread may be making its instance.
    if (plugin.ParameterName(0) != "Type") ++result.failedCalls;
    for (const tickora::DisplayTypeDef& def : tickora::kDisplayTypes) {
      const float type = static_cast<float>(def.type);
      if (!plugin.SetParameter(instance, "Type", type)) ++result.failedCalls;
      context.Clear(0, 0, 0, 0);
      if (plugin.ProcessFrame(instance, context.Framebuffer()) != FF_SUCCESS) ++result.failedCalls;
      if (host::CountInk(context.ReadPixels()) == 0) ++result.blank;
    }
    if (plugin.Deinstantiate(instance) != FF_SUCCESS) ++result.failedCalls;
  }
}

TEST(Threads, FirstInstancesOnTwoThreadsAtOnce) {
  auto primary = host::GLContext::Create();
  ASSERT_TRUE(primary);
  const char* path = std::getenv("TICKORA_PLUGIN");
  ASSERT_NE(path, nullptr);
  auto plugin = host::PluginLibrary::Load(path);
  ASSERT_TRUE(plugin);

  // One unshared context per thread, made here and handed over: the
  // display is the primary's, so they must go before it does.
  std::vector<std::unique_ptr<host::GLContext>> contexts;
  for (int t = 0; t < kThreads; ++t) {
    contexts.push_back(primary->CreateSibling(false));
    ASSERT_TRUE(contexts.back());
  }
  primary->MakeCurrent();

  ThreadResult results[kThreads];
  for (int round = 0; round < kRounds; ++round) {
    plugin->Deinitialise();
    StartLine start(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
      threads.emplace_back([&, t] {
        RenderRound(*plugin, *contexts[static_cast<size_t>(t)], start, results[t]);
        host::GLContext::ReleaseCurrent();
      });
    for (std::thread& thread : threads) thread.join();
  }
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ(results[t].refused, 0) << "thread " << t;
    EXPECT_EQ(results[t].blank, 0) << "thread " << t;
    EXPECT_EQ(results[t].failedCalls, 0) << "thread " << t;
  }
  for (auto& context : contexts) {
    context->MakeCurrent();
    context.reset();
  }
  primary->MakeCurrent();
  plugin->Deinitialise();
}

}  // namespace
