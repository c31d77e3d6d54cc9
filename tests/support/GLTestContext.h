// SPDX-License-Identifier: GPL-3.0-or-later
// For tests that link the plug-in's code statically: one current GL context
// per process and the plug-in's entry-point table loaded from it, as the
// dispatcher does before the first InitGL.
#pragma once

#include "ffgl/GLEntryPoints.h"
#include "host/HeadlessHost.h"

#include <gtest/gtest.h>

#include <memory>

namespace testing_support {

inline host::GLContext* SharedGLContext() {
  static std::unique_ptr<host::GLContext> context = [] {
    std::unique_ptr<host::GLContext> made = host::GLContext::Create();
    if (made && !ffgl::LoadGLEntryPoints()) made.reset();
    return made;
  }();
  return context.get();
}

class GLTest : public ::testing::Test {
 protected:
  void SetUp() override {
    context = SharedGLContext();
    ASSERT_NE(context, nullptr) << "no OpenGL 4.1 core context, or its entry points did not load";
    ASSERT_TRUE(context->SetFramebufferSize(64, 64));
  }

  host::GLContext* context = nullptr;
};

// The vertex stage every quad-drawn program of the plug-in uses: position at
// location 0, texture coordinate at location 1.
constexpr const char* kQuadVertexShader = R"(#version 410 core
layout( location = 0 ) in vec4 vPosition;
layout( location = 1 ) in vec2 vUV;
out vec2 uv;
void main() {
  gl_Position = vPosition;
  uv = vUV;
}
)";

constexpr const char* kUvFragmentShader = R"(#version 410 core
in vec2 uv;
out vec4 fragColor;
void main() { fragColor = vec4(uv, 0.0, 1.0); }
)";

}  // namespace testing_support
