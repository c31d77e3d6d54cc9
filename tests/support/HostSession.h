// SPDX-License-Identifier: GPL-3.0-or-later
// One GL context and one loaded Tickora.so per test process, kept for the
// whole run the way a video host keeps them; tests reach the plug-in only
// through plugMain.
#pragma once

#include "host/HeadlessHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace testing_support {

struct HostSession {
  HostSession() {
    context = host::GLContext::Create();
    if (context) context->SetFramebufferSize(64, 64);
    const char* path = std::getenv("TICKORA_PLUGIN");
    if (path != nullptr) plugin = host::PluginLibrary::Load(path);
  }
  // A host ends with code 2 before it unloads the library.
  ~HostSession() {
    if (plugin) plugin->Deinitialise();
  }

  std::unique_ptr<host::GLContext> context;
  std::unique_ptr<host::PluginLibrary> plugin;
};

inline HostSession& Session() {
  static HostSession session;
  return session;
}

inline FFInstanceID AllOnesHandle() { return reinterpret_cast<FFInstanceID>(UINTPTR_MAX); }

class PluginHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HostSession& session = Session();
    ASSERT_TRUE(session.context) << "no OpenGL 4.1 core context";
    ASSERT_TRUE(session.plugin) << "TICKORA_PLUGIN does not name a loadable plug-in";
    context = session.context.get();
    plugin = session.plugin.get();
    context->BindFramebuffer();
  }

  // Instances still alive at the end of a test are deleted, so that one
  // failing test does not leave work for the next.
  void TearDown() override {
    for (FFInstanceID instance : instances) plugin->Deinstantiate(instance);
    instances.clear();
  }

  FFInstanceID NewInstance(uint32_t width = 64, uint32_t height = 64) {
    FFInstanceID instance = plugin->Instantiate(width, height);
    if (instance != nullptr) instances.push_back(instance);
    return instance;
  }

  uint32_t Delete(FFInstanceID instance) {
    instances.erase(std::remove(instances.begin(), instances.end(), instance), instances.end());
    return plugin->Deinstantiate(instance);
  }

  host::GLContext* context = nullptr;
  host::PluginLibrary* plugin = nullptr;
  std::vector<FFInstanceID> instances;
};

}  // namespace testing_support
