// SPDX-License-Identifier: GPL-3.0-or-later
// Entry-point loading succeeds once per process. Without a current context
// it fails and is tried again; with a context the plug-in cannot draw with,
// the failure is final. Each test runs in a process of its own (ctest).
#include "ffgl/FFGL.h"
#include "ffgl/GLEntryPoints.h"
#include "ffgl/Mixed.h"
#include "host/HeadlessHost.h"

#include <gtest/gtest.h>

extern "C" FFMixed plugMain(uint32_t functionCode, FFMixed inputValue, FFInstanceID instanceID);

namespace {

void* Instantiate() {
  FFGLViewportStruct viewport{0, 0, 64, 64};
  return plugMain(FF_INSTANTIATE_GL, ffgl::MixedPointer(&viewport), nullptr).PointerValue;
}

// A host that probes the plug-in before it has a context gets a refusal, and
// the next instantiation, with a context, loads the entry points after all.
TEST(GLLoading, FailureWithoutContextIsTriedAgain) {
  void* const allOnes = reinterpret_cast<void*>(UINTPTR_MAX);
  ASSERT_EQ(ffgl::glEntryPoints.GetString, nullptr) << "runs in a process of its own";

  EXPECT_EQ(Instantiate(), allOnes);
  EXPECT_EQ(ffgl::glEntryPoints.GetString, nullptr);

  auto context = host::GLContext::Create();
  ASSERT_TRUE(context);
  context->SetFramebufferSize(64, 64);
  void* instance = Instantiate();
  EXPECT_NE(instance, allOnes);
  EXPECT_NE(ffgl::glEntryPoints.GetString, nullptr);
  plugMain(FF_DEINSTANTIATE_GL, ffgl::MixedUInt(0), instance);
}

// A context the plug-in cannot draw with (OpenGL ES here) is a final answer.
TEST(GLLoading, FailureWithAContextIsFinal) {
  ASSERT_EQ(ffgl::glEntryPoints.GetString, nullptr) << "runs in a process of its own";
  void* const allOnes = reinterpret_cast<void*>(UINTPTR_MAX);
  {
    host::ContextRequest es;
    es.api = host::ContextRequest::Api::kEs;
    es.major = 3;
    es.minor = 0;
    auto context = host::GLContext::Create(es);
    ASSERT_TRUE(context);
    EXPECT_EQ(Instantiate(), allOnes);
  }
  auto context = host::GLContext::Create();
  ASSERT_TRUE(context);
  EXPECT_EQ(Instantiate(), allOnes);
  EXPECT_EQ(ffgl::glEntryPoints.GetString, nullptr) << "no second loading attempt";
  // The context itself was usable: the refusal came from the earlier attempt.
  EXPECT_TRUE(ffgl::LoadGLEntryPoints());
}

}  // namespace
