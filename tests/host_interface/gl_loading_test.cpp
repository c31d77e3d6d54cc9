// SPDX-License-Identifier: GPL-3.0-or-later
// Entry-point loading happens once per process: without a current context it
// fails, and that failure is final even once a context exists.
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

TEST(GLLoading, FailureWithoutContextIsFinal) {
  void* const allOnes = reinterpret_cast<void*>(UINTPTR_MAX);
  ASSERT_EQ(ffgl::glEntryPoints.GetString, nullptr);

  EXPECT_EQ(Instantiate(), allOnes);
  EXPECT_EQ(ffgl::glEntryPoints.GetString, nullptr);

  auto context = host::GLContext::Create();
  ASSERT_TRUE(context);
  EXPECT_EQ(Instantiate(), allOnes);
  EXPECT_EQ(ffgl::glEntryPoints.GetString, nullptr) << "no second loading attempt";

  // Global queries do not need GL.
  EXPECT_NE(plugMain(FF_GET_NUM_PARAMETERS, ffgl::MixedUInt(0), nullptr).UIntValue, FF_FAIL);
  // The context itself was usable: the refusal came from the earlier attempt.
  EXPECT_TRUE(ffgl::LoadGLEntryPoints());
}

}  // namespace
